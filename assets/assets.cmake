# Every shipped data file is compiled from its source under assets/ into the
# data directory. Each asset kind brings its own rules: assets/<kind>/rules.cmake.
# The rules add their outputs to the quennary_assets target.
add_custom_target(quennary_assets ALL)
file(GLOB QUENNARY_ASSET_RULES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/*/rules.cmake)
foreach(rules ${QUENNARY_ASSET_RULES})
  include(${rules})
endforeach()
