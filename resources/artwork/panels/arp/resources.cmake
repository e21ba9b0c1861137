# The arp panel's icon, drawn in the panel's left gutter.
plimsar_add_archive(arpZip ENTRIES chord.svg=${CMAKE_CURRENT_LIST_DIR}/chord.svg)
