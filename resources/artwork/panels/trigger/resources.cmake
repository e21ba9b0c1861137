# The trigger panel's icon, drawn in the panel's left gutter.
plimsar_add_archive(triggerZip ENTRIES trigger.svg=${CMAKE_CURRENT_LIST_DIR}/trigger.svg)
