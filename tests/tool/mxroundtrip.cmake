# The corpus files of the groups 01, 02, 03, 21, 23 and 71 imported, exported as MusicXML and
# imported again: each instrument's first voice keeps its rhythms, pitches and courses (see
# mxroundtrip_reference.py for the files that keep less, and why).
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
find_program(PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
execute_process(COMMAND "${PYTHON}" "${SOURCE_DIR}/tests/tool/mxroundtrip_reference.py" "${TOOL}"
                        "${CORPUS_DIR}/musicxml" "${WORK_DIR}" 01 02 03 21 23 71
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${out}${err}")
endif()
message(STATUS "${out}")
