#!/usr/bin/env bash
# The console judges the loop: each case makes a fresh image (the sample,
# or the sample after the tools changed it), runs it for 120 frames in a
# real SNES emulator (Debian's bsnes-mercury libretro core, driven by
# tests/emulator's headless frontend) and compares the last frame pixel
# by pixel with the screen that the sample's boot program must show,
# drawn by the project's own tile code from the image's bytes, its text
# box the picture that `brelquim-text preview --png` draws of the first
# string (the case's boxes/texto_001.png when it made one, else the
# preview of the image's own first string). One check
# shows that the comparison has teeth: an image with one bit of graphic
# 12's stream flipped must not pass as the sample.
#
# A case is a function that writes case.sfc in the current folder, and
# one run_case line below.
#
#   scripts/test.d/45-emulator.sh [case...]   only the named cases (and no teeth check)
#   EMULATOR_FRAMES=folder                    keeps each case's last frame there as <case>.png
set -euo pipefail
only=("$@")
frames=${EMULATOR_FRAMES:-}
[ -z "$frames" ] || mkdir -p "$frames"
cd "$(dirname "$0")/../.."
bash scripts/setup.sh $(cat scripts/build-packages.txt) retroarch-dev
cmake --preset default >/dev/null  # finds libretro.h once retroarch-dev is there
cmake --build --preset default --target brelquim brelquim-insert brelquim-text brelquim-patch make_sample_rom write_noise snes_screen >/dev/null
build="$PWD/build/default"

# The core: taken from its Debian package without the frontend that the
# package depends on (apt-get download, dpkg -x) into the build folder.
corePackage=libretro-bsnes-mercury-performance
coreDir="$build/emulator-core"
core="$coreDir/usr/lib/x86_64-linux-gnu/libretro/bsnes_mercury_performance_libretro.so"
if [ ! -f "$core" ]; then
  download=$(mktemp -d)
  chmod 755 "$download"
  if ! (cd "$download" && apt-get download -q "$corePackage" >/dev/null 2>&1); then
    apt-get update -qq
    (cd "$download" && apt-get download -q "$corePackage" >/dev/null)
  fi
  rm -rf "$coreDir"
  dpkg -x "$download"/"$corePackage"_*.deb "$coreDir"
  rm -rf "$download"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# --- the cases: each writes case.sfc in the current folder -------------

sample() { "$build/make_sample_rom" case.sfc "$@"; }

# Extracts case.sfc into arquivos/ and puts the folder back into it.
extract() { "$build/brelquim" -i case.sfc >/dev/null; }
insert() { # options...
  "$build/brelquim-insert" -i case.sfc -o new.sfc "$@" >insert.txt
  mv new.sfc case.sfc
}
expectSize() { # bytes
  local size
  size=$(stat -c %s case.sfc)
  [ "$size" -eq "$1" ] || { echo "the image is $size bytes, not $1"; return 1; }
}

case_sample() { sample; }
case_copier_header() { sample --copier-header; }
# Graphic 12 in inverse video: a stream of the same length, put back in place.
case_edited_in_place() {
  sample
  extract
  descending=$(for value in $(seq 255 -1 0); do printf '\\%03o' "$value"; done)
  tr '\000-\377' "$descending" <arquivos/grafico_012.bin >edited.bin
  mv edited.bin arquivos/grafico_012.bin
  insert
  grep -q 'no mesmo lugar' insert.txt || { cat insert.txt; return 1; }
  expectSize $((1 << 20))
}
# Graphic 12 as noise, longer: it moves to new room and the image grows.
case_moved_2mib() {
  sample
  extract
  "$build/write_noise" arquivos/grafico_012.bin 29000 12
  insert --allow-resize
  expectSize $((2 << 20))
}
# Every graphic made incompressible (the font keeps its 256 tiles in
# front of its noise): the image grows to 4 MiB.
case_moved_4mib() {
  sample
  extract
  local graphic file
  for graphic in $(seq 0 168); do
    file=$(printf 'arquivos/grafico_%03d.bin' "$graphic")
    if [ "$graphic" -eq 9 ]; then
      "$build/write_noise" tail.bin 5204 1009
      head -c 4096 "$file" >font.bin
      cat font.bin tail.bin >"$file"
    else
      "$build/write_noise" "$file" 9300 $((graphic + 1))
    fi
  done
  insert --allow-resize
  expectSize $((4 << 20))
}

# The first string translated into a longer one: it moves within bank
# $98, into the room the sample leaves unused there.
case_text_moved() {
  sample
  local tables=(--pointers '$98:8000:7' --long-pointers '$99:8000:4')
  "$build/brelquim-text" dump -i case.sfc --table case.tbl "${tables[@]}" >dump.txt
  sed -i 's/^Welcome to the castle!<end>$/Bem-vindo ao castelo, viajante!<end>/' textos.txt
  "$build/brelquim-text" insert -i case.sfc -o new.sfc --table case.tbl --free '$98:E000:$99:8000' textos.txt >insert.txt
  grep -q '\$98:E000 .* movido para uma faixa livre' insert.txt || { cat insert.txt; return 1; }
  mv new.sfc case.sfc
}

# String 1 translated (the script's text given), previewed by the script
# into boxes/ and put back: the console must draw the preview's box.
translated() { # text
  sample
  local tables=(--pointers '$98:8000:7')
  "$build/brelquim-text" dump -i case.sfc --table case.tbl "${tables[@]}" >dump.txt
  TEXT="$1" perl -0pi -e 's/\nWelcome to the castle!<end>\n/\n$ENV{TEXT}\n/' textos.txt
  "$build/brelquim-text" preview -i case.sfc --table case.tbl textos.txt --png boxes -o page.html >preview.txt
  "$build/brelquim-text" insert -i case.sfc -o new.sfc --table case.tbl --free '$98:E000:$99:8000' textos.txt >insert.txt
  mv new.sfc case.sfc
}
# Three lines, the first wrapped by hand, accented letters, the words the
# table keeps in one code.
case_text_wrapped() {
  translated $'Ol\xc3\xa1! Voc\xc3\xaa chegou ao<br>castelo. the castle<br>\xc3\xa9 seu.<end>'
}
# A line one glyph too long: check names it, the page draws it red, the
# console clips it at the box's edge.
case_text_line_over() {
  translated 'Bem-vindo ao castelo, amigos!<br>ok<end>'
  local status=0
  "$build/brelquim-text" check -i case.sfc --table case.tbl --pointers '$98:8000:7' >check.txt || status=$?
  [ "$status" -eq 1 ] || { echo "check ended with $status"; cat check.txt; return 1; }
  grep -q '^Texto 1, linha 1: 232 pixels numa caixa de 224\.$' check.txt || { cat check.txt; return 1; }
  grep -q 'href="#texto-1"' page.html || { echo "the page links no overflow"; return 1; }
}
# Five lines: the box shows three.
case_text_box_over() {
  translated $'Um<br>dois<br>tr\xc3\xaas<br>quatro<br>cinco<end>'
  "$build/brelquim-text" check -i case.sfc --table case.tbl --pointers '$98:8000:7' >check.txt && return 1
  grep -q '^Texto 1, caixa 1: 5 linhas numa caixa de 3\.$' check.txt || { cat check.txt; return 1; }
}
# A control code, a break right before the end, the two-byte word.
case_text_codes() {
  translated '<color><$03>Ganhou: the castle!<br><end>'
}

# The translation shipped as a BPS: made from the sample and the translated
# image, applied by brelquim-patch to a clean copy, which is the case.
case_text_patched() {
  case_text_moved
  mv case.sfc translated.sfc
  sample
  "$build/brelquim-patch" create case.sfc translated.sfc traducao.bps >create.txt
  mv case.sfc clean.sfc
  "$build/brelquim-patch" apply traducao.bps clean.sfc case.sfc >apply.txt
  cmp -s case.sfc translated.sfc || { echo "the patched copy is not the translated image"; return 1; }
}

# --- running them --------------------------------------------------------

passed=0
failed=0
# Counts a verdict: PASS and its line, or FAIL, its line and the output.
verdict() { # yes-or-empty pass-line fail-line output
  if [ "$1" = yes ]; then
    echo "PASS $2"
    passed=$((passed + 1))
  else
    echo "FAIL $3"
    echo "$4"
    failed=$((failed + 1))
  fi
}
run_case() { # name function
  local name=$1 dir="$work/$1" output status=0
  if [ ${#only[@]} -gt 0 ]; then
    local wanted=no named
    for named in "${only[@]}"; do [ "$named" = "$name" ] && wanted=yes; done
    [ "$wanted" = yes ] || return 0
  fi
  mkdir -p "$dir"
  if ! (cd "$dir" && "$2") >"$dir/make.txt" 2>&1; then
    echo "FAIL $name: the image was not made"
    cat "$dir/make.txt"
    failed=$((failed + 1))
    return
  fi
  if [ ! -f "$dir/boxes/texto_001.png" ] &&
    ! "$build/brelquim-text" preview -i "$dir/case.sfc" --table "$dir/case.tbl" --pointers '$98:8000:7' \
      --png "$dir/boxes" -o "$dir/page.html" >"$dir/preview.txt"; then
    echo "FAIL $name: the preview was not made"
    cat "$dir/preview.txt"
    failed=$((failed + 1))
    return
  fi
  output=$("$build/tests/emulator/snes_screen" "$core" "$dir/case.sfc" --box "$dir/boxes/texto_001.png" \
    --frame-png "$dir/frame.png" 2>/dev/null) || status=$?
  [ -z "$frames" ] || [ ! -f "$dir/frame.png" ] || cp "$dir/frame.png" "$frames/$name.png"
  verdict "$([ "$status" -eq 0 ] && echo yes)" \
    "$name: $(sed -n 's/^.*: \([0-9]* frames, [0-9]* frames a second\)$/\1/p' <<<"$output")" "$name:" "$output"
}

run_case sample case_sample
run_case copier-header case_copier_header
run_case edited-in-place case_edited_in_place
run_case moved-2mib case_moved_2mib
run_case moved-4mib case_moved_4mib
run_case text-moved case_text_moved
run_case text-patched case_text_patched
run_case text-wrapped case_text_wrapped
run_case text-line-over case_text_line_over
run_case text-box-over case_text_box_over
run_case text-codes case_text_codes

if [ ${#only[@]} -gt 0 ]; then
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
fi

# The teeth: one bit of graphic 12's stream flipped (its first byte, the
# control byte of the first group); the frame must then differ from the
# sample's expected screen.
teeth="$work/teeth"
mkdir -p "$teeth"
(
  cd "$teeth"
  sample
  extract
  line=$(grep '^grafico_012\.bin ' log.txt)
  read -r _ _ length end <<<"$line"
  start=$((0x$end - 0x$length))
  byte=$(od -An -tu1 -j "$start" -N1 case.sfc | tr -d ' ')
  cp case.sfc flipped.sfc
  printf "\\$(printf '%03o' $((byte ^ 1)))" | dd of=flipped.sfc bs=1 seek="$start" conv=notrunc status=none
  "$build/brelquim-text" preview -i case.sfc --table case.tbl --pointers '$98:8000:7' --png boxes >/dev/null
)
# A check with teeth passes when the frame differs (status 1).
expect_differ() { # name seen-words missed-words snes_screen-arguments...
  local name=$1 seen=$2 missed=$3 status=0 output
  shift 3
  output=$("$build/tests/emulator/snes_screen" "$core" "$@" 2>/dev/null) || status=$?
  verdict "$([ "$status" -eq 1 ] && echo yes)" \
    "$name: $seen ($(sed -n 's/^.*: \([0-9]* pixels differ\).*$/\1/p' <<<"$output"))" \
    "$name: $missed (status $status)" "$output"
}
expect_differ teeth "one bit flipped in graphic 12's stream is seen" \
  "an image with one bit of graphic 12 flipped passed as the sample" \
  "$teeth/flipped.sfc" --box "$teeth/boxes/texto_001.png" --expect-from "$teeth/case.sfc"
# The box's teeth: the sample's frame against the box of another string
# (texto_003.png, "Potion") must differ too.
expect_differ box-teeth "another string's box is seen" "the sample passed with another string's box" \
  "$teeth/case.sfc" --box "$teeth/boxes/texto_003.png"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
