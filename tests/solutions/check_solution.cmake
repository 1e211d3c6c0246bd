# Runs one stage solution through the replay runner and checks the summary
# line it ends with: cleared, on the right stage, with the expected corpses
# on screen and stars, and never fewer than two stars. With -DWHOLE_RUN=1
# the script is a whole run from the title and the summary must also show
# the run's SCORE and DEATHS.
foreach(var REPLAY DATA STAGE SCRIPT CORPSES STARS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_solution.cmake needs -D${var}=...")
  endif()
endforeach()
if(STARS LESS 2)
  message(FATAL_ERROR "stage ${STAGE}: a shipped solution must reach two stars or more, not ${STARS}")
endif()

if(WHOLE_RUN)
  set(start --from-title)
else()
  set(start --stage ${STAGE} --until-clear)
endif()
execute_process(
  COMMAND ${REPLAY} --data ${DATA} ${start} --input ${SCRIPT}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "stage ${STAGE}: quennary-replay exited with ${status}: ${errors}")
endif()

string(STRIP "${output}" output)
string(REGEX REPLACE "^.*\n" "" last "${output}")
message(STATUS "stage ${STAGE}: ${last}")
if(NOT last MATCHES "^cleared=([01]) stage=([0-9]+) frame=([0-9]+) corpses=([0-9]+) stars=([0-9]+) score=(-?[0-9]+) deaths=([0-9]+)$")
  message(FATAL_ERROR "stage ${STAGE}: no summary line at the end of the replay output: '${last}'")
endif()
set(cleared ${CMAKE_MATCH_1})
set(stage ${CMAKE_MATCH_2})
set(corpses ${CMAKE_MATCH_4})
set(stars ${CMAKE_MATCH_5})
set(score ${CMAKE_MATCH_6})
set(deaths ${CMAKE_MATCH_7})
if(NOT cleared EQUAL 1)
  message(FATAL_ERROR "stage ${STAGE}: the solution does not clear the stage: ${last}")
endif()
if(NOT stage EQUAL STAGE)
  message(FATAL_ERROR "stage ${STAGE}: the replay ended on stage ${stage}: ${last}")
endif()
if(NOT corpses EQUAL CORPSES OR NOT stars EQUAL STARS)
  message(FATAL_ERROR "stage ${STAGE}: cleared with ${corpses} corpses and ${stars} stars, expected ${CORPSES} corpses and ${STARS} stars")
endif()
if(WHOLE_RUN AND (NOT score EQUAL SCORE OR NOT deaths EQUAL DEATHS))
  message(FATAL_ERROR "whole run: score ${score} after ${deaths} deaths, expected ${SCORE} after ${DEATHS}")
endif()
