# vornel-tool starts without the libraries of the synthesizer, the sound and MIDI ports, the
# network and the window system: the commands that need them live in vornel-tool-full (see
# tools/CMakeLists.txt), which vornel-tool hands them to.
find_program(READELF readelf)
if(NOT READELF)
  message(STATUS "readelf is missing: the libraries are not checked")
  return()
endif()
execute_process(COMMAND "${READELF}" -d "${TOOL}" OUTPUT_VARIABLE dynamic RESULT_VARIABLE rc)
string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*\\[[^]]+\\]" needed "${dynamic}")
if(NOT rc EQUAL 0 OR NOT needed)
  message(FATAL_ERROR "readelf: rc=${rc} ${dynamic}")
endif()
foreach(entry ${needed})
  if(entry MATCHES "libfluidsynth|libSDL2|librtmidi|libasound|libcurl|libwx_|libgtk")
    message(FATAL_ERROR "vornel-tool loads ${entry}: move the command that needs it to tools/vornel-tool/full/")
  endif()
endforeach()

# A command of the full program, given to vornel-tool, runs there.
execute_process(COMMAND "${TOOL}" ribbon OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "&Open")
  message(FATAL_ERROR "ribbon through vornel-tool: rc=${rc}")
endif()
