# vornel-tool render typesets French lute tablature under a staff: its letters, bourdons,
# flags, ornaments and meta-events; with --screen --frames each meta-event shows its frame and
# the line to its anchor, printed pages show none. A picture found beside the document is
# drawn, a missing one is a placeholder with its file's name.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(doc "${SOURCE_DIR}/tests/tool/french-lute.btxml")

execute_process(COMMAND "${TOOL}" render "${doc}" "${WORK_DIR}/printed.log" RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "render printed.log: rc=${rc} ${err}")
endif()
file(READ "${WORK_DIR}/printed.log" printed)
# Fret letters in the lute face, the flags, the bourdons' strokes, a lyric and the tempo.
foreach(expected "SelectFont \"VN_Quintelle\"" "SelectFont \"VornelTabFlags\"" "TextOut [0-9]+ [0-9]+ \"a\""
                 "\"Flow\"" "\"=60\"" "\"hopper.jpg\"")
  if(NOT printed MATCHES "${expected}")
    message(FATAL_ERROR "the printed page lacks ${expected}")
  endif()
endforeach()
if(printed MATCHES "colour=0x6464C8")
  message(FATAL_ERROR "a printed page shows anchors")
endif()

execute_process(COMMAND "${TOOL}" render "${doc}" "${WORK_DIR}/screen.log" --screen --frames
                RESULT_VARIABLE rc ERROR_VARIABLE err)
file(READ "${WORK_DIR}/screen.log" screen)
if(NOT rc EQUAL 0 OR NOT screen MATCHES "colour=0x6464C8")
  message(FATAL_ERROR "render --screen --frames: rc=${rc} ${err}: no anchors")
endif()

# Beside a copy of the document, its picture is found in an "images" folder.
file(COPY "${doc}" DESTINATION "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/images")
file(COPY "${CORPUS_DIR}/images/various/hopper.jpg" DESTINATION "${WORK_DIR}/images")
execute_process(COMMAND "${TOOL}" render "${WORK_DIR}/french-lute.btxml" "${WORK_DIR}/found.log"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
file(READ "${WORK_DIR}/found.log" found)
if(NOT rc EQUAL 0 OR NOT found MATCHES "StretchBlt [0-9 -]+ 128x128" OR found MATCHES "\"hopper.jpg\"")
  message(FATAL_ERROR "render with its picture: rc=${rc} ${err}")
endif()
execute_process(COMMAND "${TOOL}" render "${WORK_DIR}/french-lute.btxml" "${WORK_DIR}/lute.png" --pages 1-1
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS "${WORK_DIR}/lute.png")
  message(FATAL_ERROR "render lute.png: rc=${rc} ${err}")
endif()
