#!/usr/bin/env bash
# The includes go the way docs/development.md draws the layout.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/check-layout.sh
