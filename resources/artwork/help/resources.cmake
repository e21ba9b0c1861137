# The about pages, the help pages and the application logo.
plimsar_add_artwork(helpZip about.svg aboutvst.svg aboutvstasio.svg applogo.svg help1.svg help2.svg help3.svg)
