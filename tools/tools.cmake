# Each tool folder brings its own rules: tools/<name>/rules.cmake.
file(GLOB QUENNARY_TOOL_RULES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*/rules.cmake)
foreach(rules ${QUENNARY_TOOL_RULES})
  include(${rules})
endforeach()
