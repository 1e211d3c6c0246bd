# Frame pacing of the SDL game window: updates per second over a run of the
# frame loop's own shape. Run it on a display (or under Xvfb):
#   bench_sdl_pacing [seconds]    -> should print 60 +- 1 updates a second
add_executable(bench_sdl_pacing ${CMAKE_CURRENT_LIST_DIR}/pacing_bench.cpp)
target_link_libraries(bench_sdl_pacing PRIVATE quennary_core quennary_sdl quennary_core)
