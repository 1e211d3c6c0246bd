# quennary-pack pack IN OUT: writes IN into a ".dpa" container OUT.
# quennary-pack unpack IN OUT: expands the container IN into OUT through
# the game's own reader.
add_executable(quennary-pack ${CMAKE_CURRENT_LIST_DIR}/pack_tool.cpp)
target_link_libraries(quennary-pack PRIVATE quennary_core quennary_headless quennary_core)
set_target_properties(quennary-pack PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
