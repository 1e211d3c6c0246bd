# One replay per stage: the shipped solution script stage_N.txt must clear
# stage N from its start with the corpses and stars written here. The replay
# stops at the clearing frame, so the corpses are those the stars are
# counted from; a change in the stages or in the game that costs a corpse
# or a star fails its test.
set(QUENNARY_SOLUTIONS_DIR ${CMAKE_CURRENT_LIST_DIR})

# quennary_solution(STAGE CORPSES STARS)
function(quennary_solution stage corpses stars)
  add_test(NAME solution_stage_${stage}
    COMMAND ${CMAKE_COMMAND}
      -DREPLAY=$<TARGET_FILE:quennary-replay>
      -DDATA=${QUENNARY_GAME_DIR}
      -DSTAGE=${stage}
      -DSCRIPT=${QUENNARY_SOLUTIONS_DIR}/stage_${stage}.txt
      -DCORPSES=${corpses}
      -DSTARS=${stars}
      -P ${QUENNARY_SOLUTIONS_DIR}/check_solution.cmake)
endfunction()

#                 stage corpses stars
quennary_solution(1     2       3)
quennary_solution(2     4       3)
quennary_solution(3     0       3)
quennary_solution(4     4       3)
quennary_solution(5     2       3)
quennary_solution(6     1       3)
quennary_solution(7     2       3)
quennary_solution(8     1       3)
quennary_solution(9     1       3)
quennary_solution(10    5       3)
quennary_solution(11    5       3)
quennary_solution(12    1       3)
quennary_solution(13    1       3)
quennary_solution(14    2       3)
quennary_solution(15    2       3)
quennary_solution(16    2       3)
quennary_solution(17    2       3)
quennary_solution(18    2       3)
quennary_solution(19    2       3)
quennary_solution(20    2       3)

# Whole runs from the title, every stage by its solution, Enter after each
# clear, stopping 40 frames into the clear of stage 20 (its score added,
# the result screen and its ranking files not reached). With 55 deaths the
# run plays 1 to 16, 18 and 20; the other run dies 251 times more at stage
# 1 (burning each corpse) and so plays 19 in place of 18. A wrong stage on
# the way fails its solution. Each stage gives 3000 less 100 a corpse.
# quennary_whole_run(NAME SCRIPT SCORE DEATHS)
function(quennary_whole_run name script score deaths)
  add_test(NAME solution_${name}
    COMMAND ${CMAKE_COMMAND}
      -DREPLAY=$<TARGET_FILE:quennary-replay>
      -DDATA=${QUENNARY_GAME_DIR}
      -DSTAGE=20
      -DSCRIPT=${QUENNARY_SOLUTIONS_DIR}/${script}
      -DCORPSES=2
      -DSTARS=3
      -DWHOLE_RUN=1
      -DSCORE=${score}
      -DDEATHS=${deaths}
      -P ${QUENNARY_SOLUTIONS_DIR}/check_solution.cmake)
endfunction()

quennary_whole_run(whole_run             whole_run.txt             50100 55)
quennary_whole_run(whole_run_many_deaths whole_run_many_deaths.txt 50100 303)
