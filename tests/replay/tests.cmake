# The replay runner, the stage compiler and the ranking seed: the parsers
# linked in, and the programs themselves run in temporary data folders.
file(GLOB replay_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_executable(test_replay ${replay_test_sources}
  ${CMAKE_SOURCE_DIR}/tools/replay/replay_script.cpp
  ${CMAKE_SOURCE_DIR}/tools/replay/replay_args.cpp
  ${CMAKE_SOURCE_DIR}/tools/stage/stage_text.cpp)
target_include_directories(test_replay PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(test_replay PRIVATE GTest::gtest_main Threads::Threads)
target_compile_definitions(test_replay PRIVATE
  QUENNARY_STAGE_TOOL="$<TARGET_FILE:quennary-stage>"
  QUENNARY_REPLAY_TOOL="$<TARGET_FILE:quennary-replay>"
  QUENNARY_RANKING_SEED_TOOL="$<TARGET_FILE:quennary-ranking-seed>"
  QUENNARY_REPLAY_FIXTURES="${CMAKE_CURRENT_LIST_DIR}/fixtures")
add_dependencies(test_replay quennary-replay quennary-replay-sdl quennary-stage quennary-ranking-seed)
gtest_discover_tests(test_replay WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR}
  DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
