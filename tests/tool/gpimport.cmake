# vornel-tool import takes Guitar Pro files by their extension or their signature, appends
# one section per file, and refuses a damaged file with the system's message.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

execute_process(COMMAND "${TOOL}" import "${CORPUS_DIR}/guitarpro/Demo v5.gp5" "${WORK_DIR}/demo.btxml"
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
string(FIND "${out}" "section 1 \"Demo for Guitar Pro 5\":" title)
string(FIND "${out}" "  instrument 4 \"Bass\" program 34 courses 4: 43 38 33 28\n" bass)
if(NOT rc EQUAL 0 OR title EQUAL -1 OR bass EQUAL -1 OR NOT EXISTS "${WORK_DIR}/demo.btxml")
  message(FATAL_ERROR "Demo v5.gp5: rc=${rc} out='${out}' err='${err}'")
endif()
# Its systems of five instruments, courses 3 mm apart: as in the editor, the import fits
# systems to the page, and the document prints more than one system to a page.
string(REGEX MATCH "\": ([0-9]+) systems\n" systems "${out}")
execute_process(COMMAND "${TOOL}" render "${WORK_DIR}/demo.btxml" "${WORK_DIR}/demo.log" RESULT_VARIABLE rc
                ERROR_VARIABLE err)
file(STRINGS "${WORK_DIR}/demo.log" pages REGEX "^page [0-9]+$")
list(LENGTH pages pages)
if(NOT rc EQUAL 0 OR pages EQUAL 0 OR NOT pages LESS CMAKE_MATCH_1)
  message(FATAL_ERROR "Demo v5.gp5 printed: rc=${rc} ${pages} pages for ${CMAKE_MATCH_1} systems ${err}")
endif()

# Known by its signature, appended to the document just written.
file(COPY_FILE "${CORPUS_DIR}/guitarpro/Duration.gp3" "${WORK_DIR}/duration.bin")
execute_process(COMMAND "${TOOL}" import "${WORK_DIR}/duration.bin" "${WORK_DIR}/both.btxml" --into "${WORK_DIR}/demo.btxml"
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^section 2 \"\": [0-9]+ systems\n  instrument 1 \"Track 1\" program 24 courses 6: 64 59 55 50 45 40\n")
  message(FATAL_ERROR "duration.bin: rc=${rc} out='${out}' err='${err}'")
endif()

file(WRITE "${WORK_DIR}/bad.gp4" "FICHIER GUITAR PRO v4.06")
execute_process(COMMAND "${TOOL}" import "${WORK_DIR}/bad.gp4" "${WORK_DIR}/bad.btxml"
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 1 OR NOT out STREQUAL ""
   OR NOT err STREQUAL "Unable to import this GuitarPro file...\nOnly GP3, GP4, GP5 formats are supported\n\nbad.gp4: readSignature at offset 1: readPascalString: length 70 above the field width 30\n"
   OR EXISTS "${WORK_DIR}/bad.btxml")
  message(FATAL_ERROR "bad.gp4: rc=${rc} out='${out}' err='${err}'")
endif()
