# The Windows program: a GUI-subsystem executable entered at WinMain, with
# the C and C++ runtimes linked in so that it needs only the system DLLs.
enable_language(RC)
add_executable(brisko WIN32 ${BRISKO_CORE_SOURCES} res/brisko.rc)
target_include_directories(brisko PRIVATE ${CMAKE_SOURCE_DIR})
set_source_files_properties(res/brisko.rc PROPERTIES COMPILE_FLAGS "-I${CMAKE_SOURCE_DIR}/res"
  COMPILE_DEFINITIONS "BRISKO_VERSION_MAJOR=${PROJECT_VERSION_MAJOR};BRISKO_VERSION_MINOR=${PROJECT_VERSION_MINOR};BRISKO_VERSION_PATCH=${PROJECT_VERSION_PATCH}"
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/res/brisko.ico)
target_link_options(brisko PRIVATE -static -static-libgcc -static-libstdc++ -mwindows)
target_link_libraries(brisko PRIVATE user32 gdi32 kernel32)

if(BUILD_TESTING)
  add_test(NAME windows_program_format
           COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:brisko> -DOBJDUMP=${CMAKE_OBJDUMP}
                   -DEXPECTED_FORMAT=${BRISKO_PE_FORMAT} -P ${CMAKE_SOURCE_DIR}/cmake/CheckWindowsProgram.cmake)
  add_test(NAME windows_program_resources
           COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:brisko> -DWINDRES=${CMAKE_RC_COMPILER}
                   -DRESOURCE_HEADER=${CMAKE_SOURCE_DIR}/res/resource.h -DICON=${CMAKE_SOURCE_DIR}/res/brisko.ico
                   -DVERSION=${PROJECT_VERSION} -P ${CMAKE_SOURCE_DIR}/cmake/CheckWindowsResources.cmake)
endif()
