#!/usr/bin/env bash
# The README's first command, as a newcomer runs it: scripts/demo.sh must
# go through the whole loop (extract, edit, insert, extract again, the
# gallery) and end with status 0.
set -euo pipefail
cd "$(dirname "$0")/../.."
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! bash scripts/demo.sh >"$log" 2>&1; then
  cat "$log"
  echo "scripts/demo.sh failed"
  exit 1
fi
grep -q '^the edit came back$' "$log"
echo "demo: the loop ran, the edit came back"
