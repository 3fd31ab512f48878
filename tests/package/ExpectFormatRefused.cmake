cmake_minimum_required(VERSION 3.25)
# Runs CheckWindowsProgram.cmake on a program linked without the header
# fields a release needs, and requires it to fail naming each missing one.
#   cmake -DPROGRAM=<exe> -DOBJDUMP=<objdump> -DEXPECTED_FORMAT=<format> -DSOURCE=<tree>
#         -P ExpectFormatRefused.cmake
execute_process(COMMAND ${CMAKE_COMMAND} -DPROGRAM=${PROGRAM} -DOBJDUMP=${OBJDUMP} -DEXPECTED_FORMAT=${EXPECTED_FORMAT}
                        -P ${SOURCE}/cmake/CheckWindowsProgram.cmake
                RESULT_VARIABLE failed ERROR_VARIABLE report OUTPUT_VARIABLE output)
if(NOT failed)
  message(FATAL_ERROR "the check accepted ${PROGRAM}:\n${output}")
endif()
set(missing "")
foreach(phrase IN ITEMS "MajorSubsystemVersion is" "MajorOSystemVersion is 4" "lacks TERMINAL_SERVICE_AWARE"
                        "lacks DYNAMIC_BASE" "lacks NX_COMPAT" "has a time stamp")
  if(NOT report MATCHES "${phrase}")
    list(APPEND missing "${phrase}")
  endif()
endforeach()
if(EXPECTED_FORMAT STREQUAL "pei-x86-64" AND NOT report MATCHES "lacks HIGH_ENTROPY_VA")
  list(APPEND missing "lacks HIGH_ENTROPY_VA")
endif()
if(missing)
  message(FATAL_ERROR "the check refused ${PROGRAM} without naming: ${missing}\n${report}")
endif()
message(STATUS "refused, naming each missing field:\n${report}")
