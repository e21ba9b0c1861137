# The groove panel's icon, drawn in the panel's left gutter.
plimsar_add_archive(grooveZip ENTRIES groove.svg=${CMAKE_CURRENT_LIST_DIR}/groove.svg)
