# The one library that holds plimsar's code together with the JUCE modules it uses, so JUCE
# compiles once per build; applications, tools, tests and benchmarks link it.

file(GLOB_RECURSE PLIMSAR_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h)
# The application entry point belongs to the standalone executable only, the plug-in entry point to
# the plug-ins.
list(FILTER PLIMSAR_SOURCES EXCLUDE REGEX "/src/standalone/main\\.cpp$")
list(FILTER PLIMSAR_SOURCES EXCLUDE REGEX "/src/plugin/")

add_library(plimsar_core STATIC ${PLIMSAR_SOURCES} ${PLIMSAR_EMBED_SOURCE} ${PLIMSAR_EMBED_HEADER})

target_include_directories(plimsar_core PUBLIC ${CMAKE_SOURCE_DIR}/src ${PLIMSAR_RESOURCE_DIR})

target_compile_definitions(plimsar_core PUBLIC
  JUCE_WEB_BROWSER=0
  JUCE_USE_CURL=0
  JUCE_USE_FLAC=0
  JUCE_USE_OGGVORBIS=0
  JUCE_USE_MP3AUDIOFORMAT=0
  JUCE_DISPLAY_SPLASH_SCREEN=0
  JUCE_JACK=1
  JUCE_ALSA=1
  JUCE_VST3_CAN_REPLACE_VST2=0
  # Hosting of VST3 and LV2 plug-ins, for the host check that loads the built plug-ins.
  JUCE_PLUGINHOST_VST3=1
  JUCE_PLUGINHOST_LV2=1
  JUCE_MODAL_LOOPS_PERMITTED=1
  JUCE_STANDALONE_APPLICATION=0
  JUCE_JACK_CLIENT_NAME="plimsar"
  JUCE_APPLICATION_NAME_STRING="plimsar"
  JUCE_APPLICATION_VERSION_STRING="1.5.0")

target_link_libraries(plimsar_core
  PRIVATE
    juce::juce_audio_utils
    juce::juce_audio_processors
    juce::juce_audio_devices
    juce::juce_audio_formats
    juce::juce_gui_extra
    juce::juce_recommended_config_flags
  PUBLIC
    juce::pkgconfig_JUCE_IMG_LINUX_DEPS
    kissfft::kissfft-float)

# The JUCE modules are compiled into this library; whoever links it needs the same module
# include paths and configuration, so re-export them.
target_include_directories(plimsar_core INTERFACE
  $<TARGET_PROPERTY:plimsar_core,INCLUDE_DIRECTORIES>)
target_compile_definitions(plimsar_core INTERFACE
  $<TARGET_PROPERTY:plimsar_core,COMPILE_DEFINITIONS>)

# JUCE's recommended warnings apply to our own sources; JUCE's sources keep their defaults.
get_target_property(PLIMSAR_WARNING_FLAGS juce::juce_recommended_warning_flags INTERFACE_COMPILE_OPTIONS)
if(PLIMSAR_WERROR)
  list(APPEND PLIMSAR_WARNING_FLAGS -Werror)
endif()
set(PLIMSAR_WARNING_FLAGS ${PLIMSAR_WARNING_FLAGS} CACHE INTERNAL "warning flags for plimsar's own code")
set_source_files_properties(${PLIMSAR_SOURCES} PROPERTIES COMPILE_OPTIONS "${PLIMSAR_WARNING_FLAGS}")

# Under the fuzzer's instrumentation JUCE's sources count coverage but do not report their
# comparisons to the fuzzer: tracing every character compared by its string, XML and MIDI code cost
# about a third of each input's time, while the dictionaries of the fuzz targets already name the
# tokens those comparisons look for. Our own code keeps its comparisons traced, except in the JUCE
# header functions it compiles in (fuzz/coverage-ignore.txt): the linker may keep our traced copy of
# one, and string and array helpers are the hottest code of every parser. The modules of the
# editor and of plug-in hosting, which no fuzz target reaches, count no coverage at all: libFuzzer
# scans and clears every counter after every input, and theirs are most of them.
if(PLIMSAR_SANITIZE MATCHES "fuzzer")
  set(PLIMSAR_JUCE_SOURCES)
  foreach(module juce_core juce_events juce_data_structures juce_graphics juce_gui_basics juce_gui_extra
                 juce_audio_basics juce_audio_devices juce_audio_formats juce_audio_processors juce_audio_utils)
    get_target_property(module_sources ${module} INTERFACE_SOURCES)
    list(FILTER module_sources INCLUDE REGEX "\\.(c|cpp)$")
    list(APPEND PLIMSAR_JUCE_SOURCES ${module_sources})
  endforeach()
  set(PLIMSAR_JUCE_UNREACHED ${PLIMSAR_JUCE_SOURCES})
  list(FILTER PLIMSAR_JUCE_UNREACHED INCLUDE REGEX "/juce_(graphics|gui_basics|gui_extra|audio_utils|audio_processors_ara|audio_processors_lv2_libs)\\.cpp$")
  list(REMOVE_ITEM PLIMSAR_JUCE_SOURCES ${PLIMSAR_JUCE_UNREACHED})
  set_source_files_properties(${PLIMSAR_JUCE_SOURCES} PROPERTIES COMPILE_OPTIONS -fno-sanitize-coverage=trace-cmp)
  set_source_files_properties(${PLIMSAR_JUCE_UNREACHED} PROPERTIES
    COMPILE_OPTIONS -fno-sanitize-coverage=inline-8bit-counters,indirect-calls,trace-cmp,pc-table)
  set(PLIMSAR_FUZZ_OWN_FLAGS -fsanitize-coverage-ignorelist=${CMAKE_SOURCE_DIR}/fuzz/coverage-ignore.txt)
  set_property(SOURCE ${PLIMSAR_SOURCES} APPEND PROPERTY COMPILE_OPTIONS ${PLIMSAR_FUZZ_OWN_FLAGS})
endif()

# plimsar_own_code(<target>): applies the warning flags to every source of a target that is ours.
function(plimsar_own_code target)
  target_compile_options(${target} PRIVATE ${PLIMSAR_WARNING_FLAGS})
endfunction()
