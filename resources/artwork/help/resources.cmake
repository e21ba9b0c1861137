# The about pages, the help pages and the application logo.
set(dir ${CMAKE_CURRENT_LIST_DIR})
plimsar_add_archive(helpZip
  ENTRIES about.svg=${dir}/about.svg
          aboutvst.svg=${dir}/aboutvst.svg
          aboutvstasio.svg=${dir}/aboutvstasio.svg
          applogo.svg=${dir}/applogo.svg
          help1.svg=${dir}/help1.svg
          help2.svg=${dir}/help2.svg
          help3.svg=${dir}/help3.svg)
