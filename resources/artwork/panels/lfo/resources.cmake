# The lfo panel's icon, drawn in the panel's left gutter.
plimsar_add_artwork(lfoZip lfo.svg)
