# vornel-tool import of text and tablature files: an ABC file with the instrument of another
# document, a folder of TAB files (a section for each piece of each file: the collections of
# headed pieces among them give several), and the messages of a missing file and of a folder without
# files to import (neither writes the output).
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

execute_process(COMMAND "${TOOL}" import "${CORPUS_DIR}/abc/attaignant.abc" "${WORK_DIR}/abc.btxml"
                        --instrument "${SOURCE_DIR}/tests/tool/lachrimae.btb"
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT err STREQUAL "" OR NOT EXISTS "${WORK_DIR}/abc.btxml"
   OR NOT out MATCHES "^section 1 \"Basse dance [^\n]*\n  instrument 1 \"Lute\" program 0 courses 7: 67 62 57 53 48 43 41\n    voice 1: 156 chords, 223 notes")
  message(FATAL_ERROR "ABC file: rc=${rc} out='${out}' err='${err}'")
endif()

execute_process(COMMAND "${TOOL}" import "${CORPUS_DIR}/tab" "${WORK_DIR}/tab.btz"
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
string(REGEX MATCHALL "\nsection |^section " sections "${out}")
list(LENGTH sections count)
if(NOT rc EQUAL 0 OR NOT err STREQUAL "" OR NOT count EQUAL 17 OR NOT EXISTS "${WORK_DIR}/tab.btz")
  message(FATAL_ERROR "TAB folder: rc=${rc} sections=${count} out='${out}' err='${err}'")
endif()

function(expect_message label expected)
  execute_process(COMMAND "${TOOL}" import ${ARGN} "${WORK_DIR}/failed.btxml"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 1 OR NOT out STREQUAL "" OR NOT err STREQUAL "${expected}\n" OR EXISTS "${WORK_DIR}/failed.btxml")
    message(FATAL_ERROR "${label}: rc=${rc} out='${out}' err='${err}'")
  endif()
endfunction()
expect_message("missing ABC file" "Unable to open abc file: ${WORK_DIR}/missing.abc:\nNo such file or directory" "${WORK_DIR}/missing.abc")
file(MAKE_DIRECTORY "${WORK_DIR}/empty")
expect_message("empty folder" "No files found to import" "${WORK_DIR}/empty")
