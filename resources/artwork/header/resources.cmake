# Images of the header's buttons: file menu, help menu, start and stop.
plimsar_add_artwork(headerZip disk.svg info.svg start.svg stop.svg)
