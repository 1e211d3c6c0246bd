# The replay runner built for Windows: the same core on the headless
# backend, so a scripted replay under Wine can be compared with the Linux
# runner's trace byte for byte (tests/windows/replay_compare.sh).
# Built once the runner has its rules for the Linux build, that is once the
# gameplay it drives exists in the core.
set(QUENNARY_REPLAY_DIR ${CMAKE_SOURCE_DIR}/tools/replay)
if(NOT EXISTS ${QUENNARY_REPLAY_DIR}/rules.cmake OR NOT EXISTS ${QUENNARY_REPLAY_DIR}/replay_backend_headless.cpp)
  return()
endif()
file(GLOB QUENNARY_REPLAY_SOURCES CONFIGURE_DEPENDS ${QUENNARY_REPLAY_DIR}/*.cpp)
# The drawing twin is the SDL build's; this one draws nothing.
list(FILTER QUENNARY_REPLAY_SOURCES EXCLUDE REGEX "replay_backend_[a-z]+\\.cpp$")
add_executable(quennary-replay ${QUENNARY_REPLAY_SOURCES} ${QUENNARY_REPLAY_DIR}/replay_backend_headless.cpp
  ${CMAKE_SOURCE_DIR}/shell/variant_windowed.cpp)
target_include_directories(quennary-replay PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(quennary-replay PRIVATE -include ${QUENNARY_WIN32_DIR}/replay_posix.h)
target_link_libraries(quennary-replay PRIVATE quennary_core quennary_headless quennary_core)
target_link_options(quennary-replay PRIVATE ${QUENNARY_WIN32_LINK_OPTIONS})
set_target_properties(quennary-replay PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
