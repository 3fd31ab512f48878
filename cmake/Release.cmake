cmake_minimum_required(VERSION 3.25)
# Builds a release from the source tree: the native and windows-x86 presets,
# then CPack's Debian package and Windows zip (with the symbols zip and the
# package-manager manifests beside it, cmake/WindowsReleaseFiles.cmake), and
# SHA256SUMS over the files a user downloads.
#   cmake -DSOURCE=<tree> -DBUILD_ROOT=<dir> -DDIST=<dir> [-DJOBS=<n>] [-DPRODUCT_ONLY=ON]
#         -P cmake/Release.cmake
# The builds go to BUILD_ROOT/<preset>, the release files to DIST (emptied
# first). PRODUCT_ONLY builds the packaged files and nothing else (no tests).
# Every time stamp comes from SOURCE_DATE_EPOCH, the last commit's date
# unless it is set already: one revision always gives the same bytes.
foreach(required SOURCE BUILD_ROOT DIST)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "Release.cmake needs -D${required}=...")
  endif()
endforeach()
if(NOT DEFINED JOBS)
  set(JOBS 2)
endif()

if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C ${SOURCE} log -1 --format=%ct OUTPUT_VARIABLE epoch
                  OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
  if(failed OR NOT epoch MATCHES "^[0-9]+$")
    message(FATAL_ERROR "${SOURCE} is not a git checkout: set SOURCE_DATE_EPOCH to the release's date")
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
message(STATUS "SOURCE_DATE_EPOCH=$ENV{SOURCE_DATE_EPOCH}")

function(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${SOURCE} RESULT_VARIABLE failed)
  if(failed)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "failed: ${command}")
  endif()
endfunction()

set(configure_options "")
if(PRODUCT_ONLY)
  # CPack would otherwise build everything first, the tests included.
  set(configure_options -DBUILD_TESTING=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON)
endif()
foreach(preset native windows-x86)
  set(build ${BUILD_ROOT}/${preset})
  run(${CMAKE_COMMAND} --preset ${preset} -B ${build} ${configure_options})
  set(targets "")
  if(PRODUCT_ONLY)
    if(preset STREQUAL "native")
      set(targets --target brisko packaging_documents)
    else()
      set(targets --target brisko_shipped)
    endif()
  endif()
  run(${CMAKE_COMMAND} --build ${build} -j ${JOBS} ${targets})
endforeach()

file(REMOVE_RECURSE ${DIST})
foreach(preset native windows-x86)
  run(${CMAKE_CPACK_COMMAND} --config ${BUILD_ROOT}/${preset}/CPackConfig.cmake -B ${DIST})
endforeach()
file(REMOVE_RECURSE ${DIST}/_CPack_Packages)

# In the format sha256sum -c reads: the hash, two spaces, the file's name.
file(GLOB downloads RELATIVE ${DIST} ${DIST}/*.zip ${DIST}/*.deb)
list(SORT downloads)
set(sums "")
foreach(name IN LISTS downloads)
  file(SHA256 ${DIST}/${name} hash)
  string(APPEND sums "${hash}  ${name}\n")
endforeach()
file(WRITE ${DIST}/SHA256SUMS "${sums}")
message(STATUS "Release files in ${DIST}:\n${sums}")
