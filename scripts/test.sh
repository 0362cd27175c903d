#!/usr/bin/env bash
# Builds and runs every test: the Linux build, the same tests under
# AddressSanitizer and UBSan, then every further step in scripts/test.d.
# Ends with a summary: each step, and how many tests passed in it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh $(cat scripts/build-packages.txt)

output=$(mktemp)
summary=()
step=""
finish() {
  local status=$?
  rm -f "$output"
  echo
  echo "== summary"
  for line in "${summary[@]}"; do echo "$line"; done
  if [ "$status" -eq 0 ]; then
    echo "everything passed"
  else
    echo "FAILED: $step (exit $status)"
  fi
}
trap finish EXIT

# The counts of passed tests that CTest and GoogleTest print (Windows test
# programs end their lines with CR LF).
passedCounts() {
  tr -d '\r' <"$output" | sed -n -e 's/^[0-9]*% tests passed, 0 tests failed out of \([0-9]*\)$/\1/p' \
    -e 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\.$/\1/p' | paste -sd+ -
}
passed() {
  local counts
  counts=$(passedCounts)
  summary+=("$step: passed${counts:+ ($counts tests)}")
}

for preset in default asan; do
  step="$preset build and tests"
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" | tee "$output"
  passed
done

for file in scripts/test.d/*.sh; do
  [ -e "$file" ] || continue
  step=$(basename "$file" .sh)
  echo "== $step"
  bash "$file" | tee "$output"
  passed
done
