#!/usr/bin/env bash
# The console judges the loop: each case makes a fresh image (the sample,
# or the sample after the tools changed it), runs it for 120 frames in a
# real SNES emulator (Debian's bsnes-mercury libretro core, driven by
# tests/emulator's headless frontend) and compares the last frame pixel
# by pixel with the screen that the sample's boot program must show,
# drawn by the project's own tile code from the image's bytes. One check
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
  output=$("$build/tests/emulator/snes_screen" "$core" "$dir/case.sfc" --frame-png "$dir/frame.png" 2>/dev/null) || status=$?
  [ -z "$frames" ] || [ ! -f "$dir/frame.png" ] || cp "$dir/frame.png" "$frames/$name.png"
  if [ "$status" -eq 0 ]; then
    echo "PASS $name: $(sed -n 's/^.*: \([0-9]* frames, [0-9]* frames a second\)$/\1/p' <<<"$output")"
    passed=$((passed + 1))
  else
    echo "FAIL $name:"
    echo "$output"
    failed=$((failed + 1))
  fi
}

run_case sample case_sample
run_case copier-header case_copier_header
run_case edited-in-place case_edited_in_place
run_case moved-2mib case_moved_2mib
run_case moved-4mib case_moved_4mib
run_case text-moved case_text_moved
run_case text-patched case_text_patched

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
)
status=0
output=$("$build/tests/emulator/snes_screen" "$core" "$teeth/flipped.sfc" --expect-from "$teeth/case.sfc" 2>/dev/null) || status=$?
if [ "$status" -eq 1 ]; then
  echo "PASS teeth: one bit flipped in graphic 12's stream is seen ($(sed -n 's/^.*: \([0-9]* pixels differ\).*$/\1/p' <<<"$output"))"
  passed=$((passed + 1))
else
  echo "FAIL teeth: an image with one bit of graphic 12 flipped passed as the sample (status $status)"
  echo "$output"
  failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
