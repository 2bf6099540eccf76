# vornel-tool fetch copies a file URL into the cache folder, serves a second request from it and
# refuses schemes other than http, https and file.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/source")
file(WRITE "${WORK_DIR}/source/f1r.bmp" "BM-not-really")

execute_process(COMMAND "${TOOL}" fetch "file://${WORK_DIR}/source/f1r.bmp" "${WORK_DIR}/cache"
                OUTPUT_VARIABLE first RESULT_VARIABLE rc)
string(STRIP "${first}" first)
if(NOT rc EQUAL 0 OR NOT first MATCHES "/cache/[0-9a-f]+-f1r\\.bmp$")
  message(FATAL_ERROR "first fetch: rc=${rc} ${first}")
endif()
file(READ "${first}" copied)
if(NOT copied STREQUAL "BM-not-really")
  message(FATAL_ERROR "the cached copy differs: ${copied}")
endif()

execute_process(COMMAND "${TOOL}" fetch "file://${WORK_DIR}/source/f1r.bmp" "${WORK_DIR}/cache"
                OUTPUT_VARIABLE second RESULT_VARIABLE rc)
string(STRIP "${second}" second)
if(NOT rc EQUAL 0 OR NOT second STREQUAL "${first} (cached)")
  message(FATAL_ERROR "second fetch: rc=${rc} ${second}")
endif()

execute_process(COMMAND "${TOOL}" fetch "ftp://127.0.0.1/f1r.bmp" "${WORK_DIR}/cache" RESULT_VARIABLE rc
                ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "an ftp address was fetched")
endif()
