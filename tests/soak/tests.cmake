# The soak: quennary-soak plays the game through quennary-replay with
# seeded random input, on every stage, from the title and on random
# layouts, and fails on any crash, sanitizer report, short run or growing
# memory. The suite runs it briefly; .ci/run runs it for minutes in the
# sanitizer build, and by hand:
#   build-asan/quennary-soak --replay build-asan/game/quennary-replay \
#       --data build-asan/game --solutions tests/solutions --seconds 3600
add_executable(quennary-soak ${CMAKE_CURRENT_LIST_DIR}/soak.cpp)
add_dependencies(quennary-soak quennary-replay)
add_test(NAME Soak.SeededRandomPlayForAWhile
  COMMAND quennary-soak --replay $<TARGET_FILE:quennary-replay> --data ${QUENNARY_GAME_DIR}
          --solutions ${CMAKE_SOURCE_DIR}/tests/solutions --seconds 20 --seed 7)
set_tests_properties(Soak.SeededRandomPlayForAWhile PROPERTIES TIMEOUT 600)
target_include_directories(quennary-soak PRIVATE ${CMAKE_SOURCE_DIR})
