#!/usr/bin/env bash
# The static libspng of the Windows build: see scripts/build-libspng.sh.
set -euo pipefail
exec bash "$(dirname "$0")/build-libspng.sh" windows
