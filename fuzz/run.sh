#!/usr/bin/env bash
# Runs every fuzzing harness (or the ones named) one after the other, each
# for a bounded time or a number of executions, from its seed corpus plus
# what earlier runs found in build-fuzz/corpus/<name>/.
#   fuzz/run.sh BUILD_DIR SECONDS [RUNS] [HARNESS...]
# SECONDS bounds each harness; RUNS (0: no bound) stops it after that many
# executions. A crash, a sanitizer report or a broken promise stops the
# script with the input kept as BUILD_DIR/crashes/<name>-crash-*; the last
# line of each harness says how many executions it made. FUZZ_SEED fixes
# libFuzzer's random seed (CI uses 1, so a run there explores the same way
# each time); unset, every run draws its own.
set -u
build=$(cd "$1" && pwd)
seconds=$2
runs=${3:-0}
shift 3 2>/dev/null || shift $#
harnesses=${*:-midi pack wav stage stage_play ranking ranking_save replay_script}
mkdir -p "$build/crashes"
status=0
for name in $harnesses; do
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  log="$build/fuzz_$name.log"
  # Absolute paths: some harnesses work inside a folder of their own.
  "$build/fuzz_$name" "$corpus" "$build/seeds/$name" \
    -max_total_time="$seconds" -runs="${runs/#0/-1}" -timeout=20 -rss_limit_mb=4096 \
    -max_len=8192 -seed="${FUZZ_SEED:-0}" -print_final_stats=1 -artifact_prefix="$build/crashes/$name-" >"$log" 2>&1
  rc=$?
  done_line=$(grep -E '^Done [0-9]+ runs' "$log" | tail -1)
  execs=$(grep -E 'stat::number_of_executed_units' "$log" | awk '{print $2}')
  if [ $rc -ne 0 ]; then
    echo "fuzz_$name: FAULT after ${execs:-?} executions (exit $rc), see $log"
    grep -E 'ERROR|runtime error|broken promise|SUMMARY' "$log" | head -5
    status=1
  else
    echo "fuzz_$name: ${execs:-?} executions, no fault (${done_line:-})"
  fi
done
exit $status
