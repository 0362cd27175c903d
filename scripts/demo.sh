#!/usr/bin/env bash
# Builds the tools, writes a synthetic image of the expected game and runs
# the round trip on it in a fresh folder: extract, edit one graphic, put it
# back with brelquim-insert, extract the new image again and show that the
# edit came back; then draws the gallery of its graphics.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh $(cat scripts/build-packages.txt)
cmake --preset default >/dev/null
cmake --build --preset default --target brelquim brelquim-insert brelquim-png make_sample_rom >/dev/null

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
echo "\$ ls arquivos"
files=(arquivos/*)
printf '%s\n' "${files[@]:0:10}"
echo "... ${#files[@]} files"
[ "$status" -eq 0 ] || exit $status

echo
echo "\$ # edit: the font (graphic 9, 2 bpp) in inverse video, every bit flipped (the demo's stand-in for a tile editor)"
# tr takes no descending range: every byte value from 255 down to 0, spelt out.
descending=$(for value in $(seq 255 -1 0); do printf '\\%03o' "$value"; done)
tr '\000-\377' "$descending" < arquivos/grafico_009.bin > edited_009.bin
cp edited_009.bin arquivos/grafico_009.bin
echo "\$ brelquim-insert -i sample.sfc -o traduzido.sfc"
"$build/brelquim-insert" -i sample.sfc -o traduzido.sfc || status=$?
echo "(exit status $status)"
[ "$status" -eq 0 ] || exit $status

echo
echo "\$ mkdir again && cd again && brelquim -i ../traduzido.sfc"
mkdir again
(cd again && "$build/brelquim" -i ../traduzido.sfc) || status=$?
echo "(exit status $status)"
[ "$status" -eq 0 ] || exit $status
echo
echo "\$ cmp edited_009.bin again/arquivos/grafico_009.bin"
if cmp edited_009.bin again/arquivos/grafico_009.bin; then
  echo "the edit came back"
else
  status=1
fi
changed=0
for file in arquivos/grafico_*.bin; do
  cmp -s "$file" "again/$file" || changed=$((changed + 1))
done
echo "graphics that differ between the edited folder and the second extraction: $changed"
[ "$changed" -eq 0 ] || status=1
echo
echo "\$ cd again && brelquim-png --gallery && brelquim-png --bpp 2 arquivos/grafico_009.bin"
(cd again && "$build/brelquim-png" --gallery && "$build/brelquim-png" --bpp 2 arquivos/grafico_009.bin) || status=$?
echo "gallery of the new image: $work/again/galeria.html (open it in a browser)"
echo "the edited font as a picture: $work/again/arquivos/grafico_009.png"
exit $status
