# The synth panel's icon, drawn in the panel's left gutter.
plimsar_add_archive(synthZip ENTRIES synth.svg=${CMAKE_CURRENT_LIST_DIR}/synth.svg)
