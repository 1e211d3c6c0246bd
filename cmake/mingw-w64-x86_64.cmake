# Cross-compiling the Windows programs on Linux with mingw-w64 (Debian
# g++-mingw-w64-x86-64-posix: the POSIX thread model, which std::mutex and
# std::thread need).
#   cmake --preset windows && cmake --build --preset windows
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUENNARY_MINGW_PREFIX x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${QUENNARY_MINGW_PREFIX}-gcc-posix ${QUENNARY_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${QUENNARY_MINGW_PREFIX}-g++-posix ${QUENNARY_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QUENNARY_MINGW_PREFIX}-windres windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${QUENNARY_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
