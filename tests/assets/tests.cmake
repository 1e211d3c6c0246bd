# The pictures: the raster library of the art compiler, and the PNG files the
# build drew into res/ (read back through SDL2_image).
file(GLOB QUENNARY_ASSETS_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_executable(test_assets ${QUENNARY_ASSETS_TESTS})
target_link_libraries(test_assets PRIVATE quennary_art_lib GTest::gtest_main Threads::Threads)
target_compile_definitions(test_assets PRIVATE
  QUENNARY_SOURCE_DIR="${CMAKE_SOURCE_DIR}" QUENNARY_GAME_DIR="${QUENNARY_GAME_DIR}"
  QUENNARY_BINARY_DIR="${CMAKE_BINARY_DIR}" QUENNARY_ART_TOOL="$<TARGET_FILE:quennary-art>")
add_dependencies(test_assets quennary_assets)
gtest_discover_tests(test_assets WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR}
  DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
