# vornel-tool midi and midi-import, checked with an independent MIDI reader (Python's mido):
# the writer's golden file has the expected events; every file of the MIDI corpus imports or
# fails with the system's message followed by the file and the reason, never a crash or a
# hang, and for the format 0 and 1 files
# that mido reads the imported section has as many notes as mido counts note-ons; a C major
# scale imported and written again keeps its notes.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
find_program(PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(reference "${SOURCE_DIR}/tests/tool/midi_reference.py")

execute_process(COMMAND "${PYTHON}" "${reference}" golden "${SOURCE_DIR}/tests/midi/golden/air.mid.hex"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the golden file as mido reads it: ${err}")
endif()

file(GLOB files "${CORPUS_DIR}/midi/*")
list(LENGTH files count)
if(count LESS 60)
  message(FATAL_ERROR "the MIDI corpus was not found in ${CORPUS_DIR}/midi (${count} files)")
endif()
execute_process(COMMAND "${PYTHON}" "${reference}" counts "${WORK_DIR}" ${files} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the reference counts failed: ${err}")
endif()

set(messages "Sorry: I cannot read this file" "No data available for import in selected tracks" "No data was imported")
set(failures "")
foreach(path ${files})
  get_filename_component(name "${path}" NAME)
  execute_process(COMMAND "${TOOL}" midi-import "${path}" "${WORK_DIR}/${name}.btxml"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc TIMEOUT 60)
  file(READ "${WORK_DIR}/${name}.expected" expected)
  if(rc EQUAL 0)
    string(REGEX MATCH "notes [0-9]+" notes "${out}")
    if(expected MATCHES "^notes" AND NOT notes STREQUAL expected)
      string(APPEND failures "${name}: ${notes}, mido ${expected}\n")
    endif()
  elseif(rc EQUAL 1)
    # The system's message, then the file and the reason.
    string(STRIP "${err}" err)
    string(REGEX REPLACE "\n.*" "" first "${err}")
    list(FIND messages "${first}" known)
    string(FIND "${err}" "\n${path}" named)
    if(known LESS 0 OR (NOT first STREQUAL "No data was imported" AND named LESS 0))
      string(APPEND failures "${name}: refused with '${err}'\n")
    endif()
    if(expected MATCHES "^notes [1-9]")
      string(APPEND failures "${name}: refused, mido ${expected}\n")
    endif()
  else()
    string(APPEND failures "${name}: exit ${rc} ${err}\n")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()

execute_process(COMMAND "${TOOL}" midi-import "${CORPUS_DIR}/midi/test-c-major-scale.mid" "${WORK_DIR}/scale.btxml"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
execute_process(COMMAND "${TOOL}" midi "${WORK_DIR}/scale.btxml" "${WORK_DIR}/scale.mid" --section 1
                RESULT_VARIABLE rc2 ERROR_VARIABLE err2)
if(NOT rc EQUAL 0 OR NOT rc2 EQUAL 0)
  message(FATAL_ERROR "round trip of the scale: ${err} ${err2}")
endif()
execute_process(COMMAND "${PYTHON}" "${reference}" scale "${WORK_DIR}/scale.mid" RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the scale as mido reads it: ${err}")
endif()

# A section that does not exist, and a document that cannot be read: a message, exit 1.
execute_process(COMMAND "${TOOL}" midi "${WORK_DIR}/scale.btxml" "${WORK_DIR}/none.mid" --section 2
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT err MATCHES "there is no section 2")
  message(FATAL_ERROR "missing section: rc=${rc} err='${err}'")
endif()
# Numbers below 1, down to the smallest a long holds, are refused the same way.
foreach(number 0 -9223372036854775808)
  execute_process(COMMAND "${TOOL}" midi "${WORK_DIR}/scale.btxml" "${WORK_DIR}/none.mid" --section ${number}
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 1 OR NOT err MATCHES "there is no section ${number}")
    message(FATAL_ERROR "section ${number}: rc=${rc} err='${err}'")
  endif()
endforeach()
execute_process(COMMAND "${TOOL}" midi "${CORPUS_DIR}/midi/test-c-major-scale.mid" "${WORK_DIR}/none.mid"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "a MIDI file as a document: rc=${rc} err='${err}'")
endif()

# The imported document is a whole document: it passes the document check, and its binary
# form gives the same MIDI file.
execute_process(COMMAND "${TOOL}" xmlcheck "${WORK_DIR}/scale.btxml" RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "OK\n")
  message(FATAL_ERROR "the imported document fails the document check: ${out}")
endif()
execute_process(COMMAND "${TOOL}" resave "${WORK_DIR}/scale.btxml" "${WORK_DIR}/scale.btb" RESULT_VARIABLE rc ERROR_VARIABLE err)
execute_process(COMMAND "${TOOL}" midi "${WORK_DIR}/scale.btb" "${WORK_DIR}/scale-from-binary.mid" --section 1
                RESULT_VARIABLE rc2 ERROR_VARIABLE err2)
if(NOT rc EQUAL 0 OR NOT rc2 EQUAL 0)
  message(FATAL_ERROR "binary document to MIDI: ${err} ${err2}")
endif()
file(READ "${WORK_DIR}/scale.mid" fromXml HEX)
file(READ "${WORK_DIR}/scale-from-binary.mid" fromBinary HEX)
if(NOT fromXml STREQUAL fromBinary)
  message(FATAL_ERROR "the binary document gives another MIDI file than its XML form")
endif()
