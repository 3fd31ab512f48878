cmake_minimum_required(VERSION 3.25)
# Checks the resources in the Windows program: the skin's bitmaps and region
# exactly as the resource header numbers them, the program file's icon in
# every size of the .ico, and version details that give the project's version.
# check_resource_data.py then reads the region block as Windows would and the
# application manifest.
#   cmake -DPROGRAM=<exe> -DWINDRES=<windres> -DRESOURCE_HEADER=<res/resource.h>
#         -DICON=<res/brisko.ico> -DVERSION=<x.y.z> -DPYTHON=<python3>
#         -DARCHITECTURE=<x86|amd64> -P CheckWindowsResources.cmake
execute_process(COMMAND ${WINDRES} -i ${PROGRAM} -O rc OUTPUT_VARIABLE script RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${WINDRES} cannot read the resources of ${PROGRAM}")
endif()
set(problems "")

# Every bitmap and the region under the header's numbers, and nothing else.
file(STRINGS ${RESOURCE_HEADER} defines REGEX "^#define (IDB|IDR)_[A-Z0-9_]+ [0-9]+")
set(expected "")
foreach(define IN LISTS defines)
  string(REGEX REPLACE "^#define ([A-Z0-9_]+) ([0-9]+)$" "\\1;\\2" parts "${define}")
  list(GET parts 0 name)
  list(GET parts 1 number)
  if(name MATCHES "^IDR_")
    list(APPEND expected "${number} \"BINARY\"")
  else()
    list(APPEND expected "${number} 2 /\\* RT_BITMAP \\*/")
  endif()
endforeach()
string(REGEX MATCHALL "\n[0-9]+ (2 /\\* RT_BITMAP \\*/|\"BINARY\")" found "${script}")
list(LENGTH found found_count)
list(LENGTH expected expected_count)
if(NOT found_count EQUAL expected_count)
  list(APPEND problems "${found_count} bitmaps and binary resources, expected ${expected_count}")
endif()
foreach(entry IN LISTS expected)
  if(NOT script MATCHES "\n${entry}\n")
    list(APPEND problems "no resource \"${entry}\"")
  endif()
endforeach()

# The icon group lists every image of the .ico (its count: bytes 4 and 5).
file(READ ${ICON} icon_count_hex OFFSET 4 LIMIT 2 HEX)
string(SUBSTRING "${icon_count_hex}" 0 2 low)
string(SUBSTRING "${icon_count_hex}" 2 2 high)
math(EXPR size_count "0x${high}${low}")
if(NOT script MATCHES "RT_GROUP_ICON \\*/\nBEGIN\n[^\n]*Has ([0-9]+) elements")
  list(APPEND problems "no icon group")
else()
  set(element_count ${CMAKE_MATCH_1})
  if(NOT element_count EQUAL size_count)
    list(APPEND problems "the icon group has ${element_count} images, ${ICON} ${size_count}")
  endif()
endif()

string(REPLACE "." ", " comma_version "${VERSION}")
foreach(line IN ITEMS "FILEVERSION ${comma_version}, 0" "PRODUCTVERSION ${comma_version}, 0"
                      "VALUE \"FileVersion\", \"${VERSION}\"" "VALUE \"ProductVersion\", \"${VERSION}\""
                      "VALUE \"ProductName\", \"Brisko\"" "VALUE \"OriginalFilename\", \"brisko.exe\""
                      "VALUE \"LegalCopyright\", \"Copyright \\(c\\) 2026 The Brisko developers\"")
  if(NOT script MATCHES "${line}")
    list(APPEND problems "the version resource lacks ${line}")
  endif()
endforeach()

# The region and the manifest, from the resources as the resource compiler's own file holds them.
file(STRINGS ${RESOURCE_HEADER} region_define REGEX "^#define IDR_REGION [0-9]+")
string(REGEX REPLACE "^#define IDR_REGION ([0-9]+)$" "\\1" region_id "${region_define}")
string(RANDOM LENGTH 8 scratch_name)
set(compiled ${CMAKE_CURRENT_BINARY_DIR}/resources-${scratch_name}.res)
execute_process(COMMAND ${WINDRES} -i ${PROGRAM} -O res -o ${compiled} RESULT_VARIABLE failed)
if(failed)
  list(APPEND problems "${WINDRES} cannot write the resources of ${PROGRAM} as a .res file")
else()
  execute_process(COMMAND ${PYTHON} -B ${CMAKE_CURRENT_LIST_DIR}/check_resource_data.py program ${compiled}
                          --region-id ${region_id} --version ${VERSION} --architecture ${ARCHITECTURE}
                  OUTPUT_VARIABLE data_report OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
  file(REMOVE ${compiled})
  if(failed)
    list(APPEND problems "${data_report}")
  endif()
endif()

if(problems)
  list(JOIN problems "\n  " report)
  message(FATAL_ERROR "${PROGRAM}:\n  ${report}")
endif()
message(STATUS "${PROGRAM}: ${expected_count} skin resources, an icon of ${element_count} sizes, version ${VERSION}, "
               "a region block Windows accepts, a manifest for ${ARCHITECTURE} that states all it must")
