# cmake -DFROM=<data directory> -DTO=<directory> -P copy_data.cmake
# Copies res/, stage/ and ranking/ of a game data directory as they are.
# Fails when the data directory lacks them (the Linux build was not made),
# so that no package ships without its data; says so when one is empty.
foreach(part res stage ranking)
  if(NOT IS_DIRECTORY ${FROM}/${part})
    message(FATAL_ERROR "${FROM}/${part} is missing: build the Linux game first "
                        "(cmake --preset release && cmake --build --preset release)")
  endif()
  file(GLOB contents ${FROM}/${part}/*)
  if(NOT contents)
    message(WARNING "${FROM}/${part} is empty: the package has no ${part} files")
  endif()
  file(MAKE_DIRECTORY ${TO}/${part})
  file(COPY ${FROM}/${part}/ DESTINATION ${TO}/${part})
endforeach()
