# vornel-tool folders lists the editor's folders for a home without a profile, and makes
# nothing there.
set(home "${WORK_DIR}/home")
file(REMOVE_RECURSE "${home}")
file(MAKE_DIRECTORY "${home}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env HOME=${home} --unset=XDG_CONFIG_HOME --unset=XDG_STATE_HOME
                        "${TOOL}" folders
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "folders: rc=${rc} ${err}")
endif()
foreach(line "config           ${home}/.config/vornel/"
             "data             ${home}/Documents/VornelFiles/"
             "options file     ${home}/.config/vornel/BrioTabProfile.ini"
             "instrument base  ${home}/Documents/VornelFiles/Templates/DefaultInstruments.btix"
             "TemplatesPath    ${home}/Documents/VornelFiles/Templates/")
  string(FIND "${out}" "${line}\n" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "folders: no line '${line}' in:\n${out}")
  endif()
endforeach()
file(GLOB made "${home}/*" "${home}/.*")
if(made)
  message(FATAL_ERROR "folders made files: ${made}")
endif()
