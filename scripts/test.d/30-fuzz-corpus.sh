#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each over its corpus only, so that
# every input ever found stays a regression test.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/setup.sh clang-14 libclang-rt-14-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for corpus in fuzz/corpus/*/; do
  target=$(basename "$corpus")
  echo "-- fuzz_$target over $(find "$corpus" -type f | wc -l) inputs"
  if ! "build/fuzz/fuzz/fuzz_$target" -runs=0 -timeout=10 "$corpus" >"$log" 2>&1; then
    cat "$log"
    echo "fuzz_$target fails on its corpus"
    exit 1
  fi
done
