# vornel-tool rtf writes a rich text back (a second pass gives the same bytes), converts it to
# HTML and lays it out on A4 pages: the three-page preface gives a PDF of as many pages as the
# tool counted, with its fonts embedded.
file(MAKE_DIRECTORY "${WORK_DIR}")
set(fixtures "${SOURCE_DIR}/tests/platform/rtf")

foreach(name styles bullets pictures)
  execute_process(COMMAND "${TOOL}" rtf "${fixtures}/${name}.rtf" "${WORK_DIR}/${name}.rtf" RESULT_VARIABLE rc)
  execute_process(COMMAND "${TOOL}" rtf "${WORK_DIR}/${name}.rtf" "${WORK_DIR}/${name}.again.rtf" RESULT_VARIABLE rc2)
  file(READ "${WORK_DIR}/${name}.rtf" first)
  file(READ "${WORK_DIR}/${name}.again.rtf" second)
  if(NOT rc EQUAL 0 OR NOT rc2 EQUAL 0 OR NOT first STREQUAL second)
    message(FATAL_ERROR "${name}: the second write differs (rc=${rc},${rc2})")
  endif()
endforeach()

execute_process(COMMAND "${TOOL}" rtf "${fixtures}/bullets.rtf" "${WORK_DIR}/bullets.html" RESULT_VARIABLE rc)
file(READ "${WORK_DIR}/bullets.html" html)
string(FIND "${html}" "Milk and <b>butter</b></p>" item)
string(FIND "${html}" "    <div>" start)
if(NOT rc EQUAL 0 OR NOT start EQUAL 0 OR item EQUAL -1)
  message(FATAL_ERROR "html: rc=${rc} ${html}")
endif()

execute_process(COMMAND "${TOOL}" rtf "${fixtures}/styles.rtf" "${WORK_DIR}/styles.log" --landscape --zoom 50
                OUTPUT_VARIABLE out RESULT_VARIABLE rc)
file(READ "${WORK_DIR}/styles.log" log)
string(FIND "${log}" "\"Right\"" right)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "pages: 1\n" OR right EQUAL -1)
  message(FATAL_ERROR "log: rc=${rc} ${out} ${log}")
endif()

set(pdf "${WORK_DIR}/preface3.pdf")
execute_process(COMMAND "${TOOL}" rtf "${SOURCE_DIR}/tests/tool/preface3.rtf" "${pdf}" OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "pages: 3\n" OR NOT EXISTS "${pdf}")
  message(FATAL_ERROR "pdf: rc=${rc} ${out}")
endif()
find_program(PDFINFO pdfinfo)
find_program(PDFFONTS pdffonts)
if(PDFINFO AND PDFFONTS)
  execute_process(COMMAND "${PDFINFO}" "${pdf}" OUTPUT_VARIABLE info)
  if(NOT info MATCHES "Pages: +3\n")
    message(FATAL_ERROR "pdfinfo: ${info}")
  endif()
  execute_process(COMMAND "${PDFFONTS}" "${pdf}" OUTPUT_VARIABLE fonts)
  # Every font line says "yes" in the embedded column.
  string(REGEX MATCHALL "\n[^\n-][^\n]*" entries "${fonts}")
  list(LENGTH entries count)
  if(count LESS 1 OR fonts MATCHES "\n[^\n]* (TrueType|Type 1|CID[^\n]*) +[^ \n]+ +no ")
    message(FATAL_ERROR "fonts not embedded: ${fonts}")
  endif()
endif()

execute_process(COMMAND "${TOOL}" rtf "${SOURCE_DIR}/tests/tool/preface3.rtf" "${WORK_DIR}/preface3.png" --zoom 25
                OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "pages: 3\n")
  message(FATAL_ERROR "png: rc=${rc} ${out}")
endif()

# Two kilobytes of text in the largest size make a few dozen pages, not a page a word, and the
# tool says that the end was left out.
execute_process(COMMAND "${TOOL}" rtf "${SOURCE_DIR}/fuzz/corpus/rtf_fuzz/huge_size.rtf" "${WORK_DIR}/huge.log"
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^pages: [1-5][0-9]\n$" OR NOT err MATCHES "Error reading RTF text")
  message(FATAL_ERROR "huge sizes: rc=${rc} ${out} ${err}")
endif()

foreach(bad "x.rtf" "x.rtf;y.txt" "x.rtf;y.png;--zoom;5" "x.rtf;y.png;--width" "")
  execute_process(COMMAND "${TOOL}" rtf ${bad} RESULT_VARIABLE rc ERROR_QUIET)
  if(NOT rc EQUAL 2)
    message(FATAL_ERROR "rtf ${bad}: rc=${rc}")
  endif()
endforeach()
execute_process(COMMAND "${TOOL}" rtf "${WORK_DIR}/none.rtf" "${WORK_DIR}/none.html" RESULT_VARIABLE rc ERROR_QUIET)
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "missing input: rc=${rc}")
endif()
