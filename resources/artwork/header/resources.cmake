# Images of the header's buttons: file menu, help menu, start and stop.
set(dir ${CMAKE_CURRENT_LIST_DIR})
plimsar_add_archive(headerZip
  ENTRIES disk.svg=${dir}/disk.svg
          info.svg=${dir}/info.svg
          start.svg=${dir}/start.svg
          stop.svg=${dir}/stop.svg)
