#!/usr/bin/env bash
# Builds and runs every test: the Linux build, the same tests under
# AddressSanitizer and UBSan, then every further step in scripts/test.d.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh $(cat scripts/build-packages.txt)

for preset in default asan; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

for step in scripts/test.d/*.sh; do
  [ -e "$step" ] || continue
  echo "== $(basename "$step" .sh)"
  bash "$step"
done
