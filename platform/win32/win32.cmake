# The Windows build: the core plus the Win32 backend (Direct3D 9, D3DX 9,
# WinMM, DirectSound loaded at run time), cross-compiled with mingw-w64.
#   cmake --preset windows && cmake --build --preset windows
# gives build-windows/game/game_windowed.exe and game_fullscreen.exe;
#   cmake --build --preset windows --target windows_package
# adds the data files of the Linux build and writes build-windows/quennary-windows.zip.

set(QUENNARY_WIN32_DIR ${CMAKE_SOURCE_DIR}/platform/win32)
set(QUENNARY_WIN32_OUT ${CMAKE_BINARY_DIR}/win32)
file(MAKE_DIRECTORY ${QUENNARY_WIN32_OUT})

# The C++ runtime and winpthread are linked in, so the programs need only
# the system's DLLs and d3dx9_43.dll.
set(QUENNARY_WIN32_LINK_OPTIONS -static -static-libgcc -static-libstdc++)

file(GLOB QUENNARY_WIN32_SOURCES CONFIGURE_DEPENDS ${QUENNARY_WIN32_DIR}/*.cpp)
list(FILTER QUENNARY_WIN32_SOURCES EXCLUDE REGEX "platform/win32/win32_main\\.cpp$")
add_library(quennary_win32 STATIC ${QUENNARY_WIN32_SOURCES})
target_include_directories(quennary_win32 PUBLIC ${CMAKE_SOURCE_DIR})
# PlaySoundA, the MIDI output, the timers and the joystick are WinMM's.
target_link_libraries(quennary_win32 PUBLIC d3dx9 d3d9 winmm gdi32 user32)

# ---------------------------------------------------------------- icon
# A small build-machine tool turns the text picture into the .ico file that
# the resource script takes as icon 102.
find_program(QUENNARY_HOST_CXX NAMES c++ g++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(QUENNARY_MAKE_ICON ${QUENNARY_WIN32_OUT}/make_icon)
add_custom_command(OUTPUT ${QUENNARY_MAKE_ICON}
  COMMAND ${QUENNARY_HOST_CXX} -std=c++17 -O2 -Wall -Wextra -o ${QUENNARY_MAKE_ICON} ${QUENNARY_WIN32_DIR}/icon/make_icon.cpp
  DEPENDS ${QUENNARY_WIN32_DIR}/icon/make_icon.cpp
  COMMENT "Building the icon tool for the build machine")
add_custom_command(OUTPUT ${QUENNARY_WIN32_OUT}/quennary.ico
  COMMAND ${QUENNARY_MAKE_ICON} ${QUENNARY_WIN32_DIR}/icon/quennary_icon.txt ${QUENNARY_WIN32_OUT}/quennary.ico
  DEPENDS ${QUENNARY_MAKE_ICON} ${QUENNARY_WIN32_DIR}/icon/quennary_icon.txt
  COMMENT "Drawing the program icon")
add_custom_target(quennary_icon DEPENDS ${QUENNARY_WIN32_OUT}/quennary.ico)
set_source_files_properties(${QUENNARY_WIN32_DIR}/quennary.rc PROPERTIES
  OBJECT_DEPENDS "${QUENNARY_WIN32_OUT}/quennary.ico;${QUENNARY_WIN32_DIR}/quennary.manifest")

# ---------------------------------------------------------------- programs
# The two programs differ only in their variant file (windowed or full screen).
foreach(variant windowed fullscreen)
  add_executable(game_${variant} WIN32
    ${CMAKE_SOURCE_DIR}/shell/variant_${variant}.cpp
    ${QUENNARY_WIN32_DIR}/win32_main.cpp
    ${QUENNARY_WIN32_DIR}/quennary.rc)
  target_include_directories(game_${variant} PRIVATE ${QUENNARY_WIN32_DIR} ${QUENNARY_WIN32_OUT})
  target_link_libraries(game_${variant} PRIVATE quennary_core quennary_win32 quennary_core)
  target_link_options(game_${variant} PRIVATE ${QUENNARY_WIN32_LINK_OPTIONS})
  add_dependencies(game_${variant} quennary_icon)
  set_target_properties(game_${variant} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUENNARY_GAME_DIR})
endforeach()

# ---------------------------------------------------------------- data and zip
# The data files (res/, stage/, ranking/) are made by build-machine tools in
# the Linux build; the package takes them from its data directory.
set(QUENNARY_LINUX_GAME_DIR ${CMAKE_SOURCE_DIR}/build/game CACHE PATH
  "Data directory of the Linux build whose res/, stage/ and ranking/ the Windows package takes")
set(QUENNARY_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package/quennary)
set(QUENNARY_PACKAGE_ZIP ${CMAKE_BINARY_DIR}/quennary-windows.zip)
add_custom_target(windows_data
  COMMAND ${CMAKE_COMMAND} -DFROM=${QUENNARY_LINUX_GAME_DIR} -DTO=${QUENNARY_GAME_DIR}
          -P ${QUENNARY_WIN32_DIR}/copy_data.cmake
  COMMENT "Copying the data files of the Linux build into ${QUENNARY_GAME_DIR}")
add_custom_target(windows_package
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/package ${QUENNARY_PACKAGE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUENNARY_PACKAGE_DIR}
  COMMAND ${CMAKE_COMMAND} -DFROM=${QUENNARY_LINUX_GAME_DIR} -DTO=${QUENNARY_PACKAGE_DIR}
          -DRANKING_FROM=${QUENNARY_LINUX_GAME_DIR}/../fresh-ranking
          -P ${QUENNARY_WIN32_DIR}/copy_data.cmake
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:game_windowed> $<TARGET_FILE:game_fullscreen> ${QUENNARY_PACKAGE_DIR}
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/package
          ${CMAKE_COMMAND} -E tar cf ${QUENNARY_PACKAGE_ZIP} --format=zip quennary
  DEPENDS game_windowed game_fullscreen windows_data
  COMMENT "Packing ${QUENNARY_PACKAGE_ZIP}")

# ---------------------------------------------------------------- tests, tools
include(${CMAKE_SOURCE_DIR}/tests/windows/tests.cmake OPTIONAL)
include(${QUENNARY_WIN32_DIR}/win32_tools.cmake OPTIONAL)
