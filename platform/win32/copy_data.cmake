# cmake -DFROM=<data directory> -DTO=<directory> [-DRANKING_FROM=<directory>] -P copy_data.cmake
# Copies res/ and stage/ of a game data directory as they are, and ranking/
# from RANKING_FROM (the Linux build's fresh set of zero scores, so that a
# package never ships the scores of someone who played in the build folder).
# Fails when the data directory lacks them (the Linux build was not made),
# so that no package ships without its data; says so when one is empty.
if(NOT RANKING_FROM)
  set(RANKING_FROM ${FROM})
endif()
foreach(part res stage ranking)
  set(source ${FROM})
  if(part STREQUAL "ranking")
    set(source ${RANKING_FROM})
  endif()
  if(NOT IS_DIRECTORY ${source}/${part})
    message(FATAL_ERROR "${source}/${part} is missing: build the Linux game first "
                        "(cmake --preset release && cmake --build --preset release)")
  endif()
  file(GLOB contents ${source}/${part}/*)
  if(NOT contents)
    message(WARNING "${source}/${part} is empty: the package has no ${part} files")
  endif()
  file(MAKE_DIRECTORY ${TO}/${part})
  file(COPY ${source}/${part}/ DESTINATION ${TO}/${part})
endforeach()
