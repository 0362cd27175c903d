#!/usr/bin/env bash
# Prints the README as the packages carry it: README.md without the parts
# between "<!-- source only -->" and "<!-- end of source only -->", which
# name the scripts and the pages that stay in the source. Fails when what
# is left still names one of them.
set -euo pipefail
cd "$(dirname "$0")/.."
packaged=$(sed '/^<!-- source only -->$/,/^<!-- end of source only -->$/d' README.md | cat -s)
if grep -nE 'scripts/|make_sample_rom|docs/(development|emulator|performance|robustness)\.md' <<<"$packaged" >&2; then
  echo "the packaged README names something the packages do not hold (above)" >&2
  exit 1
fi
printf '%s\n' "$packaged"
