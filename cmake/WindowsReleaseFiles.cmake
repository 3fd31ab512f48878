# Run by CPack once it has written the Windows zip (CPACK_POST_BUILD_SCRIPTS):
# writes beside it the symbols zip, holding the program as it was linked,
# before CPack stripped it, and the winget and Scoop manifests, with the
# zip's SHA256 and its download address. Dates come from SOURCE_DATE_EPOCH
# when it is set, so one revision always gives the same files.
list(FILTER CPACK_PACKAGE_FILES INCLUDE REGEX "/${CPACK_BRISKO_ZIP_NAME}\\.zip$")
list(LENGTH CPACK_PACKAGE_FILES zip_count)
if(NOT zip_count EQUAL 1)
  message(FATAL_ERROR "CPack wrote no ${CPACK_BRISKO_ZIP_NAME}.zip")
endif()
# The zip is still in CPack's own folder; the files go where CPack will put it.
set(zip ${CPACK_PACKAGE_FILES})
set(destination ${CPACK_PACKAGE_DIRECTORY})
string(TIMESTAMP epoch "%s" UTC)

# The symbols zip: the unstripped brisko.exe has the same code at the same
# addresses as the shipped one, plus its symbols and line tables.
set(symbols_name ${CPACK_BRISKO_ZIP_NAME}-symbols)
set(staging ${destination}/_${symbols_name})
file(REMOVE_RECURSE ${staging})
file(COPY ${CPACK_BRISKO_UNSTRIPPED_PROGRAM} DESTINATION ${staging}/${symbols_name})
execute_process(COMMAND ${CPACK_BRISKO_PYTHON} -B ${CMAKE_CURRENT_LIST_DIR}/write_zip.py
                        ${destination}/${symbols_name}.zip ${epoch} ${staging}/${symbols_name}
                RESULT_VARIABLE failed)
file(REMOVE_RECURSE ${staging})
if(failed)
  message(FATAL_ERROR "cannot write ${symbols_name}.zip")
endif()

# The manifests. winget wants the hash in capitals, Scoop takes either.
set(BRISKO_VERSION ${CPACK_PACKAGE_VERSION})
set(BRISKO_ZIP_NAME ${CPACK_BRISKO_ZIP_NAME})
set(BRISKO_ZIP_URL ${CPACK_BRISKO_DOWNLOAD_URL}/${CPACK_BRISKO_ZIP_NAME}.zip)
set(BRISKO_HOMEPAGE_URL ${CPACK_BRISKO_HOMEPAGE_URL})
string(REPLACE "windows-" "" BRISKO_WINGET_ARCHITECTURE ${CPACK_BRISKO_ARCHITECTURE})
file(SHA256 ${zip} BRISKO_ZIP_SHA256)
string(TOUPPER ${BRISKO_ZIP_SHA256} BRISKO_ZIP_SHA256_UPPER)
string(TIMESTAMP BRISKO_RELEASE_DATE "%Y-%m-%d" UTC)
foreach(template Brisko.Brisko.yaml Brisko.Brisko.installer.yaml Brisko.Brisko.locale.en-US.yaml)
  configure_file(${CPACK_BRISKO_TEMPLATES}/${template}.in ${destination}/winget/${template} @ONLY)
endforeach()
configure_file(${CPACK_BRISKO_TEMPLATES}/brisko.json.in ${destination}/brisko.json @ONLY)
if(CPACK_BRISKO_DOWNLOAD_URL MATCHES "^https://example\\.org/")
  message(WARNING "The package-manager manifests download ${BRISKO_ZIP_URL}, a placeholder: "
                  "configure with -DBRISKO_DOWNLOAD_URL=<the release folder's address> "
                  "(and -DBRISKO_HOMEPAGE_URL) before publishing them.")
endif()
message(STATUS "Wrote ${symbols_name}.zip, winget/ and brisko.json beside ${CPACK_BRISKO_ZIP_NAME}.zip")
