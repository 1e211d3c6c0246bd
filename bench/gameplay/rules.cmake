# Gameplay benchmark, run by hand:
#   bench_gameplay   one frame of play (update and draw) on a busy stage with
#       all 50 corpses on screen, and the tile contact pass alone (goal: a
#       frame's update well under 1 ms, a 16th of the 60 Hz frame)
find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_executable(bench_gameplay ${CMAKE_CURRENT_LIST_DIR}/frame_bench.cpp
    ${CMAKE_SOURCE_DIR}/shell/variant_windowed.cpp)
  target_link_libraries(bench_gameplay PRIVATE quennary_core quennary_headless quennary_core benchmark::benchmark)
endif()
