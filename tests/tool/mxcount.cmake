# vornel-tool mxcount counts the elements of every MusicXML file of the corpus exactly as
# Python's ElementTree does. No file of the corpus is refused.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(GLOB files "${CORPUS_DIR}/musicxml/*.xml")
list(LENGTH files count)
if(count LESS 100)
  message(FATAL_ERROR "the MusicXML corpus was not found in ${CORPUS_DIR}/musicxml (${count} files)")
endif()

find_program(PYTHON python3 REQUIRED)
execute_process(COMMAND "${PYTHON}" "${SOURCE_DIR}/tests/tool/mxcount_reference.py" "${WORK_DIR}" ${files}
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the reference counts failed: ${err}")
endif()

set(failures "")
foreach(path ${files})
  get_filename_component(name "${path}" NAME)
  execute_process(COMMAND "${TOOL}" mxcount "${path}" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  file(READ "${WORK_DIR}/${name}.expected" expected)
  if(NOT rc EQUAL 0)
    string(APPEND failures "${name}: refused: ${err}\n")
  elseif(NOT out STREQUAL expected)
    file(WRITE "${WORK_DIR}/${name}.actual" "${out}")
    string(APPEND failures "${name}: counts differ (see ${WORK_DIR}/${name}.actual)\n")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()

# A file that cannot be read: the reader's message on the standard error stream, exit status 1.
file(WRITE "${WORK_DIR}/bad.xml" "<?xml version=\"1.0\"?>\n<score-partwise/>\n")
execute_process(COMMAND "${TOOL}" mxcount "${WORK_DIR}/bad.xml" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 1 OR NOT out STREQUAL "" OR NOT err STREQUAL "syntax error, unexpected LT, expecting DOCTYPE on line 2\n")
  message(FATAL_ERROR "bad file: rc=${rc} out='${out}' err='${err}'")
endif()

# An element name the reader does not know is told once, however often it stands in the file.
file(WRITE "${WORK_DIR}/unknown.xml" "<?xml version=\"1.0\"?>\n<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 3.0 Partwise//EN\" \"http://www.musicxml.org/dtds/partwise.dtd\">\n<score-partwise><part-list/><oddity/><oddity/><oddity/><other/><oddity/></score-partwise>\n")
execute_process(COMMAND "${TOOL}" mxcount "${WORK_DIR}/unknown.xml" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
set(told "Sxmlelement factory::create called with unknown element \"oddity\"\nSxmlelement factory::create called with unknown element \"other\"\n")
if(NOT err STREQUAL told)
  message(FATAL_ERROR "unknown elements: rc=${rc} out='${out}' err='${err}'")
endif()
