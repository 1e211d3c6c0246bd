# The Win32 backend's own tests run under Wine, so they are built by the
# Windows build only (platform/win32/win32.cmake includes this file) and run
# by tests/windows/run.sh, not by the Linux test suite.
if(NOT QUENNARY_WINDOWS)
  return()
endif()

# The smoke test's launcher, which reports a program's exit code as Windows
# gives it to the parent.
add_executable(exit_code_probe ${CMAKE_SOURCE_DIR}/tests/windows/probe/exit_code_probe.cpp)
target_link_options(exit_code_probe PRIVATE ${QUENNARY_WIN32_LINK_OPTIONS})
set_target_properties(exit_code_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

# GoogleTest from the Debian source package, built with the cross compiler.
set(QUENNARY_GTEST_SOURCE /usr/src/googletest/googletest CACHE PATH "GoogleTest sources to build for Windows")
if(NOT EXISTS ${QUENNARY_GTEST_SOURCE}/CMakeLists.txt)
  message(STATUS "No GoogleTest sources at ${QUENNARY_GTEST_SOURCE}: test_windows is not built")
  return()
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUENNARY_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB QUENNARY_WINDOWS_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/windows/*.cpp)
add_executable(test_windows ${QUENNARY_WINDOWS_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/shell/variant_windowed.cpp
  ${QUENNARY_WIN32_DIR}/quennary.rc ${CMAKE_SOURCE_DIR}/tests/windows/test_resources.rc)
target_include_directories(test_windows PRIVATE ${QUENNARY_WIN32_DIR} ${QUENNARY_WIN32_OUT})
target_link_libraries(test_windows PRIVATE quennary_core quennary_win32 quennary_core gtest_main)
target_link_options(test_windows PRIVATE ${QUENNARY_WIN32_LINK_OPTIONS})
add_dependencies(test_windows quennary_icon)
set_target_properties(test_windows PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
