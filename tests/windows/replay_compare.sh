#!/usr/bin/env bash
# The same scripted replay on Linux and under Wine, traces compared byte for
# byte, line ends aside (the core is the same code in both builds; floats
# print as %.9g):
#   tests/windows/replay_compare.sh LINUX_RUNNER WINDOWS_BUILD DATA_DIR STAGE SCRIPT
# LINUX_RUNNER is the Linux quennary-replay, WINDOWS_BUILD the Windows build
# directory (its tools/quennary-replay.exe), DATA_DIR a data directory with
# stage/, STAGE a stage number and SCRIPT an input script.
set -u
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -ne 5 ]; then
  echo "usage: $0 LINUX_RUNNER WINDOWS_BUILD DATA_DIR STAGE SCRIPT" >&2
  exit 2
fi
linux_runner=$1
build=$(cd "$2" && pwd)
data=$(cd "$3" && pwd)
stage=$4
script=$(cd "$(dirname "$5")" && pwd)/$(basename "$5")
out="$build/replay"
mkdir -p "$out"
. "$here/wine_common.sh"

"$linux_runner" --data "$data" --stage "$stage" --input "$script" --trace "$out/linux.trace" \
  >"$out/linux.summary" || { echo "FAIL: the Linux replay did not run"; exit 1; }

wine_begin "$build" || { wine_end; exit 1; }
# Wine gives the program its Unix paths as drive Z:.
timeout 600 wine "$build/tools/quennary-replay.exe" --data "Z:$data" --stage "$stage" \
  --input "Z:$script" --trace "Z:$out/windows.trace" >"$out/windows.summary"
status=$?
wine_end
[ $status -eq 0 ] || { echo "FAIL: the Windows replay ended with $status"; exit 1; }
# The Windows runner writes text files with the C library's text mode, so
# its lines end in CR LF; only that is taken away before the comparison.
tr -d '\r' <"$out/windows.summary" >"$out/windows.summary.unix"
tr -d '\r' <"$out/windows.trace" >"$out/windows.trace.unix"

if cmp -s "$out/linux.trace" "$out/windows.trace.unix" && cmp -s "$out/linux.summary" "$out/windows.summary.unix"; then
  echo "ok:   stage $stage replay: traces identical ($(wc -l <"$out/linux.trace") lines, $(wc -c <"$out/linux.trace") bytes)"
  exit 0
fi
echo "FAIL: stage $stage replay: the traces differ"
cmp "$out/linux.trace" "$out/windows.trace.unix" | head -n 3
diff "$out/linux.summary" "$out/windows.summary.unix" | head -n 5
exit 1
