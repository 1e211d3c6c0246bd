# The shipped data files read through the game's own readers: the build's
# data directory must be complete before these run.
file(GLOB QUENNARY_CONTENT_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_executable(test_content ${QUENNARY_CONTENT_TESTS} ${CMAKE_SOURCE_DIR}/shell/variant_windowed.cpp)
target_link_libraries(test_content PRIVATE quennary_core quennary_headless quennary_core GTest::gtest_main Threads::Threads)
target_compile_definitions(test_content PRIVATE QUENNARY_GAME_DIR="${QUENNARY_GAME_DIR}")
add_dependencies(test_content quennary_assets)
gtest_discover_tests(test_content WORKING_DIRECTORY ${QUENNARY_GAME_DIR}
  DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
