# cmake -DSKINART=<exe> -DOUTPUT_DIR=<scratch dir> -DREFERENCE_DIR=<res dir> -P CompareWithCommitted.cmake
#
# Runs skinart into a fresh scratch directory and checks that every file it
# writes is byte for byte the committed one. Names every file that differs or
# is missing, so a failure says which picture to regenerate or review.

foreach(var SKINART OUTPUT_DIR REFERENCE_DIR)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "CompareWithCommitted.cmake needs -D${var}=...")
    endif()
endforeach()

# Start empty so a file skinart no longer writes cannot linger and pass.
file(REMOVE_RECURSE "${OUTPUT_DIR}")
file(MAKE_DIRECTORY "${OUTPUT_DIR}")

execute_process(COMMAND "${SKINART}" "${OUTPUT_DIR}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "skinart failed (${status})")
endif()

file(GLOB generated RELATIVE "${OUTPUT_DIR}" "${OUTPUT_DIR}/*")
list(SORT generated)
list(LENGTH generated count)
if(count EQUAL 0)
    message(FATAL_ERROR "skinart wrote no files into ${OUTPUT_DIR}")
endif()

set(problems "")
foreach(name IN LISTS generated)
    if(NOT EXISTS "${REFERENCE_DIR}/${name}")
        list(APPEND problems "${name}: missing from ${REFERENCE_DIR}")
        continue()
    endif()
    execute_process(
        COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUTPUT_DIR}/${name}" "${REFERENCE_DIR}/${name}"
        RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
        list(APPEND problems "${name}: differs from the committed copy")
    endif()
endforeach()

if(problems)
    list(JOIN problems "\n  " report)
    message(FATAL_ERROR "generated skin does not match ${REFERENCE_DIR}:\n  ${report}\n"
                        "Regenerate with: skinart ${REFERENCE_DIR}")
endif()
message(STATUS "all ${count} skin files match ${REFERENCE_DIR}")
