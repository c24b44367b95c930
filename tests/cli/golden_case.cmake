# Converts one golden log and compares the track with the expected one byte for byte.
#   cmake -DPROGRAM=... [-DEMULATOR=...] -DCASE=tests/cases/NAME -DWORK=folder -P golden_case.cmake
get_filename_component(name "${CASE}" NAME)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${CASE}.log" DESTINATION "${WORK}")
# Relative names, so that Wine and Linux see the same ones.
execute_process(
  COMMAND ${EMULATOR} "${PROGRAM}" --date 2009-08-12 "${name}.log"
  WORKING_DIRECTORY "${WORK}"
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT output STREQUAL "" OR NOT errors STREQUAL "")
  message(FATAL_ERROR "log2plt ${name}.log: status ${status}, output '${output}', errors '${errors}'")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK}/${name}.plt" "${CASE}.plt"
                RESULT_VARIABLE different)
if(different)
  message(FATAL_ERROR "${name}.plt differs from the expected track")
endif()
