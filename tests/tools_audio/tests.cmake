# Tests of the two audio compilers: they link the compilers' own code, and read
# the effects and songs the build put in res/.
file(GLOB QUENNARY_TOOLS_AUDIO_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_executable(test_tools_audio ${QUENNARY_TOOLS_AUDIO_TESTS})
target_link_libraries(test_tools_audio PRIVATE quennary_sfx_lib quennary_score_lib GTest::gtest_main Threads::Threads)
target_compile_definitions(test_tools_audio PRIVATE
  QUENNARY_SOURCE_DIR="${CMAKE_SOURCE_DIR}" QUENNARY_GAME_DIR="${QUENNARY_GAME_DIR}"
  QUENNARY_BINARY_DIR="${CMAKE_BINARY_DIR}")
add_dependencies(test_tools_audio quennary_assets)
gtest_discover_tests(test_tools_audio WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR}
  DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
