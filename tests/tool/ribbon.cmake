# vornel-tool ribbon prints the ribbon's table as the golden list; with --unhandled every id
# of the windows without a handler comes with its reason, and none is left unexplained.
execute_process(COMMAND "${TOOL}" ribbon RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(READ "${SOURCE_DIR}/tests/shell/golden/ribbon.txt" golden)
if(NOT rc EQUAL 0 OR NOT out STREQUAL golden)
  message(FATAL_ERROR "ribbon: rc=${rc} ${err}\nthe dump differs from tests/shell/golden/ribbon.txt")
endif()

execute_process(COMMAND "${TOOL}" ribbon --unhandled RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR out MATCHES "NOT ACCOUNTED FOR")
  message(FATAL_ERROR "ribbon --unhandled: rc=${rc} ${err}\n${out}")
endif()
# The title page's commands wait for their view; the palettes' and the others are reached.
if(NOT out MATCHES "(^|\n)33178\t[^\t]*\tcarried by the title-page view\n" OR out MATCHES "(^|\n)(57603|32765|33819|33977)\t")
  message(FATAL_ERROR "ribbon --unhandled:\n${out}")
endif()

execute_process(COMMAND "${TOOL}" ribbon --bogus RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
if(rc EQUAL 0)
  message(FATAL_ERROR "ribbon --bogus was accepted")
endif()
