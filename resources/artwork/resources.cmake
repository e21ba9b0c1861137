# The editor's artwork: readable SVG sources, one folder per archive (icons, help pages, header
# buttons, one icon per module panel). Each folder's resources.cmake registers its archive with
# plimsar_add_artwork. On the way in, lettering becomes outlines (tools/svg_lettering.py), so the
# artwork looks the same on every machine, whatever fonts it has.

# The lettering tool reads the fonts with Debian's python3-fonttools, so it runs on
# PLIMSAR_SYSTEM_PYTHON.
set(PLIMSAR_LETTERING_TOOL ${CMAKE_SOURCE_DIR}/tools/svg_lettering.py)
# A drawing may borrow another one (a help page shows the editor's icons), so each is lettered
# again when any source changes; that takes a moment only.
file(GLOB_RECURSE PLIMSAR_ARTWORK_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.svg)

# plimsar_add_artwork(<symbol> <file.svg>...): the SVG files of the calling folder, lettered and
# packed in the order given into the archive AlxEmbeddedData::<symbol>.
function(plimsar_add_artwork symbol)
  set(out_dir ${PLIMSAR_RESOURCE_DIR}/artwork/${symbol})
  file(MAKE_DIRECTORY ${out_dir})
  set(entries "")
  foreach(name IN LISTS ARGN)
    set(source ${CMAKE_CURRENT_LIST_DIR}/${name})
    add_custom_command(OUTPUT ${out_dir}/${name}
      COMMAND ${PLIMSAR_SYSTEM_PYTHON} ${PLIMSAR_LETTERING_TOOL} ${source} ${out_dir}/${name}
      DEPENDS ${PLIMSAR_LETTERING_TOOL} ${PLIMSAR_ARTWORK_SOURCES}
      COMMENT "Lettering ${name}"
      VERBATIM)
    list(APPEND entries ${name}=${out_dir}/${name})
  endforeach()
  plimsar_add_archive(${symbol} ENTRIES ${entries})
endfunction()

file(GLOB PLIMSAR_ARTWORK_LISTS CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_LIST_DIR}/*/resources.cmake ${CMAKE_CURRENT_LIST_DIR}/panels/*/resources.cmake)
list(SORT PLIMSAR_ARTWORK_LISTS)
foreach(artwork_list IN LISTS PLIMSAR_ARTWORK_LISTS)
  include(${artwork_list})
endforeach()
