#!/usr/bin/env bash
# Smoke test of the Windows programs under Wine and Xvfb:
#   tests/windows/smoke.sh [BUILD_DIR]      (default: build-windows)
# For each of game_windowed.exe and game_fullscreen.exe, started in the data
# directory: the window appears, a screenshot is saved, a second copy started
# meanwhile exits at once with status 0, and closing the window ends the
# first copy with status 1. Screenshots go to BUILD_DIR/smoke/.
# Each program runs under exit_code_probe.exe, which prints the exit code
# Windows reports to a parent: on a loaded machine Wine may kill a process
# whose clean-up after its Windows exit runs past a second, and the status
# of Wine's own process then says 137 whatever the game returned.
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

probe="$build/tests/exit_code_probe.exe"

# exit_code CODE_FILE STATUS_FILE SECONDS: the exit code the probe printed
# once its process has ended, "timeout" when it runs on, or what Wine's
# process ended with when the probe printed nothing.
exit_code() {
  local status
  status=$(wine_wait_exit "$2" "$3") || { echo timeout; return; }
  if [ -s "$1" ]; then head -n1 "$1" | tr -d '\r'; else echo "no code (status $status)"; fi
}

# run_program EXE CLOSE_KEYS NAME: one start, the second copy, the close.
run_program() {
  local exe=$1 keys=$2 name=$3
  local status="$shots/$name.status" code="$shots/$name.code"
  rm -f "$code" "$code.second"
  wine_start "$status" "$game" sh -c 'exec wine "$0" "$1" >"$2"' "$probe" "$exe" "$code" \
    >"$shots/$name.log" 2>&1
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
  (cd "$game" && exec timeout 120 wine "$probe" "$exe") >"$code.second" 2>>"$shots/$name.log"
  check "$name: second copy exits" 0 "$(head -n1 "$code.second" | tr -d '\r')"
  check "$name: first copy still runs" yes "$([ -s "$status" ] && echo no || echo yes)"
  xdotool windowfocus --sync "$window" >/dev/null 2>&1 || true
  xdotool key $keys
  check "$name: closing ends it" 1 "$(exit_code "$code" "$status" 60)"
  check "$name: window gone" no "$(xdotool search --name '^Quennary$' >/dev/null 2>&1 && echo yes || echo no)"
}

for exe in game/game_windowed.exe game/game_fullscreen.exe tests/exit_code_probe.exe; do
  if [ ! -f "$build/$exe" ]; then
    echo "FAIL: $build/$exe is missing (cmake --preset windows && cmake --build --preset windows)"
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
