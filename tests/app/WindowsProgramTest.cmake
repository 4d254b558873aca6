# The built Windows program: it needs no DLL beyond Windows' own, and it
# converts the golden legacy file into the golden version-5 file byte for
# byte, with Japanese names on its command line and on disk.
#
#   cmake -DPROGRAM=toviconv.exe -DOBJDUMP=... -DRUNNER=a|b|c -DDATA=tests/data -DWORK=folder
#         -P WindowsProgramTest.cmake
# RUNNER is what starts the program ("|"-separated; empty to start it directly).
cmake_minimum_required(VERSION 3.20)

string(REPLACE "|" ";" RUNNER "${RUNNER}")

execute_process(COMMAND ${OBJDUMP} -p "${PROGRAM}" OUTPUT_VARIABLE HEADERS COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "DLL Name: [^\n]+" IMPORTS "${HEADERS}")
foreach(IMPORT IN LISTS IMPORTS)
  string(TOUPPER "${IMPORT}" IMPORT)
  if(NOT IMPORT MATCHES "^DLL NAME: (KERNEL32|USER32|GDI32|SHELL32|ADVAPI32|COMDLG32|COMCTL32|OLE32|OLEAUT32|MSVCRT|UCRTBASE|API-MS-WIN-[-A-Z0-9]+)\\.DLL$")
    message(FATAL_ERROR "${PROGRAM} needs a DLL that is not Windows' own: ${IMPORT}")
  endif()
endforeach()
set(FOLDER "${WORK}/ラベル")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${FOLDER}")
file(COPY_FILE "${DATA}/card_v2.FDF" "${FOLDER}/旧USER.FDF")
file(WRITE "${FOLDER}/新USER.YLI" "old")

execute_process(COMMAND ${RUNNER} "${PROGRAM}" convert "ラベル/旧USER.FDF" "ラベル/新USER.YLI"
                WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE RESULT ERROR_VARIABLE ERRORS)
if(NOT RESULT EQUAL 0)
  message(FATAL_ERROR "convert ended with ${RESULT}: ${ERRORS}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${FOLDER}/新USER.YLI" "${DATA}/card_v5.YLI"
                RESULT_VARIABLE DIFFERENT)
if(DIFFERENT)
  message(FATAL_ERROR "the output differs from ${DATA}/card_v5.YLI")
endif()
file(GLOB LEFT RELATIVE "${FOLDER}" "${FOLDER}/*")
list(SORT LEFT)
if(NOT LEFT STREQUAL "新USER.YLI;新USER.YLI.bak;旧USER.FDF")
  message(FATAL_ERROR "the folder holds ${LEFT}")
endif()
file(READ "${FOLDER}/新USER.YLI.bak" BACKUP)
if(NOT BACKUP STREQUAL "old" OR NOT ERRORS MATCHES "新USER.YLI.bak")
  message(FATAL_ERROR "the backup holds '${BACKUP}'; the program said '${ERRORS}'")
endif()
file(REMOVE_RECURSE "${WORK}")
