# The built-in test synth's sound bank: a wavetable description packed as entry 0 of a zip.
plimsar_add_archive(soundBankZip ENTRIES _metadata.xml=${CMAKE_CURRENT_LIST_DIR}/_metadata.xml)
