# vornel-tool tuning prints each course of a tuning text and the number of lines.
execute_process(COMMAND "${TOOL}" tuning "GDAFCGF" OUTPUT_VARIABLE out RESULT_VARIABLE rc)
set(expected " 1  G5    67   44
 2  D5    62   39
 3  A4    57   34
 4  F4    53   30
 5  C4    48   25
 6  G3    43   20
 7  F3    41   18
courses 7  lines 6
")
if(NOT rc EQUAL 0 OR NOT out STREQUAL expected)
  message(FATAL_ERROR "tuning GDAFCGF: rc=${rc}\n${out}")
endif()
# Fewer courses than six lines lower the lines; an octave mark moves a course.
execute_process(COMMAND "${TOOL}" tuning "E+1A+1DG" OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "1  E6    76   53" OR NOT out MATCHES "courses 4  lines 4")
  message(FATAL_ERROR "tuning E+1A+1DG: rc=${rc}\n${out}")
endif()
execute_process(COMMAND "${TOOL}" tuning RESULT_VARIABLE rc ERROR_QUIET)
if(NOT rc EQUAL 2)
  message(FATAL_ERROR "tuning without a text: rc=${rc}")
endif()
