# Embedded resources: readable sources under resources/ are turned into the archives the
# program carries, at build time. Each archive is registered with plimsar_add_archive and
# ends up as a byte array in the namespace AlxEmbeddedData (header AlxEmbeddedData.h).

set(PLIMSAR_RESOURCE_DIR ${CMAKE_BINARY_DIR}/resources)
file(MAKE_DIRECTORY ${PLIMSAR_RESOURCE_DIR})
set_property(GLOBAL PROPERTY PLIMSAR_EMBEDDED "")

# plimsar_add_archive(<symbol> ENTRIES <entry>=<file> ... [DEPENDS <files or targets>...])
# Packs the files, in the order given, into <symbol>.zip and embeds it as AlxEmbeddedData::<symbol>.
function(plimsar_add_archive symbol)
  cmake_parse_arguments(ARG "" "" "ENTRIES;DEPENDS" ${ARGN})
  set(zip ${PLIMSAR_RESOURCE_DIR}/${symbol}.zip)
  set(files "")
  foreach(spec IN LISTS ARG_ENTRIES)
    string(REGEX REPLACE "^[^=]*=" "" file "${spec}")
    list(APPEND files ${file})
  endforeach()
  add_custom_command(OUTPUT ${zip}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/pack_zip.py ${zip} ${ARG_ENTRIES}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/pack_zip.py ${files} ${ARG_DEPENDS}
    COMMENT "Packing ${symbol}.zip"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY PLIMSAR_EMBEDDED "${symbol}=${zip}")
endfunction()

file(GLOB PLIMSAR_RESOURCE_LISTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*/resources.cmake)
foreach(list_file IN LISTS PLIMSAR_RESOURCE_LISTS)
  include(${list_file})
endforeach()

get_property(PLIMSAR_EMBEDDED GLOBAL PROPERTY PLIMSAR_EMBEDDED)
set(PLIMSAR_EMBED_HEADER ${PLIMSAR_RESOURCE_DIR}/AlxEmbeddedData.h)
set(PLIMSAR_EMBED_SOURCE ${PLIMSAR_RESOURCE_DIR}/AlxEmbeddedData.cpp)
set(embedded_files "")
foreach(spec IN LISTS PLIMSAR_EMBEDDED)
  string(REGEX REPLACE "^[^=]*=" "" file "${spec}")
  list(APPEND embedded_files ${file})
endforeach()
add_custom_command(OUTPUT ${PLIMSAR_EMBED_HEADER} ${PLIMSAR_EMBED_SOURCE}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/embed_files.py
          ${PLIMSAR_EMBED_HEADER} ${PLIMSAR_EMBED_SOURCE} AlxEmbeddedData ${PLIMSAR_EMBEDDED}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/embed_files.py ${embedded_files}
  COMMENT "Embedding resource archives"
  VERBATIM)
