#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs every fuzz target of a fuzz build folder over its corpus, one after
# the other, and prints one line per target: executions, seconds, coverage
# (edges), and faults (crashes, hangs over 2 s, leaks, runs over 1 GiB).
#
#   fuzz/run.sh BUILD_DIR SECONDS [RUNS [TARGET...]]
# With RUNS, each target stops after that many executions instead (SECONDS
# is then only an upper bound; an empty RUNS means none). TARGETs pick some
# of the targets (default: all). The growing corpus is kept in
# BUILD_DIR/corpus/<target>, inputs that found a fault in BUILD_DIR/faults/.
set -uo pipefail
build=${1:?build folder}
seconds=${2:-60}
runs=${3:-}
targets=(bmp settings unscramble picture)
[ $# -gt 3 ] && targets=("${@:4}")
status=0
mkdir -p "$build/faults"
printf '%-12s %10s %8s %8s %7s\n' target runs seconds coverage faults
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  mkdir -p "$corpus"
  log="$build/fuzz-$t.log"
  limit=(-max_total_time="$seconds")
  [ -n "$runs" ] && limit=(-runs="$runs" -max_total_time="$seconds")
  start=$(date +%s.%N)
  # ASan's leak check runs at every input's end (-detect_leaks=1).
  "$build/fuzz/fuzz_$t" "${limit[@]}" -timeout=2 -rss_limit_mb=1024 -max_len=65536 \
    -detect_leaks=1 -print_final_stats=1 -artifact_prefix="$build/faults/$t-" \
    "$corpus" "$build/seeds/$t" >"$log" 2>&1
  rc=$?
  end=$(date +%s.%N)
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  faults=$(ls "$build/faults" 2>/dev/null | grep -c "^$t-")
  [ "$rc" -ne 0 ] && [ "$faults" -eq 0 ] && faults="rc=$rc"
  printf '%-12s %10s %8.0f %8s %7s\n' "$t" "${executed:-?}" "$(echo "$end - $start" | bc)" "${coverage:-?}" "$faults"
  [ "$rc" -ne 0 ] && status=1 && tail -30 "$log" >&2
done
exit $status
