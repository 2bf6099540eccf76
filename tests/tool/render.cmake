# vornel-tool render typesets a document as PNG, PDF or a recording log, and answers bad
# command lines with 2 and what cannot be read or written with 1, leaving nothing behind.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(doc "${SOURCE_DIR}/tests/tool/two-voices.btxml")

# The document's one section fills two pages: two PNG files, one PDF, one log.
foreach(name page.png page.pdf page.log)
  execute_process(COMMAND "${TOOL}" render "${doc}" "${WORK_DIR}/${name}" RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "render ${name}: rc=${rc} ${err}")
  endif()
endforeach()
foreach(name page-001.png page-002.png page.pdf page.log)
  if(NOT EXISTS "${WORK_DIR}/${name}")
    message(FATAL_ERROR "render wrote no ${name}")
  endif()
endforeach()
# Its paper, letter, at 96 dpi: 816 x 1056 pixels.
file(READ "${WORK_DIR}/page-002.png" header LIMIT 24 HEX)
if(NOT header MATCHES "^89504e470d0a1a0a0000000d494844520000033000000420$")
  message(FATAL_ERROR "unexpected PNG header ${header}")
endif()
file(READ "${WORK_DIR}/page.log" log)
if(NOT log MATCHES "^page 1\n" OR NOT log MATCHES "\npage 2\n" OR NOT log MATCHES "TextOut")
  message(FATAL_ERROR "the log holds no page")
endif()
# Printed pages carry their number under the title ("<title> : p. N") at the bottom centre.
if(NOT log MATCHES "DrawText \" : p. 2\" ")
  message(FATAL_ERROR "the second page has no number")
endif()

# --screen draws the page as the window does, at the zoom, with 10 mm of the view around it:
# 1632 x 2112 pixels of paper in 1708 x 2226.
execute_process(COMMAND "${TOOL}" render "${doc}" "${WORK_DIR}/zoomed.png" --zoom 200 --pages 1-1 --section 1 --screen
                RESULT_VARIABLE rc ERROR_VARIABLE err)
file(READ "${WORK_DIR}/zoomed.png" header LIMIT 24 HEX)
if(NOT rc EQUAL 0 OR NOT header MATCHES "000006ac000008b2$")
  message(FATAL_ERROR "render --zoom 200: rc=${rc} ${header} ${err}")
endif()

# Bad command lines: the usage line and 2.
foreach(bad "${doc};out.txt" "${doc};out.png;--zoom;5" "${doc};out.png;--dpi;x" "${doc};out.png;--pages;3-1"
            "${doc};out.png;--frobnicate" "${doc}" "")
  execute_process(COMMAND "${TOOL}" render ${bad} RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 2 OR NOT err MATCHES "usage: vornel-tool render")
    message(FATAL_ERROR "render ${bad}: rc=${rc} ${err}")
  endif()
endforeach()

# What cannot be read, does not exist or cannot be written: 1, with a message naming it.
set(cases
    "${WORK_DIR}/missing.btxml|${WORK_DIR}/a.png|missing.btxml"
    "${SOURCE_DIR}/tests/tool/render.cmake|${WORK_DIR}/b.png|render.cmake"
    "${doc}|${WORK_DIR}/c.png,--section,2|section 2"
    "${doc}|${WORK_DIR}/d.png,--pages,2-3|page 3"
    "${doc}|${WORK_DIR}/no/such/folder/e.pdf|e.pdf"
    "${doc}|${WORK_DIR}/no/such/folder/f.png|f-001.png"
    "${doc}|${WORK_DIR}/no/such/folder/g.log|g.log")
foreach(case ${cases})
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 input)
  list(GET parts 1 output)
  list(GET parts 2 expected)
  string(REPLACE "," ";" output "${output}")
  execute_process(COMMAND "${TOOL}" render "${input}" ${output} RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 1 OR NOT err MATCHES "${expected}")
    message(FATAL_ERROR "render ${input} ${output}: rc=${rc} ${err}")
  endif()
endforeach()

file(GLOB left "${WORK_DIR}/*" "${WORK_DIR}/*.part-*")
list(SORT left)
set(expected "${WORK_DIR}/page-001.png;${WORK_DIR}/page-002.png;${WORK_DIR}/page.log;${WORK_DIR}/page.pdf;${WORK_DIR}/zoomed.png")
if(NOT "${left}" STREQUAL "${expected}")
  message(FATAL_ERROR "files left behind: ${left}")
endif()
