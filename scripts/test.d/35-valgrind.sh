#!/usr/bin/env bash
# The successful extraction of the sample image once under valgrind: no
# memory error, no leak, exit 0 and all 169 graphics written. Uses the
# default build that scripts/test.sh made.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/setup.sh valgrind
root=$(pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/build/default/make_sample_rom" "$work/game.sfc"
cd "$work"
valgrind -q --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect \
  "$root/build/default/brelquim" -i game.sfc >console.txt
files=$(find arquivos -type f -name 'grafico_*.bin' | wc -l)
if [ "$files" -ne 169 ]; then
  echo "valgrind run wrote $files graphics, not 169"
  exit 1
fi
echo "valgrind: exit 0, $files graphics, no error, no leak"
