# vornel-tool keys: a script of keys typed on the lute's staff of a small document, replayed
# on the score view and saved; the voice they filled is compared with its golden text. A
# command the view does not carry is an error of the script.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(doc "${SOURCE_DIR}/tests/tool/french-lute.btxml")
set(out "${WORK_DIR}/typed.btxml")

execute_process(COMMAND "${TOOL}" keys "${doc}" "${out}" --script "${SOURCE_DIR}/tests/tool/keys.script"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "keys: rc=${rc} ${err}")
endif()
execute_process(COMMAND "${TOOL}" dump "${out}" OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dump of the typed document: rc=${rc}")
endif()

# The first voice of the third system, which was empty.
string(FIND "${dump}" "\n      system 2\n" system)
if(system EQUAL -1)
  message(FATAL_ERROR "the dump has no system 2")
endif()
string(SUBSTRING "${dump}" ${system} -1 rest)
string(FIND "${rest}" "\n          firstVoice\n" first)
string(FIND "${rest}" "\n          secondVoice\n" second)
if(first EQUAL -1 OR second LESS first)
  message(FATAL_ERROR "no first voice in system 2")
endif()
math(EXPR length "${second} - ${first} + 1")
string(SUBSTRING "${rest}" ${first} ${length} voice)
string(REGEX REPLACE "^\n" "" voice "${voice}")
file(READ "${SOURCE_DIR}/tests/tool/keys.golden" golden)
if(NOT voice STREQUAL golden)
  file(WRITE "${WORK_DIR}/voice.txt" "${voice}")
  message(FATAL_ERROR "the typed voice differs from keys.golden; it is in ${WORK_DIR}/voice.txt")
endif()

file(WRITE "${WORK_DIR}/bad.script" "char r\ncmd 1\n")
execute_process(COMMAND "${TOOL}" keys "${doc}" "${WORK_DIR}/bad.out.btxml" --script "${WORK_DIR}/bad.script"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT err MATCHES "line 2: cmd 1" OR EXISTS "${WORK_DIR}/bad.out.btxml")
  message(FATAL_ERROR "an unknown command: rc=${rc} ${err}")
endif()
execute_process(COMMAND "${TOOL}" keys "${doc}" "${out}" RESULT_VARIABLE rc ERROR_QUIET)
if(NOT rc EQUAL 2)
  message(FATAL_ERROR "keys without a script: rc=${rc}")
endif()
