# vornel-tool xmlcheck prints "OK" for a good document and the system's message otherwise.
file(MAKE_DIRECTORY "${WORK_DIR}")
set(good "${WORK_DIR}/good.btxml")
file(WRITE "${good}" "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<VornelTabXML version=\"1.0\"><document-settings><identity><track-texts/></identity><layout/><preliminaries/><associations/><metadata-fonts/><section-fonts/></document-settings><sections count=\"0\"/></VornelTabXML>\n")
set(bad "${WORK_DIR}/bad.btxml")
file(WRITE "${bad}" "<VornelTabXML version=\"1.0\"><document-settings><identity/></document-settings></VornelTabXML>")

execute_process(COMMAND "${TOOL}" xmlcheck "${good}" OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "OK\n")
  message(FATAL_ERROR "good document: rc=${rc} out='${out}'")
endif()

execute_process(COMMAND "${TOOL}" xmlcheck "${bad}" OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(rc EQUAL 0 OR NOT out STREQUAL "Unable to parse this XML file!\nThe element <track-texts> is missing.\n")
  # <identity> has no <track-texts>: the check itself says nothing, the open says what is missing.
  message(FATAL_ERROR "bad document: rc=${rc} out='${out}'")
endif()

execute_process(COMMAND "${TOOL}" xmlcheck "${WORK_DIR}/none.btxml" OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(rc EQUAL 0 OR NOT out STREQUAL "Unable to parse this XML file!\n${WORK_DIR}/none.btxml:\nNo such file or directory\n")
  message(FATAL_ERROR "missing file: rc=${rc} out='${out}'")
endif()
