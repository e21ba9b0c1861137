# The lfo panel's icon, drawn in the panel's left gutter.
plimsar_add_archive(lfoZip ENTRIES lfo.svg=${CMAKE_CURRENT_LIST_DIR}/lfo.svg)
