# The SDL backend's own tests: they link the real SDL services (not the
# headless ones) and run on SDL's offscreen video driver, no display needed.
file(GLOB sdl_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_executable(test_sdl ${sdl_test_sources})
target_link_libraries(test_sdl PRIVATE quennary_core quennary_sdl quennary_core GTest::gtest_main)
gtest_discover_tests(test_sdl WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR}
  DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
