# The resource script compiled into a table for the layer, the way the
# resource compiler would have linked it into a Windows program.
add_executable(rcembed tools/rcembed/rcembed.cpp)
if(EMSCRIPTEN)
  # Runs under Node.js at build time (the toolchain's emulator), on the
  # host's files, compiled in at once rather than fetched.
  target_link_options(rcembed PRIVATE -sNODERAWFS=1 -sENVIRONMENT=node -sWASM_ASYNC_COMPILATION=0 -sEXIT_RUNTIME=1)
endif()
file(GLOB BRISKO_RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*.bmp ${CMAKE_SOURCE_DIR}/res/*.bin)
set(BRISKO_RESOURCE_TABLE ${CMAKE_BINARY_DIR}/generated/ProgramResources.cpp)
add_custom_command(
  OUTPUT ${BRISKO_RESOURCE_TABLE}
  COMMAND rcembed ${CMAKE_SOURCE_DIR}/res/brisko.rc ${BRISKO_RESOURCE_TABLE}
  DEPENDS rcembed ${CMAKE_SOURCE_DIR}/res/brisko.rc ${CMAKE_SOURCE_DIR}/res/resource.h ${BRISKO_RESOURCE_FILES}
  COMMENT "Embedding the resources of res/brisko.rc")
add_library(brisko_resources STATIC ${BRISKO_RESOURCE_TABLE})
target_link_libraries(brisko_resources PUBLIC layer)
