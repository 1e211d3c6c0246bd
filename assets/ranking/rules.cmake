# The ranking files the game ships with: ten scores of 0, created in the data
# directory only where a place file does not exist yet. The rule runs at
# every build and never overwrites a file, so the player's ranking survives
# rebuilds.
add_executable(quennary-ranking-seed ${CMAKE_CURRENT_LIST_DIR}/ranking_seed.cpp
  ${CMAKE_SOURCE_DIR}/scenes/ranking.cpp)
target_include_directories(quennary-ranking-seed PRIVATE ${CMAKE_SOURCE_DIR})
# file_replace, which the ranking code links against, is the build machine's.
target_sources(quennary-ranking-seed PRIVATE ${CMAKE_SOURCE_DIR}/platform/headless/headless_files.cpp)
add_custom_target(quennary_ranking_files
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUENNARY_GAME_DIR}/ranking
  COMMAND quennary-ranking-seed
  WORKING_DIRECTORY ${QUENNARY_GAME_DIR}
  COMMENT "Ranking files where none exist"
  VERBATIM)
add_dependencies(quennary_assets quennary_ranking_files)

# A second, untouched set for packages: nobody plays in this folder, so a
# package never ships a local player's scores.
set(QUENNARY_FRESH_RANKING_DIR ${CMAKE_BINARY_DIR}/fresh-ranking)
file(MAKE_DIRECTORY ${QUENNARY_FRESH_RANKING_DIR}/ranking)
add_custom_target(quennary_fresh_ranking_files
  COMMAND quennary-ranking-seed
  WORKING_DIRECTORY ${QUENNARY_FRESH_RANKING_DIR}
  COMMENT "Fresh ranking files for packages"
  VERBATIM)
add_dependencies(quennary_assets quennary_fresh_ranking_files)
