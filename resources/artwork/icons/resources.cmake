# Small images of the parameter controls and the help panel, and the maker's logo.
plimsar_add_artwork(iconZip collapse.svg decrease.svg expand.svg increase.svg modulate.svg mousewheel.svg
                    radio1.svg radio2.svg radio3.svg radio4.svg radio5.svg vendorlogo.svg)
