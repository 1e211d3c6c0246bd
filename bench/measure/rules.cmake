# Measurements, run by hand (none is a test); each prints its figures:
#   bench_measure_frame       a frame of play with 0, 10 and 50 corpses and the
#                             tile sweep: time, headroom against 16.7 ms,
#                             allocations per frame (must be 0)
#   bench_measure_memory      peak memory of a whole run (headless, drawn
#                             through SDL, and the game itself at its title)
#   bench_measure_startup     process start to the first presented frame of
#                             game_windowed on SDL's offscreen driver
#   bench_measure_midi [s]    note onsets against the ideal tempo map, our
#                             sequencer through the mixer and FluidSynth's
#                             own player, for the three songs and an outside
#                             MIDI file
#   bench_measure_effect      play_effect to the first sounding sample
#   bench_measure_lzss        the container decoder against a plain reference
find_package(benchmark QUIET)
set(QUENNARY_MEASURE_DIR ${CMAKE_CURRENT_LIST_DIR})
if(benchmark_FOUND)
  add_executable(bench_measure_frame ${QUENNARY_MEASURE_DIR}/frame_bench.cpp
    ${CMAKE_SOURCE_DIR}/tests/counting_allocator.cpp
    ${CMAKE_SOURCE_DIR}/shell/variant_windowed.cpp)
  target_link_libraries(bench_measure_frame PRIVATE quennary_core quennary_headless quennary_core
    benchmark::benchmark)
  target_compile_definitions(bench_measure_frame PRIVATE QUENNARY_GAME_DIR="${QUENNARY_GAME_DIR}")
endif()
if(benchmark_FOUND)
  add_executable(bench_measure_lzss ${QUENNARY_MEASURE_DIR}/lzss_bench.cpp)
  target_link_libraries(bench_measure_lzss PRIVATE quennary_core quennary_headless quennary_core benchmark::benchmark)
  target_compile_definitions(bench_measure_lzss PRIVATE QUENNARY_GAME_DIR="${QUENNARY_GAME_DIR}")
endif()
add_executable(bench_measure_effect ${QUENNARY_MEASURE_DIR}/effect_latency.cpp ${CMAKE_SOURCE_DIR}/shell/variant_windowed.cpp)
target_link_libraries(bench_measure_effect PRIVATE quennary_core quennary_sdl quennary_core)
target_compile_definitions(bench_measure_effect PRIVATE QUENNARY_GAME_DIR="${QUENNARY_GAME_DIR}")
add_executable(bench_measure_midi ${QUENNARY_MEASURE_DIR}/midi_side_by_side.cpp ${CMAKE_SOURCE_DIR}/shell/variant_windowed.cpp)
target_link_libraries(bench_measure_midi PRIVATE quennary_core quennary_sdl quennary_core)
target_compile_definitions(bench_measure_midi PRIVATE QUENNARY_GAME_DIR="${QUENNARY_GAME_DIR}")
# The backend's calls into the synthesizer are counted on their way, and
# the benchmark's own card renders in place of the device.
target_link_options(bench_measure_midi PRIVATE
  -Wl,--wrap=fluid_synth_noteon,--wrap=fluid_synth_write_float,--wrap=_Z14sdl_audio_openv)
if(EXISTS ${CMAKE_SOURCE_DIR}/platform/sdl/sdl_main.cpp)
  add_executable(bench_measure_startup_probe ${CMAKE_SOURCE_DIR}/shell/variant_windowed.cpp
    ${CMAKE_SOURCE_DIR}/platform/sdl/sdl_main.cpp ${QUENNARY_MEASURE_DIR}/startup_probe.cpp)
  target_link_libraries(bench_measure_startup_probe PRIVATE quennary_core quennary_sdl quennary_core)
  target_link_options(bench_measure_startup_probe PRIVATE -Wl,--wrap=_Z15video_end_framev)
  add_executable(bench_measure_startup ${QUENNARY_MEASURE_DIR}/startup_bench.cpp)
  target_compile_definitions(bench_measure_startup PRIVATE QUENNARY_GAME_DIR="${QUENNARY_GAME_DIR}"
    QUENNARY_PROBE="$<TARGET_FILE:bench_measure_startup_probe>")
  add_dependencies(bench_measure_startup bench_measure_startup_probe)
endif()
add_executable(bench_measure_memory ${QUENNARY_MEASURE_DIR}/memory_bench.cpp)
target_include_directories(bench_measure_memory PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(bench_measure_memory PRIVATE QUENNARY_GAME_DIR="${QUENNARY_GAME_DIR}"
  QUENNARY_SOLUTIONS_DIR="${CMAKE_SOURCE_DIR}/tests/solutions")
