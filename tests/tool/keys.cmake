# vornel-tool keys: scripts of keys typed on the lute's staff and on its tablature of a small
# document, replayed on the score view and saved; the voice each filled is compared with its
# golden text. A command the view does not carry is an error of the script.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(doc "${SOURCE_DIR}/tests/tool/french-lute.btxml")

# Replays SCRIPT on DOC, saves, dumps, and compares the first voice of the third system (which
# was empty) with GOLDEN.
function(check_typed doc script golden name)
  set(out "${WORK_DIR}/${name}.btxml")
  execute_process(COMMAND "${TOOL}" keys "${doc}" "${out}" --script "${script}"
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "keys ${name}: rc=${rc} ${err}")
  endif()
  execute_process(COMMAND "${TOOL}" dump "${out}" OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "dump of the typed document ${name}: rc=${rc}")
  endif()
  string(FIND "${dump}" "\n      system 2\n" system)
  if(system EQUAL -1)
    message(FATAL_ERROR "${name}: the dump has no system 2")
  endif()
  string(SUBSTRING "${dump}" ${system} -1 rest)
  string(FIND "${rest}" "\n          firstVoice\n" first)
  string(FIND "${rest}" "\n          secondVoice\n" second)
  if(first EQUAL -1 OR second LESS first)
    message(FATAL_ERROR "${name}: no first voice in system 2")
  endif()
  math(EXPR length "${second} - ${first} + 1")
  string(SUBSTRING "${rest}" ${first} ${length} voice)
  string(REGEX REPLACE "^\n" "" voice "${voice}")
  file(READ "${golden}" expected)
  if(NOT voice STREQUAL expected)
    file(WRITE "${WORK_DIR}/${name}.voice.txt" "${voice}")
    message(FATAL_ERROR "the typed voice differs from ${golden}; it is in ${WORK_DIR}/${name}.voice.txt")
  endif()
endfunction()

# On the lute's staff.
check_typed("${doc}" "${SOURCE_DIR}/tests/tool/keys.script" "${SOURCE_DIR}/tests/tool/keys.golden" staff)

# On its tablature: the same document with the staff clef taken out, so that the line's only
# stave, the one the cursor starts on, is the French tablature.
file(READ "${doc}" text)
set(staff_clef "<clef type=\"0\" clef-id=\"0\" lines=\"5\" space-below=\"4\"")
string(FIND "${text}" "${staff_clef}" clef_start)
string(FIND "${text}" "<clef type=\"1\"" tab_start)
if(clef_start EQUAL -1 OR tab_start LESS clef_start)
  message(FATAL_ERROR "french-lute.btxml no longer has a staff clef before its tablature")
endif()
string(SUBSTRING "${text}" 0 ${clef_start} head)
string(SUBSTRING "${text}" ${tab_start} -1 tail)
string(REPLACE "<clefs count=\"2\">" "<clefs count=\"1\">" head "${head}")
file(WRITE "${WORK_DIR}/tablature.btxml" "${head}${tail}")
check_typed("${WORK_DIR}/tablature.btxml" "${SOURCE_DIR}/tests/tool/keys_tablature.script"
            "${SOURCE_DIR}/tests/tool/keys_tablature.golden" tablature)

set(out "${WORK_DIR}/typed.btxml")
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
