# What a release ships, and how CPack packs it: on Windows a zip of the
# program with a README and the licence for Windows users; elsewhere a Debian
# package with the program, its menu entry, icons, manual page and copyright.
# Every file takes its version from project().
set(BRISKO_MAINTAINER "The Brisko developers <brisko@example.org>")

set(CPACK_PACKAGE_NAME brisko)
set(CPACK_PACKAGE_VENDOR "The Brisko developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "skinned front end of a music disk")
set(CPACK_PACKAGE_DESCRIPTION
    "Brisko is the front end of a music disk: one small, skinned, irregularly shaped
popup window whose every pixel comes from bitmaps built into the program. It
has eleven mouse-driven controls, an animated bar and a volume read-out. It
plays no sound.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(packaging ${CMAKE_SOURCE_DIR}/packaging)

if(WIN32)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(windows_name windows-x86)
  else()
    set(windows_name windows-x64)
  endif()
  set(CPACK_GENERATOR ZIP)
  set(BRISKO_ZIP_NAME brisko-${PROJECT_VERSION}-${windows_name})
  set(CPACK_PACKAGE_FILE_NAME ${BRISKO_ZIP_NAME})
  # Notepad and Explorer's preview read either, but CRLF is what Windows users' tools expect.
  configure_file(${packaging}/README-windows.txt.in ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
  # The zip's program is stripped here rather than by CPack: strip writes the
  # time (or SOURCE_DATE_EPOCH) into the PE header, and 0 keeps the header as
  # the linker wrote it, with no time stamp.
  set(CPACK_STRIP_FILES OFF)
  set(shipped_program ${CMAKE_BINARY_DIR}/release/brisko.exe)
  add_custom_command(OUTPUT ${shipped_program}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/release
                     COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0
                             ${CMAKE_STRIP} -o ${shipped_program} $<TARGET_FILE:brisko>
                     DEPENDS brisko COMMENT "Stripping brisko.exe for the zip")
  add_custom_target(brisko_shipped ALL DEPENDS ${shipped_program})
  install(PROGRAMS ${shipped_program} DESTINATION .)
  install(FILES ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_BINARY_DIR}/LICENSE.txt DESTINATION .)

  # Beside the zip, once CPack has written it (WindowsReleaseFiles.cmake):
  # the unstripped program in a symbols zip, and the winget and Scoop
  # manifests with the zip's SHA256. They point at where the publisher puts
  # the release files: set these two before a release.
  set(BRISKO_DOWNLOAD_URL "https://example.org/brisko/download/${PROJECT_VERSION}" CACHE STRING
      "The address of the folder the release files are published in (the zip is fetched from there)")
  set(BRISKO_HOMEPAGE_URL "https://example.org/brisko/" CACHE STRING
      "The address of Brisko's home page, named by the package-manager manifests")
  set(CPACK_BRISKO_DOWNLOAD_URL ${BRISKO_DOWNLOAD_URL})
  set(CPACK_BRISKO_HOMEPAGE_URL ${BRISKO_HOMEPAGE_URL})
  set(CPACK_BRISKO_ZIP_NAME ${BRISKO_ZIP_NAME})
  set(CPACK_BRISKO_ARCHITECTURE ${windows_name})
  set(CPACK_BRISKO_UNSTRIPPED_PROGRAM ${CMAKE_BINARY_DIR}/brisko.exe)
  set(CPACK_BRISKO_TEMPLATES ${packaging}/windows)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(CPACK_BRISKO_PYTHON ${Python3_EXECUTABLE})
  set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/WindowsReleaseFiles.cmake)
else()
  include(GNUInstallDirs)
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${BRISKO_MAINTAINER})
  set(CPACK_DEBIAN_PACKAGE_SECTION misc)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The libraries the program links come from dpkg-shlibdeps, with their versions.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

  install(TARGETS brisko RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${packaging}/brisko.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  # The icons the art generator draws, one per size: res/icon-<size>.png.
  file(GLOB icons RELATIVE ${CMAKE_SOURCE_DIR}/res CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/icon-*.png)
  foreach(icon IN LISTS icons)
    string(REGEX REPLACE "^icon-([0-9]+)\\.png$" "\\1" size ${icon})
    install(FILES ${CMAKE_SOURCE_DIR}/res/${icon} RENAME brisko.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()

  # The manual page and the changelog, gzipped without a time stamp so the
  # same sources give the same package.
  configure_file(${packaging}/brisko.1.in ${CMAKE_BINARY_DIR}/packaging/brisko.1 @ONLY)
  configure_file(${packaging}/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
  set(gzipped "")
  foreach(name brisko.1 changelog)
    set(plain ${CMAKE_BINARY_DIR}/packaging/${name})
    add_custom_command(OUTPUT ${plain}.gz COMMAND gzip -9 -n -f -k ${plain} DEPENDS ${plain}
                       COMMENT "Compressing ${name}")
    list(APPEND gzipped ${plain}.gz)
  endforeach()
  add_custom_target(packaging_documents ALL DEPENDS ${gzipped})
  install(FILES ${CMAKE_BINARY_DIR}/packaging/brisko.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${packaging}/copyright
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/brisko)
endif()

include(CPack)
