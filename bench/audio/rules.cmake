# Audio benchmarks, run by hand:
#   bench_audio_midi_timing [notes]  where sent MIDI notes land in the
#       rendered stream: prints the spread of their onsets once the constant
#       latency is taken away (goal: at most 2 ms at p99)
#   bench_audio_lzss                 the container decoder's speed in MB/s
add_executable(bench_audio_midi_timing ${CMAKE_CURRENT_LIST_DIR}/midi_timing_bench.cpp)
target_link_libraries(bench_audio_midi_timing PRIVATE quennary_core quennary_sdl quennary_core)

find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_executable(bench_audio_lzss ${CMAKE_CURRENT_LIST_DIR}/lzss_bench.cpp)
  target_link_libraries(bench_audio_lzss PRIVATE quennary_core quennary_headless quennary_core benchmark::benchmark)
endif()
