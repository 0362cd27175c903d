#!/usr/bin/env bash
# Measures brelquim-patch on the two pairs of the patch benchmarks, each run
# against its I/O floor (bench/patch_floor: the same files read and a file
# of the same size written), and compares the patch sizes:
#   standard  the 1 MiB sample and a version with 50 graphics changed, 10 of
#             them made noise that does not compress, so that their streams
#             move and the image grows to 2 MiB;
#   large     the 4 MiB sample and a version with 50 graphics changed in
#             place.
# For each pair: the BPS and IPS sizes, the total length of the new streams
# of the changed graphics (from brelquim-insert's lines), and the median
# wall time of create and apply (BPS) and of their floors, with the ratios.
# Run by scripts/bench.sh; alone, it takes the same environment
# (scripts/bench-common.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/bench-common.sh
# "<run> <floor>": the median wall times in seconds.
timePair() { # name run-command floor-command
  timeRounds "$1" true "$2" "$3"
  echo "$(cat "$work/run.txt") $(cat "$work/floor.txt")"
}

echo "== brelquim-patch: two pairs, create and apply (BPS) against their I/O floor,"
echo "   median wall time of $((rounds * runs)) runs each (hyperfine, alternating rounds)"
for pair in standard large; do
  folder="$work/$pair"
  mkdir "$folder"
  cd "$folder"
  if [ "$pair" = standard ]; then
    "$build/make_sample_rom" original.sfc
    noisy=10
  else
    "$build/make_sample_rom" original.sfc --large
    noisy=0
  fi
  "$build/brelquim" -i original.sfc >/dev/null
  "$build/bench/edit_some" arquivos 50 "$noisy"
  "$build/brelquim-insert" -i original.sfc -o modified.sfc >insert.txt
  # New streams of the changed graphics: the new length, the sixth field of
  # each change line, in hexadecimal.
  streams=0
  for length in $(awk '/^grafico_/ { print $6 }' insert.txt); do streams=$((streams + 0x$length)); done
  "$build/brelquim-patch" create original.sfc modified.sfc p.bps >/dev/null
  "$build/brelquim-patch" create original.sfc modified.sfc p.ips >/dev/null
  "$build/brelquim-patch" apply p.bps original.sfc check.sfc >/dev/null
  cmp -s check.sfc modified.sfc || { echo "$pair: the patch does not give the modified image" >&2; exit 1; }
  bps=$(stat -c %s p.bps)
  ips=$(stat -c %s p.ips)
  sizes="$(stat -c %s original.sfc) -> $(stat -c %s modified.sfc) bytes"
  read -r createRun createFloor < <(timePair "$pair-create" \
    "$build/brelquim-patch create original.sfc modified.sfc out.bps" \
    "$build/bench/patch_floor original.sfc modified.sfc out.bps $bps")
  read -r applyRun applyFloor < <(timePair "$pair-apply" \
    "$build/brelquim-patch apply p.bps original.sfc out.sfc" \
    "$build/bench/patch_floor p.bps original.sfc out.sfc $(stat -c %s modified.sfc)")
  cd - >/dev/null
  awk -v p="$pair" -v s="$sizes" -v b="$bps" -v i="$ips" -v n="$streams" \
    -v cr="$createRun" -v cf="$createFloor" -v ar="$applyRun" -v af="$applyFloor" 'BEGIN {
      printf "%-8s %s; BPS %d bytes, %.3f of the %d bytes of new streams; IPS %d bytes\n", p, s, b, b / n, n, i
      printf "         create %.2f ms, floor %.2f ms, ratio %.2f; apply %.2f ms, floor %.2f ms, ratio %.2f\n",
             cr * 1e3, cf * 1e3, cr / cf, ar * 1e3, af * 1e3, ar / af }'
done
