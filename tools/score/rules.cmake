# The score compiler: scores under assets/music/ become the game's MIDI files.
add_library(quennary_score_lib STATIC
  ${CMAKE_CURRENT_LIST_DIR}/score_parse.cpp ${CMAKE_CURRENT_LIST_DIR}/score_midi.cpp)
target_include_directories(quennary_score_lib PUBLIC ${CMAKE_SOURCE_DIR})
add_executable(quennary-score ${CMAKE_CURRENT_LIST_DIR}/score_main.cpp)
target_link_libraries(quennary-score PRIVATE quennary_score_lib)
