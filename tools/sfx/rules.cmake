# The effect synthesizer: recipes under assets/sounds/ become the game's WAV files.
add_library(quennary_sfx_lib STATIC
  ${CMAKE_CURRENT_LIST_DIR}/sfx_recipe.cpp ${CMAKE_CURRENT_LIST_DIR}/sfx_synth.cpp)
target_include_directories(quennary_sfx_lib PUBLIC ${CMAKE_SOURCE_DIR})
add_executable(quennary-sfx ${CMAKE_CURRENT_LIST_DIR}/sfx_main.cpp)
target_link_libraries(quennary-sfx PRIVATE quennary_sfx_lib)
