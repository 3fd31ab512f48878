# The Windows program: a GUI-subsystem executable entered at WinMain, with
# the C and C++ runtimes linked in so that it needs only the system DLLs.
enable_language(RC)
add_executable(brisko WIN32 ${BRISKO_CORE_SOURCES} res/brisko.rc)
target_include_directories(brisko PRIVATE ${CMAKE_SOURCE_DIR})

# The application manifest carries the version and the processor it was built for.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(BRISKO_MANIFEST_ARCHITECTURE amd64)
else()
  set(BRISKO_MANIFEST_ARCHITECTURE x86)
endif()
set(BRISKO_VERSION_QUAD ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
set(generated_resources ${CMAKE_BINARY_DIR}/generated/res)
configure_file(res/brisko.manifest.in ${generated_resources}/brisko.manifest @ONLY)
set_source_files_properties(res/brisko.rc PROPERTIES COMPILE_FLAGS "-I${CMAKE_SOURCE_DIR}/res -I${generated_resources}"
  COMPILE_DEFINITIONS "BRISKO_VERSION_MAJOR=${PROJECT_VERSION_MAJOR};BRISKO_VERSION_MINOR=${PROJECT_VERSION_MINOR};BRISKO_VERSION_PATCH=${PROJECT_VERSION_PATCH}"
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/brisko.ico;${generated_resources}/brisko.manifest")

# Debugging information stays in build/: the release strips it from the
# shipped program and keeps this file in the symbols zip, to read a crash
# address with (addr2line -e brisko.exe). -g changes no generated code.
target_compile_options(brisko PRIVATE -g)

# The PE header as Windows expects of a small program today: a fixed
# subsystem version (5.01 runs on XP and later; 6.0 is the 64-bit
# convention), terminal-server aware, ASLR with relocations (high-entropy on
# 64-bit), DEP, and no link time stamp, so one revision always links to the
# same bytes.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(subsystem_version 6 0)
  set(address_options -Wl,--high-entropy-va)
else()
  set(subsystem_version 5 1)
  set(address_options "")
endif()
list(GET subsystem_version 0 major)
list(GET subsystem_version 1 minor)
target_link_options(brisko PRIVATE -static -static-libgcc -static-libstdc++ -mwindows
  -Wl,--major-subsystem-version,${major} -Wl,--minor-subsystem-version,${minor}
  -Wl,--major-os-version,${major} -Wl,--minor-os-version,${minor}
  -Wl,--tsaware -Wl,--dynamicbase -Wl,--nxcompat ${address_options} -Wl,--no-insert-timestamp)
target_link_libraries(brisko PRIVATE user32 gdi32 kernel32)

if(BUILD_TESTING)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME windows_program_format
           COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:brisko> -DOBJDUMP=${CMAKE_OBJDUMP}
                   -DEXPECTED_FORMAT=${BRISKO_PE_FORMAT} -P ${CMAKE_SOURCE_DIR}/cmake/CheckWindowsProgram.cmake)
  # The same check on a program linked the linker's way, without ASLR or DEP:
  # it must name every field the release sets.
  add_executable(plain_program WIN32 tests/package/fixtures/plain_program.c)
  target_link_options(plain_program PRIVATE -Wl,--insert-timestamp -Wl,--disable-dynamicbase -Wl,--disable-nxcompat
                      $<$<EQUAL:${CMAKE_SIZEOF_VOID_P},8>:-Wl,--disable-high-entropy-va>)
  add_test(NAME windows_program_format_refuses
           COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:plain_program> -DOBJDUMP=${CMAKE_OBJDUMP}
                   -DEXPECTED_FORMAT=${BRISKO_PE_FORMAT} -DSOURCE=${CMAKE_SOURCE_DIR}
                   -P ${CMAKE_SOURCE_DIR}/tests/package/ExpectFormatRefused.cmake)
  add_test(NAME windows_program_resources
           COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:brisko> -DWINDRES=${CMAKE_RC_COMPILER}
                   -DRESOURCE_HEADER=${CMAKE_SOURCE_DIR}/res/resource.h -DICON=${CMAKE_SOURCE_DIR}/res/brisko.ico
                   -DVERSION=${PROJECT_VERSION} -DPYTHON=${Python3_EXECUTABLE}
                   -DARCHITECTURE=${BRISKO_MANIFEST_ARCHITECTURE}
                   -P ${CMAKE_SOURCE_DIR}/cmake/CheckWindowsResources.cmake)
endif()
