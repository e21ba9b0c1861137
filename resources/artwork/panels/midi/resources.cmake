# The midi panel's icon, drawn in the panel's left gutter.
plimsar_add_artwork(midiZip midi.svg)
