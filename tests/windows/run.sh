#!/usr/bin/env bash
# Every test of the Windows build, under Wine and Xvfb:
#   tests/windows/run.sh [BUILD_DIR]      (default: build-windows)
# 1. test_windows.exe, the Win32 backend's own tests, with a sound device
#    that plays into nothing;
# 2. smoke.sh, the two programs started, refused a second time and closed,
#    on a Wine without any sound or MIDI device;
# 3. replay_compare.sh, every stage played by its solution script (and
#    stage 1 walked) by the Linux and the Windows replay runner, traces
#    compared, once both runners and the stage files exist.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build-windows}" && pwd)
status=0

if [ ! -f "$build/tests/test_windows.exe" ]; then
  echo "FAIL: $build/tests/test_windows.exe is missing (cmake --build --preset windows)"
  exit 1
fi
(
  . "$here/wine_common.sh"
  wine_sound_device "$build"
  wine_begin "$build" || { wine_end; exit 1; }
  cd "$build/tests"
  # Through the exit code probe (see smoke.sh): its last line is the code
  # Windows gives the tests' parent, which a signal from Wine on a slow
  # clean-up cannot replace.
  timeout 600 wine exit_code_probe.exe test_windows.exe --gtest_color=no >"$build/test_windows.out"
  wine_end
  sed '$d' "$build/test_windows.out"
  result=$(tail -n 1 "$build/test_windows.out" | tr -d '\r')
  echo "test_windows.exe ended with ${result:-nothing}"
  [ "$result" = 0 ]
) || status=1

bash "$here/smoke.sh" "$build" || status=1

linux_runner=$(find "$root/build" -name quennary-replay -type f -perm -u+x 2>/dev/null | head -n 1)
if [ -f "$build/tools/quennary-replay.exe" ] && [ -n "$linux_runner" ] && [ -f "$root/build/game/stage/stage_1.dat" ]; then
  bash "$here/replay_compare.sh" "$linux_runner" "$build" "$root/build/game" 1 "$here/replay_walk.txt" || status=1
  for script in "$root"/tests/solutions/stage_*.txt; do
    stage=$(basename "$script" .txt)
    stage=${stage#stage_}
    [ -f "$root/build/game/stage/stage_$stage.dat" ] || continue
    bash "$here/replay_compare.sh" "$linux_runner" "$build" "$root/build/game" "$stage" "$script" || status=1
  done
else
  echo "replay comparison not run: it needs the Linux and the Windows quennary-replay and stage/stage_1.dat"
fi
exit $status
