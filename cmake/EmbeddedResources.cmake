# The resource script compiled into a table for the layer, the way the
# resource compiler would have linked it into a Windows program.
add_executable(rcembed tools/rcembed/rcembed.cpp)
file(GLOB BRISKO_RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*.bmp ${CMAKE_SOURCE_DIR}/res/*.bin)
set(BRISKO_RESOURCE_TABLE ${CMAKE_BINARY_DIR}/generated/ProgramResources.cpp)
add_custom_command(
  OUTPUT ${BRISKO_RESOURCE_TABLE}
  COMMAND rcembed ${CMAKE_SOURCE_DIR}/res/brisko.rc ${BRISKO_RESOURCE_TABLE}
  DEPENDS rcembed ${CMAKE_SOURCE_DIR}/res/brisko.rc ${CMAKE_SOURCE_DIR}/res/resource.h ${BRISKO_RESOURCE_FILES}
  COMMENT "Embedding the resources of res/brisko.rc")
add_library(brisko_resources STATIC ${BRISKO_RESOURCE_TABLE})
target_link_libraries(brisko_resources PUBLIC layer)
