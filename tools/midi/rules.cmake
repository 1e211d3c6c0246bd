# quennary-midi FILE: prints the merged event list of a MIDI file as the
# game's reader builds it, then its system-exclusive messages.
add_executable(quennary-midi ${CMAKE_CURRENT_LIST_DIR}/midi_dump.cpp)
target_link_libraries(quennary-midi PRIVATE quennary_core quennary_headless quennary_core)
set_target_properties(quennary-midi PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
