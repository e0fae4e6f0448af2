# Runs at build time (cmake -P): lists the program folder's shipped files
# (the language and help files the build put into share/lumara, whichever
# exist now) for the setup script, and runs makensis when the list or any
# input changed since the setup program was last made.
#
# Expects: MAKENSIS, SCRIPT, SAVER, LICENSE, PROGRAM_FOLDER (language files),
# HELP_FOLDER (help files), ARCH, VERSION, OUTPUT, LIST.
file(GLOB shipped ${PROGRAM_FOLDER}/*.lang ${HELP_FOLDER}/*.chm)
list(SORT shipped)

set(install_lines "")
set(remove_lines "")
foreach(file IN LISTS shipped)
  get_filename_component(name ${file} NAME)
  string(APPEND install_lines "  File \"${file}\"\n")
  string(APPEND remove_lines "  Delete \"$INSTDIR\\${name}\"\n")
endforeach()
set(list_text "; Made by make_setup.cmake: the program folder's shipped files.
!macro InstallProgramFiles
${install_lines}!macroend
!macro RemoveProgramFiles
${remove_lines}!macroend
")

set(stale FALSE)
if(EXISTS ${LIST})
  file(READ ${LIST} old_text)
  if(NOT old_text STREQUAL list_text)
    set(stale TRUE)
  endif()
else()
  set(stale TRUE)
endif()
if(stale)
  file(WRITE ${LIST} "${list_text}")
endif()

get_filename_component(script_dir ${SCRIPT} DIRECTORY)
file(GLOB setup_sources ${script_dir}/*.nsi ${script_dir}/*.nsh ${script_dir}/*.txt)
foreach(input IN LISTS shipped setup_sources SAVER LICENSE)
  if(${input} IS_NEWER_THAN ${OUTPUT})
    set(stale TRUE)
  endif()
endforeach()
if(NOT stale)
  return()
endif()

execute_process(
  COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8
    -DARCH=${ARCH} -DVERSION=${VERSION} -DSAVER=${SAVER} -DLICENSE=${LICENSE}
    -DOUTFILE=${OUTPUT} -DPROGRAM_FILES=${LIST} ${SCRIPT}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "makensis failed (${result})")
endif()
