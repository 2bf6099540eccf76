# vornel-tool options prints the fields of option files of the three formats and refuses a
# damaged one with the system's message.
function(options file expected_rc)
  execute_process(COMMAND "${TOOL}" options "${SOURCE_DIR}/fuzz/corpus/options_fuzz/${file}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL ${expected_rc})
    message(FATAL_ERROR "options ${file}: rc=${rc} ${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

options(format8.ini 0)
foreach(line "format 8" "open last document 1" "MIDI port 2" "default instrument \"Lute in G\", 1 stave(s)"
             "title font Garamond - Size 12" "maximum undo 24")
  string(FIND "${out}" "${line}\n" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "format8.ini: no line '${line}' in:\n${out}")
  endif()
endforeach()

options(format1.ini 0)
if(NOT out MATCHES "format 1\n" OR NOT out MATCHES "1 stave\\(s\\)" OR NOT out MATCHES "maximum undo 24")
  message(FATAL_ERROR "format1.ini:\n${out}")
endif()

options(cut.ini 1)
if(NOT err MATCHES "Illegible default file" OR NOT out MATCHES "1 stave\\(s\\)")
  message(FATAL_ERROR "cut.ini: ${err}\n${out}")
endif()

execute_process(COMMAND "${TOOL}" options RESULT_VARIABLE rc ERROR_QUIET)
if(NOT rc EQUAL 2)
  message(FATAL_ERROR "options without a file: rc=${rc}")
endif()
