# Runs TOOL without arguments: it must print its usage and end with status 1.
execute_process(COMMAND ${TOOL} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
set(expected "Uso:\nmake_sample_rom <arquivo> [--large] [--copier-header]\n")
if(NOT status EQUAL 1 OR NOT output STREQUAL expected OR NOT errors STREQUAL "")
  message(FATAL_ERROR "status ${status}, output [${output}], errors [${errors}]")
endif()
