# The corpus files of the groups of pitches, rests, rhythm, keys, chords, tuplets, grace notes,
# ties and spanners, voices, staves, measures and tablature imported, exported as MusicXML and
# imported again: each exported part sounds as the voice it walks, read by an independent
# reader, and keeps its rhythms, pitches and courses when imported again (see
# mxroundtrip_reference.py for the files that keep less, and why).
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
find_program(PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
execute_process(COMMAND "${PYTHON}" "${SOURCE_DIR}/tests/tool/mxroundtrip_reference.py" "${TOOL}"
                        "${CORPUS_DIR}/musicxml" "${WORK_DIR}" 01 02 03 13 21 23 24 33 42 43 46 71
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${out}${err}")
endif()
message(STATUS "${out}")
