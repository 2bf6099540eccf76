# vornel-tool alfabeto prints the chart of the active line's instrument after filling it as
# the chart dialog does.
set(doc "${SOURCE_DIR}/tests/tool/french-lute.btxml")
execute_process(COMMAND "${TOOL}" alfabeto "${doc}" --common RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "alfabeto --common: rc=${rc} ${err}")
endif()
# Eight major chords on A to H, their minors on I to P; C major on the lute's fifth course.
foreach(line "A\tA\t2 2 4 4 4 2 - - - -\n" "C\tC\t0 2 3 2 0 - - - - -\n" "H\tBb\t" "P\tBbm\t")
  string(FIND "${out}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "alfabeto --common: no line \"${line}\" in:\n${out}")
  endif()
endforeach()
if(out MATCHES "\nQ\t")
  message(FATAL_ERROR "alfabeto --common: more than sixteen chords:\n${out}")
endif()

execute_process(COMMAND "${TOOL}" alfabeto "${doc}" --autofill 3 RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^A\tC7m\t" OR NOT out MATCHES "\nX\tBm7m\t")
  message(FATAL_ERROR "alfabeto --autofill 3: rc=${rc}\n${out}")
endif()

execute_process(COMMAND "${TOOL}" alfabeto "${doc}" --autofill 11 RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
if(NOT rc EQUAL 2)
  message(FATAL_ERROR "alfabeto --autofill 11: rc=${rc}")
endif()
