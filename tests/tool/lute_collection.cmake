# A collection of lute lessons in the TAB text format, as lute editions hold them: bass letters
# under letters of the sixth course, dotted letters in quick runs, trills, changes of time and
# pauses at the starts of lines. Typeset, nothing meets other ink and no mark stands away from
# its chord; with the columns narrowed to 4 mm the bar numbers at the starts of the lines keep
# clear of the pauses there.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(doc "${WORK_DIR}/lessons.btxml")
execute_process(COMMAND "${TOOL}" import "${SOURCE_DIR}/tests/tool/lute-collection.tab" "${doc}"
                OUTPUT_QUIET ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "import rc=${rc} err='${err}'")
endif()
execute_process(COMMAND "${TOOL}" render "${doc}" --collisions OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "0 collisions\n")
  message(FATAL_ERROR "collisions: rc=${rc} out='${out}' err='${err}'")
endif()

# Property 14 is the page layout's column width ("Horizontal cursor"), in tenths of a millimetre.
set(narrow "${WORK_DIR}/narrow.btxml")
execute_process(COMMAND "${TOOL}" props "${doc}" --set 14=40 --out "${narrow}" OUTPUT_QUIET ERROR_VARIABLE err
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "props rc=${rc} err='${err}'")
endif()
execute_process(COMMAND "${TOOL}" render "${narrow}" --collisions OUTPUT_VARIABLE out ERROR_VARIABLE err
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "[0-9]+ collisions?\n$" OR out MATCHES "bar number" OR out MATCHES "letter")
  message(FATAL_ERROR "narrow columns: rc=${rc} out='${out}' err='${err}'")
endif()
