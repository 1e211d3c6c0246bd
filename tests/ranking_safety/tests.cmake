# The ranking under faults: the result scene killed while it saves, every
# write of the save failing in turn (the C library's file calls wrapped at
# link time, so the game's own code meets the errors), a full disk and a
# read-only folder.
file(GLOB ranking_safety_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_executable(test_ranking_safety ${ranking_safety_sources} ${CMAKE_SOURCE_DIR}/shell/variant_windowed.cpp)
target_link_libraries(test_ranking_safety PRIVATE quennary_core quennary_headless quennary_core
  GTest::gtest_main Threads::Threads)
target_link_options(test_ranking_safety PRIVATE
  -Wl,--wrap=fopen,--wrap=fwrite,--wrap=fflush,--wrap=fclose,--wrap=rename)
gtest_discover_tests(test_ranking_safety WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR}
  DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
