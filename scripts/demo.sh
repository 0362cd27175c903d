#!/usr/bin/env bash
# Builds the tools, writes a synthetic image of the expected game and runs
# the translator's loop on it as a project, in a fresh temporary folder
# (removed at the end unless BRELQUIM_KEEP=1): brelquim-build init (the
# project file and the graphics), edit a graphic; find the text from a word
# (its codes, where it lies, its pointer tables, saved into the project),
# dump it, translate one line into a longer one, check it fits its box;
# brelquim-build; read the new image again and show that both edits came
# back; apply the build's patch to a clean copy.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh $(cat scripts/build-packages.txt)
cmake --preset default >/dev/null
cmake --build --preset default --target brelquim brelquim-insert brelquim-png brelquim-text brelquim-patch \
  brelquim-build make_sample_rom >/dev/null

build="$PWD/build/default"
work=$(mktemp -d)
# The folder (about 7 MB) goes at the end, whatever happened, unless
# BRELQUIM_KEEP=1 asks to keep it.
if [ "${BRELQUIM_KEEP:-}" != 1 ]; then trap 'cd / && rm -rf "$work"' EXIT; fi
cd "$work"
"$build/make_sample_rom" sample.sfc
status=0
# Shows a command, runs it, and stops the demo when it fails.
step() {
  local shown="\$" word
  for word in "$@"; do
    case $word in
      *[!A-Za-z0-9_./:=-]*) shown+=" '$word'" ;;
      *) shown+=" $word" ;;
    esac
  done
  echo "$shown"
  local tool=$1
  shift
  "$build/$tool" "$@" || status=$?
  [ "$status" -eq 0 ] || { echo "(exit status $status)"; exit $status; }
}

echo "# in $work"
echo "\$ # a project for the translation: brelquim.toml, and the graphics extracted as brelquim does"
step brelquim-build init -i sample.sfc --table sample.tbl
echo "\$ # the room the game does not use, the script to build, and the font in 2 bpp"
sed -i -e 's/^free = \[\]$/free = ["$98:E000:$99:8000"]/' -e 's/^# script = /script = /' \
  -e 's/^# 9 = { bpp = 2 }$/9 = { bpp = 2 }/' brelquim.toml
echo "\$ grep -e '^free' -e '^script' -e '^9 =' brelquim.toml"
grep -e '^free' -e '^script' -e '^9 =' brelquim.toml

echo
echo "\$ # edit: the font (graphic 9, 2 bpp) in inverse video, every bit flipped (the demo's stand-in for a tile editor)"
# tr takes no descending range: every byte value from 255 down to 0, spelt out.
descending=$(for value in $(seq 255 -1 0); do printf '\\%03o' "$value"; done)
tr '\000-\377' "$descending" < arquivos/grafico_009.bin > edited_009.bin
cp edited_009.bin arquivos/grafico_009.bin

echo
echo "\$ # the text from a word on the screen: its codes, where it lies, and (the table completed) its pointer tables"
step brelquim-text search 'Welcome to' castle -o rascunho.tbl
step brelquim-text scan --table rascunho.tbl --min 10 -o trechos.txt
step brelquim-text pointers --save
step brelquim-text dump
echo "\$ # translate string 1 into a longer line; does every string fit in the text box?"
sed -i 's/^Welcome to the castle!<end>$/Olá, bem-vindo ao castelo!<end>/' textos.txt
echo "\$ sed -n '/^#\\[1\\]/,/^\$/p' textos.txt"
sed -n '/^#\[1\]/,/^$/p' textos.txt
step brelquim-text check

echo
echo "\$ # build: the graphics, then the text, in one image, and its patch"
step brelquim-build
echo
echo "\$ # the new image read again: graphics, then text"
mkdir again
cd again
step brelquim -i ../traduzido.sfc
changed=0
for file in ../arquivos/grafico_*.bin; do
  cmp -s "$file" "arquivos/$(basename "$file")" || changed=$((changed + 1))
done
echo "graphics that differ from the edited folder: $changed"
[ "$changed" -eq 0 ] || exit 1
if cmp -s ../edited_009.bin arquivos/grafico_009.bin; then echo "the edit came back"; else exit 1; fi
step brelquim-text dump -i ../traduzido.sfc --table ../sample.tbl --pointers '$98:8000:7' --long-pointers '$99:8000:4'
echo "\$ sed -n '/^#\\[1\\]/,/^\$/p' textos.txt"
sed -n '/^#\[1\]/,/^$/p' textos.txt
if grep -qx 'Olá, bem-vindo ao castelo!<end>' textos.txt; then echo "the translation came back"; else exit 1; fi
step brelquim-png --gallery
echo "gallery of the new image: $work/again/galeria.html"
cd ..

echo
echo "\$ # share it: the build's patch, applied to a clean copy"
cp sample.sfc copia.sfc
step brelquim-patch apply traducao.bps copia.sfc jogo.sfc
if cmp -s jogo.sfc traduzido.sfc; then echo "the patched copy is the translation, byte for byte"; else exit 1; fi
if [ "${BRELQUIM_KEEP:-}" = 1 ]; then
  echo "the folder stays: $work"
else
  echo "the folder is removed now; BRELQUIM_KEEP=1 scripts/demo.sh keeps it, to open the gallery in a browser"
fi
