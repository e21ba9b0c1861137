# The arp panel's icon, drawn in the panel's left gutter.
plimsar_add_artwork(arpZip chord.svg)
