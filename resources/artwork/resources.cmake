# The editor's artwork: readable SVG sources, one folder per archive (icons, help pages, header
# buttons, one icon per module panel). Each folder's resources.cmake registers its archive.
file(GLOB_RECURSE PLIMSAR_ARTWORK_LISTS CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_LIST_DIR}/*/resources.cmake)
list(SORT PLIMSAR_ARTWORK_LISTS)
foreach(artwork_list IN LISTS PLIMSAR_ARTWORK_LISTS)
  include(${artwork_list})
endforeach()
