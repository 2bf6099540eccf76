# Imports typeset without the faults the collision check found in them: a section's marker
# text clear of the system's bracket, and stacked figures of a figured bass instead of a
# written "\n".
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

execute_process(COMMAND "${TOOL}" import "${CORPUS_DIR}/guitarpro/Demo v5.gp5" "${WORK_DIR}/demo.btxml"
                OUTPUT_QUIET ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "Demo v5.gp5: rc=${rc} err='${err}'")
endif()
execute_process(COMMAND "${TOOL}" render "${WORK_DIR}/demo.btxml" --pages 1-1 --collisions
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "[0-9]+ collisions?\n$" OR out MATCHES "\"Intro\"[^\n]*/ system line")
  message(FATAL_ERROR "Demo v5.gp5 page 1: rc=${rc} out='${out}' err='${err}'")
endif()

execute_process(COMMAND "${TOOL}" import "${CORPUS_DIR}/abc/kuehnel.abc" "${WORK_DIR}/kuehnel.btxml"
                OUTPUT_QUIET ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "kuehnel.abc: rc=${rc} err='${err}'")
endif()
execute_process(COMMAND "${TOOL}" render "${WORK_DIR}/kuehnel.btxml" "${WORK_DIR}/kuehnel.log" --pages 1-1
                ERROR_VARIABLE err RESULT_VARIABLE rc)
file(READ "${WORK_DIR}/kuehnel.log" log)
string(FIND "${log}" "\\\\n" written)
if(NOT rc EQUAL 0 OR NOT written EQUAL -1 OR NOT log MATCHES "DrawText \"4\\\\u{A}2\"")
  message(FATAL_ERROR "kuehnel.abc page 1: rc=${rc} err='${err}'")
endif()
