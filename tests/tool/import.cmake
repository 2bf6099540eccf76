# vornel-tool import: the importer is picked by the file; a file that no importer takes, a
# missing file and a wrong command line fail without writing the output.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

function(expect_failure label rc_expected err_expected)
  execute_process(COMMAND "${TOOL}" ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL rc_expected OR NOT out STREQUAL "" OR NOT err MATCHES "${err_expected}")
    message(FATAL_ERROR "${label}: rc=${rc} out='${out}' err='${err}'")
  endif()
  if(EXISTS "${WORK_DIR}/out.btxml")
    message(FATAL_ERROR "${label}: the output was written")
  endif()
endfunction()

file(WRITE "${WORK_DIR}/notes.txt" "neither music nor a score\n")
expect_failure("unknown kind" 1 "notes.txt: no importer reads this file\n$" import "${WORK_DIR}/notes.txt"
               "${WORK_DIR}/out.btxml")
expect_failure("missing file" 1 "missing.bin: no importer reads this file\n$" import "${WORK_DIR}/missing.bin"
               "${WORK_DIR}/out.btxml")
expect_failure("one file" 2 "^usage: vornel-tool import " import "${WORK_DIR}/notes.txt")
