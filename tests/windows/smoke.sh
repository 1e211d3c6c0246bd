#!/usr/bin/env bash
# Smoke test of the Windows programs under Wine and Xvfb:
#   tests/windows/smoke.sh [BUILD_DIR]      (default: build-windows)
# For each of game_windowed.exe and game_fullscreen.exe, started in the data
# directory: the window appears, a screenshot is saved, a second copy started
# meanwhile exits at once with status 0, and closing the window ends the
# first copy with status 1. Screenshots go to BUILD_DIR/smoke/.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build-windows}" && pwd)
game="$build/game"
shots="$build/smoke"
mkdir -p "$shots"
. "$here/wine_common.sh"

failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    echo "ok:   $1 ($3)"
  else
    echo "FAIL: $1: expected $2, got $3"
    failures=$((failures + 1))
  fi
}

# run_program EXE CLOSE_KEYS NAME: one start, the second copy, the close.
run_program() {
  local exe=$1 keys=$2 name=$3
  local status="$shots/$name.status"
  wine_start "$status" "$game" wine "$exe" >"$shots/$name.log" 2>&1
  local window
  window=$(wine_wait_window 120)
  check "$name: window appears" yes "$([ -n "$window" ] && echo yes || echo no)"
  if [ -z "$window" ]; then
    timeout 60 wineserver -k >/dev/null 2>&1 || true
    return
  fi
  sleep 3  # a few hundred frames of the title
  wine_screenshot "$shots/$name.png"
  echo "      screenshot $shots/$name.png, window $(xdotool getwindowgeometry "$window" | tr -s ' \n' ' ')"
  (cd "$game" && exec timeout 120 wine "$exe") >>"$shots/$name.log" 2>&1
  check "$name: second copy exits" 0 $?
  check "$name: first copy still runs" yes "$([ -s "$status" ] && echo no || echo yes)"
  xdotool windowfocus --sync "$window" >/dev/null 2>&1 || true
  xdotool key $keys
  check "$name: closing ends it" 1 "$(wine_wait_exit "$status" 60)"
  check "$name: window gone" no "$(xdotool search --name '^Quennary$' >/dev/null 2>&1 && echo yes || echo no)"
}

for exe in game_windowed.exe game_fullscreen.exe; do
  if [ ! -f "$game/$exe" ]; then
    echo "FAIL: $game/$exe is missing (cmake --preset windows && cmake --build --preset windows)"
    exit 1
  fi
done

wine_begin "$build" || { wine_end; exit 1; }
trap wine_end EXIT
run_program game_windowed.exe Escape game_windowed
run_program game_fullscreen.exe Escape game_fullscreen
# The close box's way: Alt+F4 makes the system menu send the close.
run_program game_windowed.exe alt+F4 game_windowed_alt_f4

if [ "$failures" -ne 0 ]; then
  echo "windows smoke: $failures failed"
  exit 1
fi
echo "windows smoke: all passed"
