# vornel-tool import on every MusicXML file of the corpus, checked against Python's ElementTree
# (see mxcorpus_reference.py): each file imports or fails with the system's message, with the
# definitions, names, programs and tunings its parts give; the compressed file imports as the
# XML inside it.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
find_program(PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
execute_process(COMMAND "${PYTHON}" "${SOURCE_DIR}/tests/tool/mxcorpus_reference.py" "${TOOL}"
                        "${CORPUS_DIR}/musicxml" "${WORK_DIR}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${out}${err}")
endif()
message(STATUS "${out}")
