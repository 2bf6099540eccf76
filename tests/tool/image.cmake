# vornel-tool image IN OUT.pam decodes an image, prints its format line and writes RGBA PAM;
# a file it cannot decode gives the coded error and exit code 1.
file(MAKE_DIRECTORY "${WORK_DIR}")
set(ppm "${WORK_DIR}/two.ppm")
file(WRITE "${ppm}" "P3\n2 1\n255\n255 0 0  0 0 255\n")
set(pam "${WORK_DIR}/two.pam")

execute_process(COMMAND "${TOOL}" image "${ppm}" "${pam}" OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "2x1 32 alpha=0 dpi=0,0\n")
  message(FATAL_ERROR "ppm: rc=${rc} out='${out}'")
endif()
file(READ "${pam}" pixels HEX)
string(HEX "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n" header)
if(NOT pixels STREQUAL "${header}ff0000ff0000ffff")
  message(FATAL_ERROR "pam: ${pixels}")
endif()

set(bad "${WORK_DIR}/bad.pgm")
file(WRITE "${bad}" "P5 4 4 255\nab")
execute_process(COMMAND "${TOOL}" image "${bad}" "${WORK_DIR}/bad.pam" ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 1 OR NOT err STREQUAL "error 11: End of file reached while decoding.\n")
  message(FATAL_ERROR "truncated: rc=${rc} err='${err}'")
endif()

execute_process(COMMAND "${TOOL}" image "${WORK_DIR}/none.bmp" "${WORK_DIR}/none.pam" ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 1 OR NOT err STREQUAL "error 4: Decoder error: Opening ${WORK_DIR}/none.bmp failed\n")
  message(FATAL_ERROR "missing: rc=${rc} err='${err}'")
endif()

file(WRITE "${WORK_DIR}/text.txt" "hello")
execute_process(COMMAND "${TOOL}" image "${WORK_DIR}/text.txt" "${WORK_DIR}/text.pam" ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 1 OR NOT err STREQUAL "error 8: Decoder error: Unknown file type.\n")
  message(FATAL_ERROR "unknown: rc=${rc} err='${err}'")
endif()

# Every format goes through the format detection: a PNG and a metafile of the shared corpus.
if(EXISTS "${CORPUS_DIR}/images/pngsuite/basn2c08.png")
  execute_process(COMMAND "${TOOL}" image "${CORPUS_DIR}/images/pngsuite/basn2c08.png" "${WORK_DIR}/png.pam"
                  OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "32x32 32 alpha=0 dpi=0,0\n")
    message(FATAL_ERROR "png: rc=${rc} out='${out}'")
  endif()
  execute_process(COMMAND "${TOOL}" image "${CORPUS_DIR}/images/various/drawing.wmf" "${WORK_DIR}/wmf.pam"
                  OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "109x109 32 alpha=1 dpi=0,0\n")
    message(FATAL_ERROR "wmf: rc=${rc} out='${out}'")
  endif()
endif()
