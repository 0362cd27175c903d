#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz) and runs each for a while.
#   scripts/fuzz.sh [seconds] [target...]
# seconds: time per target (default 60); targets: graphics_run, decoder,
# table, labels, insert_round_trip, png_to_bin, patch_apply, patch_round_trip,
# text_readers, text_round_trip, project
# (default: all, one after the other). New inputs go to
# build/fuzz/corpus/<target>, findings to build/fuzz/findings/<target>; the
# seeds in fuzz/corpus/<target> are read, never written. Prints, for each
# target, the executions done and any finding; exits 1 if there was one.
# FUZZ_RUNS=<n> also stops each target after n executions.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(graphics_run decoder table labels insert_round_trip png_to_bin patch_apply
  patch_round_trip text_readers text_round_trip project)

bash scripts/setup.sh clang-14 libclang-rt-14-dev cmake ninja-build
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

# A small quarantine: freed memory is reused soon, which saves page faults
# and raises the executions per second several fold.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=4}"

status=0
for target in "${targets[@]}"; do
  fuzzer="build/fuzz/fuzz/fuzz_$target"
  work="build/fuzz/corpus/$target"
  findings="build/fuzz/findings/$target"
  mkdir -p "$work" "$findings"
  log="build/fuzz/$target.log"
  echo "== $target: ${seconds}s"
  set +e
  options=()
  # The decoder's loop counters grow with the decoded size: as features they
  # would fill the corpus with 64 KiB graphics and slow every run tenfold.
  [ "$target" = decoder ] && options+=(-use_counters=0)
  [ -n "${FUZZ_RUNS:-}" ] && options+=(-runs="$FUZZ_RUNS")
  "$fuzzer" "$work" "fuzz/corpus/$target" -max_total_time="$seconds" -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$findings/" "${options[@]}" >"$log" 2>&1
  result=$?
  set -e
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  found=$(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) -newer "$work" 2>/dev/null | sort)
  echo "$target: ${executions:-?} executions, ${rate:-?} exec/s, exit $result"
  if [ "$result" -eq 72 ] && [ -z "$found" ]; then
    echo "$target: interrupted, no finding"   # libFuzzer's status after Ctrl-C
  elif [ "$result" -ne 0 ] || [ -n "$found" ]; then
    status=1
    echo "$target: FINDING (log: $log)"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|fuzz check failed)' -m 5 "$log" || true
    for file in $found; do echo "  input: $file"; done
  else
    echo "$target: no finding"
  fi
  touch "$work"
done
exit $status
