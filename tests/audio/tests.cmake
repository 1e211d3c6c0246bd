# The audio tests: test_audio runs the audio code on the headless backend;
# test_audio_sdl plays through the SDL backend into a file (SDL's disk
# audio driver) and measures it with sox.
#
# -DQUENNARY_AUDIO_TSAN=ON adds test_audio_tsan: the sequencer's thread
# tests built with ThreadSanitizer over the audio sources and the headless
# backend, for a build directory of its own.
file(GLOB QUENNARY_AUDIO_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
set(QUENNARY_AUDIO_SDL_TESTS ${QUENNARY_AUDIO_TESTS})
list(FILTER QUENNARY_AUDIO_TESTS EXCLUDE REGEX "_sdl_test\\.cpp$")
list(FILTER QUENNARY_AUDIO_SDL_TESTS INCLUDE REGEX "_sdl_test\\.cpp$")

add_executable(test_audio ${QUENNARY_AUDIO_TESTS} ${CMAKE_SOURCE_DIR}/shell/variant_windowed.cpp)
target_link_libraries(test_audio PRIVATE quennary_core quennary_headless quennary_core GTest::gtest_main Threads::Threads)
gtest_discover_tests(test_audio WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)

if(QUENNARY_AUDIO_SDL_TESTS)
  add_executable(test_audio_sdl ${QUENNARY_AUDIO_SDL_TESTS} ${CMAKE_SOURCE_DIR}/shell/variant_windowed.cpp)
  target_link_libraries(test_audio_sdl PRIVATE quennary_core quennary_sdl quennary_core GTest::gtest_main)
  gtest_discover_tests(test_audio_sdl WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
endif()

option(QUENNARY_AUDIO_TSAN "Build test_audio_tsan with ThreadSanitizer" OFF)
if(QUENNARY_AUDIO_TSAN)
  file(GLOB QUENNARY_AUDIO_TSAN_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/audio/*.cpp ${CMAKE_SOURCE_DIR}/platform/headless/*.cpp)
  add_executable(test_audio_tsan ${CMAKE_CURRENT_LIST_DIR}/sequencer_thread_test.cpp
    ${QUENNARY_AUDIO_TSAN_SOURCES})
  target_include_directories(test_audio_tsan PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(test_audio_tsan PRIVATE -fsanitize=thread -g -O1)
  target_link_options(test_audio_tsan PRIVATE -fsanitize=thread)
  target_link_libraries(test_audio_tsan PRIVATE GTest::gtest_main Threads::Threads)
  gtest_discover_tests(test_audio_tsan WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
endif()

# The pack tool end to end, on one of the game's own source files.
add_test(NAME PackTool.PackedAndUnpackedIsTheSameFile
  COMMAND ${CMAKE_COMMAND} -DPACK=$<TARGET_FILE:quennary-pack> -DIN=${CMAKE_SOURCE_DIR}/audio/sequencer.cpp
          -DWORK=${CMAKE_BINARY_DIR}/pack-tool-check -P ${CMAKE_CURRENT_LIST_DIR}/pack_tool_check.cmake)
