# cmake -DFROM=<data directory> -DTO=<directory> -P copy_data.cmake
# Copies res/, stage/ and ranking/ of a game data directory. Fails when the
# data directory lacks them, so that no package ships without its data.
foreach(part res stage ranking)
  if(NOT IS_DIRECTORY ${FROM}/${part})
    message(FATAL_ERROR "${FROM}/${part} is missing: build the Linux game first (cmake --preset release && cmake --build --preset release)")
  endif()
  file(GLOB contents ${FROM}/${part}/*)
  if(NOT contents AND NOT part STREQUAL "ranking")
    message(FATAL_ERROR "${FROM}/${part} is empty: build the Linux game first")
  endif()
  file(MAKE_DIRECTORY ${TO}/${part})
  file(COPY ${FROM}/${part}/ DESTINATION ${TO}/${part})
endforeach()
