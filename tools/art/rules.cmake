# The art compiler: the raster library of tools/art/ plus the drawing code of
# every picture under assets/art/, one program that writes the game's PNGs.
add_library(quennary_art_lib STATIC
  ${CMAKE_CURRENT_LIST_DIR}/art_canvas.cpp ${CMAKE_CURRENT_LIST_DIR}/art_io.cpp)
target_include_directories(quennary_art_lib PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(quennary_art_lib PUBLIC PkgConfig::QUENNARY_SDL_DEPS)
# The pictures take a few seconds optimised and far longer without: always -O2.
target_compile_options(quennary_art_lib PRIVATE -O2)
file(GLOB QUENNARY_ART_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/art/*.cpp)
add_executable(quennary-art ${CMAKE_CURRENT_LIST_DIR}/art_main.cpp ${QUENNARY_ART_SOURCES})
target_link_libraries(quennary-art PRIVATE quennary_art_lib)
target_compile_options(quennary-art PRIVATE -O2)
