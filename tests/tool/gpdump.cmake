# vornel-tool gpdump prints what the Guitar Pro reader reads (values of the corpus read by hand
# from the files' bytes), writes the diagnostic log only where --log says, and gives the
# reader's failure with its step and offset for a file it refuses.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

function(expect_lines file)
  execute_process(COMMAND "${TOOL}" gpdump "${CORPUS_DIR}/guitarpro/${file}" WORKING_DIRECTORY "${WORK_DIR}"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${file}: rc=${rc} ${out} ${err}")
  endif()
  foreach(line ${ARGN})
    string(FIND "${out}" "${line}\n" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${file}: no line '${line}' in:\n${out}")
    endif()
  endforeach()
endfunction()

expect_lines("Duration.gp3"
  "version 3.00"
  "tempo 120"
  "bars 6 tracks 1"
  "bar 1: flags 0x03 signature 4/4 (given 4/4)"
  "track 1: \"Track 1\" strings 6 tuning 40 45 50 55 59 64 frets 24 capo 0 channel 1 program 24"
  "    beat 4: duration 3 dot 0 tuplet 0 status 0 [string 6 fret 0 flags 0x000]"
  "    beat 6: duration 4 dot 0 tuplet 0 status 0 [string 6 fret 0 flags 0x000]")
expect_lines("Measure Header.gp4"
  "version 4.06"
  "bar 2: flags 0x79 signature 3/4 (given 3/0) end-repeat 1x marker \"Marker\" key 4"
  "    beat 2: duration 3 dot 0 tuplet 0 status 2")
expect_lines("Voices.gp5"
  "version 5.10"
  "track 1 bar 1 voice 2:"
  "    beat 2: duration 3 dot 1 tuplet 0 status 0 [string 6 fret 6 flags 0x000]"
  "    beat 1: duration 1 dot 0 tuplet 0 status 0 [string 6 fret 8 flags 0x000]")
expect_lines("Demo v5.gp5"
  "version 5.00"
  "tempo 165"
  "lyrics track 3"
  "track 4: \"Bass\" strings 4 tuning 28 33 38 43 frets 24 capo 0 channel 5 program 34")

# The log goes where it is asked for, and nowhere else.
execute_process(COMMAND "${TOOL}" gpdump "${CORPUS_DIR}/guitarpro/Key.gp5" --log "${WORK_DIR}/key.log"
                WORKING_DIRECTORY "${WORK_DIR}" OUTPUT_QUIET RESULT_VARIABLE rc)
file(READ "${WORK_DIR}/key.log" log)
string(FIND "${log}" "GTP format: \"FICHIER GUITAR PRO v5.10\"\n" at)
if(NOT rc EQUAL 0 OR NOT at EQUAL 0)
  message(FATAL_ERROR "log: rc=${rc} ${log}")
endif()
file(GLOB written "${WORK_DIR}/*")
if(NOT written STREQUAL "${WORK_DIR}/key.log")
  message(FATAL_ERROR "files written: ${written}")
endif()

# A file the reader refuses.
string(ASCII 24 length)
file(WRITE "${WORK_DIR}/bad.gp4" "${length}FICHIER GUITAR PRO v4.07")
execute_process(COMMAND "${TOOL}" gpdump "${WORK_DIR}/bad.gp4" OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 1 OR NOT out STREQUAL "failed in readSignature at offset 25: readPascalString: EOF\n")
  message(FATAL_ERROR "bad file: rc=${rc} out='${out}'")
endif()
