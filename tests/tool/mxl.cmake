# Compressed MusicXML: the score named by the container is imported; an archive without a
# container, a score path that leaves the archive's folder or is absolute, a missing score, a
# container that names no MusicXML score, a score that packs tighter than any score and a score
# of a gigabyte are refused with the system's message and the reason, exit 1, write nothing and
# extract nothing beside the archive.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/fixtures")
find_program(PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
execute_process(COMMAND "${PYTHON}" "${SOURCE_DIR}/tests/tool/mxl_fixtures.py" "${WORK_DIR}/fixtures"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "fixtures: ${err}")
endif()

foreach(name nested pdf-first)
  execute_process(COMMAND "${TOOL}" import "${WORK_DIR}/fixtures/${name}.mxl" "${WORK_DIR}/${name}.btxml"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc TIMEOUT 60)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "instrument 1 \"Lute\" program 0" OR NOT EXISTS "${WORK_DIR}/${name}.btxml")
    message(FATAL_ERROR "${name}: rc=${rc} out='${out}' err='${err}'")
  endif()
endforeach()

# Each refusal says which part of the archive failed and why.
set(no-container "META-INF/container.xml is missing")
set(parent-path "META-INF/container.xml: the score's path \"../x.xml\" is no path inside the archive")
set(absolute-path "META-INF/container.xml: the score's path \"/.*/abs.xml\" is no path inside the archive")
set(missing-rootfile "gone.xml is missing")
set(pdf-only "META-INF/container.xml names no MusicXML score")
set(too-tight "score.xml: it declares 104857600 bytes from [0-9]+ packed, more than the [0-9]+ allowed for that packed size \\(67108864 and 64 per packed byte\\)")
set(gigabyte "score.xml: it declares 1073741824 bytes from [0-9]+ packed, more than the 268435456 allowed")
foreach(name no-container parent-path absolute-path missing-rootfile pdf-only too-tight gigabyte)
  execute_process(COMMAND "${TOOL}" import "${WORK_DIR}/fixtures/${name}.mxl" "${WORK_DIR}/${name}.btxml"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc TIMEOUT 60)
  if(NOT rc EQUAL 1 OR NOT out STREQUAL ""
     OR NOT err MATCHES "^Sorry, I am unable to read this file\n[^\n]*/${name}.mxl:\n${${name}}\n$"
     OR EXISTS "${WORK_DIR}/${name}.btxml")
    message(FATAL_ERROR "${name}: rc=${rc} out='${out}' err='${err}'")
  endif()
endforeach()
foreach(stray "${WORK_DIR}/x.xml" "${WORK_DIR}/fixtures/abs.xml" "${WORK_DIR}/fixtures/score.xml")
  if(EXISTS "${stray}")
    message(FATAL_ERROR "a file was extracted beside the archive: ${stray}")
  endif()
endforeach()
