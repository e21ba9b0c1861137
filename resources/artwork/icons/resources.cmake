# Small images of the parameter controls and the help panel, and the maker's logo.
set(dir ${CMAKE_CURRENT_LIST_DIR})
plimsar_add_archive(iconZip
  ENTRIES collapse.svg=${dir}/collapse.svg
          decrease.svg=${dir}/decrease.svg
          expand.svg=${dir}/expand.svg
          increase.svg=${dir}/increase.svg
          modulate.svg=${dir}/modulate.svg
          mousewheel.svg=${dir}/mousewheel.svg
          radio1.svg=${dir}/radio1.svg
          radio2.svg=${dir}/radio2.svg
          radio3.svg=${dir}/radio3.svg
          radio4.svg=${dir}/radio4.svg
          radio5.svg=${dir}/radio5.svg
          vendorlogo.svg=${dir}/vendorlogo.svg)
