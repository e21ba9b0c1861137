# The factory bank: the readable program table becomes a bank preset file at build time, packed
# as the first (and only) entry of the archive the root loads at start-up.

set(PLIMSAR_FACTORY_TOOL ${CMAKE_SOURCE_DIR}/tools/make_factory_bank.py)
set(PLIMSAR_FACTORY_TABLE ${CMAKE_CURRENT_LIST_DIR}/programs.txt)

add_custom_command(OUTPUT ${PLIMSAR_RESOURCE_DIR}/factory.fxb
  COMMAND ${Python3_EXECUTABLE} ${PLIMSAR_FACTORY_TOOL} ${PLIMSAR_FACTORY_TABLE} ${PLIMSAR_RESOURCE_DIR}/factory.fxb
  DEPENDS ${PLIMSAR_FACTORY_TOOL} ${PLIMSAR_FACTORY_TABLE}
  COMMENT "Writing factory.fxb"
  VERBATIM)

plimsar_add_archive(factoryZip
  ENTRIES factory.fxb=${PLIMSAR_RESOURCE_DIR}/factory.fxb
  DEPENDS ${PLIMSAR_FACTORY_TOOL} ${PLIMSAR_FACTORY_TABLE})
