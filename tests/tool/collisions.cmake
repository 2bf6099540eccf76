# Imports of the corpus typeset without the collisions the check found in them: each file with
# the kind of pair that must not come back. Then the figures of a figured bass are stacked
# instead of showing a written "\n".
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

# file | pattern of a collision line that must not appear
set(cases
    "guitarpro/Demo v5.gp5|\"Intro\"[^\n]*/ system line"      # a marker over the system's bracket
    "guitarpro/Unknown.gp5|tablature letter[^\n]*/ tuplet"   # tuplet curves through the bottom course
    "guitarpro/Effects.gp5|slur[^\n]*/ rhythm flag"          # arcs among flags under the tablature
    "abc/kuehnel.abc|dot[^\n]*/ stem"                        # dots on the stem beside the head
    "abc/victoria.abc|lyric[^\n]*/ system line"              # a last syllable past the closing bar
    "musicxml/32a-Notations.xml|lyric[^\n]*/ lyric"          # verses of wide words stacked deep
    "musicxml/21d-Chords-SchubertStabatMater.xml|meta-event"  # a fermata, a tempo and dynamics
    "abc/ortiz.abc|note head[^\n]*/ tuplet")                  # brackets over notes above the stave
foreach(entry ${cases})
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 file)
  list(GET entry 1 pattern)
  get_filename_component(name "${file}" NAME_WE)
  execute_process(COMMAND "${TOOL}" import "${CORPUS_DIR}/${file}" "${WORK_DIR}/${name}.btxml"
                  OUTPUT_QUIET ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${file}: import rc=${rc} err='${err}'")
  endif()
  execute_process(COMMAND "${TOOL}" render "${WORK_DIR}/${name}.btxml" --collisions
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "[0-9]+ collisions?\n$" OR out MATCHES "${pattern}")
    message(FATAL_ERROR "${file}: rc=${rc} out='${out}' err='${err}'")
  endif()
endforeach()

execute_process(COMMAND "${TOOL}" render "${WORK_DIR}/kuehnel.btxml" "${WORK_DIR}/kuehnel.log" --pages 1-1
                ERROR_VARIABLE err RESULT_VARIABLE rc)
file(READ "${WORK_DIR}/kuehnel.log" log)
string(FIND "${log}" "\\\\n" written)
if(NOT rc EQUAL 0 OR NOT written EQUAL -1 OR NOT log MATCHES "DrawText \"4\\\\u{A}2\"")
  message(FATAL_ERROR "kuehnel.abc page 1: rc=${rc} err='${err}'")
endif()
