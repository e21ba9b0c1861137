# The midi panel's icon, drawn in the panel's left gutter.
plimsar_add_archive(midiZip ENTRIES midi.svg=${CMAKE_CURRENT_LIST_DIR}/midi.svg)
