# vornel-tool facsimiles lists the title page's and each section's facsimiles with how each
# resolves: a file beside the document, a missing one, a web image not cached, a web page.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/cache")
file(READ "${SOURCE_DIR}/tests/tool/french-lute.btxml" text)
set(list "<facsimiles nb-images=\"4\"><image path=\"\" name=\"f1.jpg\" location=\"disk\"/><image path=\"/nowhere/\" name=\"f9.jpg\" location=\"disk\"/><image path=\"http://host/dir/\" name=\"p1.jpg\" location=\"web\"/><image path=\"http://host/\" name=\"page.html\" location=\"web\"/></facsimiles>")
string(REPLACE "<facsimiles nb-images=\"0\"/>" "${list}" text "${text}")
file(WRITE "${WORK_DIR}/piece.btxml" "${text}")
file(WRITE "${WORK_DIR}/f1.jpg" "x")

execute_process(COMMAND "${TOOL}" facsimiles "${WORK_DIR}/piece.btxml" --cache "${WORK_DIR}/cache"
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "rc=${rc} ${err}")
endif()
foreach(line
    "title-page 1 f1.jpg: file ${WORK_DIR}/f1.jpg"
    "section 1 2 /nowhere/f9.jpg: missing"
    "section 1 3 http://host/dir/p1.jpg: web image, not cached"
    "section 1 4 http://host/page.html: web page")
  string(FIND "${out}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "no line \"${line}\" in:\n${out}")
  endif()
endforeach()
