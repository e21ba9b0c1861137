# The built-in demo sequences: each note table becomes a Standard MIDI File at build time, and
# both are packed, lead first, into the archive the MIDI input's sequencer loads.

set(PLIMSAR_DEMO_MIDI_TOOL ${CMAKE_SOURCE_DIR}/tools/make_demo_midi.py)
set(PLIMSAR_DEMO_MIDI_TABLES "")

foreach(demo 01-lead 02-bass)
  set(table ${CMAKE_CURRENT_LIST_DIR}/${demo}.txt)
  add_custom_command(OUTPUT ${PLIMSAR_RESOURCE_DIR}/${demo}.mid
    COMMAND ${Python3_EXECUTABLE} ${PLIMSAR_DEMO_MIDI_TOOL} ${table} ${PLIMSAR_RESOURCE_DIR}/${demo}.mid
    DEPENDS ${PLIMSAR_DEMO_MIDI_TOOL} ${table}
    COMMENT "Writing ${demo}.mid"
    VERBATIM)
  list(APPEND PLIMSAR_DEMO_MIDI_TABLES ${table})
endforeach()

plimsar_add_archive(demoMidiZip
  ENTRIES 01-lead.mid=${PLIMSAR_RESOURCE_DIR}/01-lead.mid
          02-bass.mid=${PLIMSAR_RESOURCE_DIR}/02-bass.mid
  DEPENDS ${PLIMSAR_DEMO_MIDI_TOOL} ${PLIMSAR_DEMO_MIDI_TABLES})
