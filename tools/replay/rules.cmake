# quennary-replay: the game logic on the headless backend, at full speed,
# driven by a key script. quennary-replay-sdl: the same runner drawing
# through the SDL backend's video and text on an offscreen window, for
# screenshots; quennary-replay hands over to it when asked for pictures.
# Both live in the data directory, so `./quennary-replay --stage 1` runs
# there as the game does.
set(QUENNARY_REPLAY_DIR ${CMAKE_CURRENT_LIST_DIR})
set(QUENNARY_REPLAY_SOURCES
  ${QUENNARY_REPLAY_DIR}/replay_main.cpp
  ${QUENNARY_REPLAY_DIR}/replay_run.cpp
  ${QUENNARY_REPLAY_DIR}/replay_args.cpp
  ${QUENNARY_REPLAY_DIR}/replay_script.cpp)

add_executable(quennary-replay ${QUENNARY_REPLAY_SOURCES} ${QUENNARY_REPLAY_DIR}/replay_backend_headless.cpp)
target_link_libraries(quennary-replay PRIVATE quennary_core quennary_headless quennary_core Threads::Threads)
set_target_properties(quennary-replay PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUENNARY_GAME_DIR})

# Every headless service but video and text (and the reset that reaches
# into the video), plus the SDL device and fonts.
file(GLOB replay_headless_services CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/headless/*.cpp)
list(FILTER replay_headless_services EXCLUDE REGEX "headless_(video|text|reset)\\.cpp$")
add_executable(quennary-replay-sdl ${QUENNARY_REPLAY_SOURCES} ${QUENNARY_REPLAY_DIR}/replay_backend_sdl.cpp
  ${replay_headless_services}
  ${CMAKE_SOURCE_DIR}/platform/sdl/sdl_video.cpp
  ${CMAKE_SOURCE_DIR}/platform/sdl/sdl_text.cpp
  ${CMAKE_SOURCE_DIR}/platform/sdl/sdl_encoding.cpp
  ${CMAKE_SOURCE_DIR}/platform/sdl/sdl_pacing.cpp)
target_link_libraries(quennary-replay-sdl PRIVATE quennary_core PkgConfig::QUENNARY_SDL_DEPS Threads::Threads)
set_target_properties(quennary-replay-sdl PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUENNARY_GAME_DIR})
add_dependencies(quennary-replay quennary-replay-sdl)
