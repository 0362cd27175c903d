#!/usr/bin/env bash
# Builds the tool, writes a synthetic image of the expected game and runs
# the tool on it in a fresh folder, then draws the gallery of its graphics.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh $(cat scripts/build-packages.txt)
cmake --preset default >/dev/null
cmake --build --preset default --target brelquim brelquim-png make_sample_rom >/dev/null

build="$PWD/build/default"
work=$(mktemp -d)
cd "$work"
"$build/make_sample_rom" sample.sfc
echo "\$ brelquim -i sample.sfc    (in $work)"
status=0
"$build/brelquim" -i sample.sfc || status=$?
echo "(exit status $status)"
echo
echo "\$ head log.txt"
head log.txt
echo "... $(wc -l < log.txt) lines"
echo
echo "\$ ls -l arquivos | head"
ls -l arquivos | head
echo "... $(ls arquivos | wc -l) files"
echo
echo "\$ brelquim-png --gallery"
"$build/brelquim-png" --gallery || status=$?
echo "gallery: $work/galeria.html (open it in a browser)"
exit $status
