#!/usr/bin/env bash
# The README the packages carry names no script and no page that stays in
# the source (scripts/packaged-readme.sh fails when it does).
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/packaged-readme.sh >/dev/null
echo "packaged README: names nothing the packages do not hold"
