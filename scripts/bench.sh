#!/usr/bin/env bash
# Measures the codec and whole runs on one core and prints the figures of
# docs/performance.md:
#   1. the decoder (decompressGraphic) on 64 KiB graphics of three kinds, in
#      GB/s of decoded output, and its ratio to the per-byte reference
#      measured in the same run; loading a 4 MiB image;
#   2. the encoder (compressGraphic) on the same graphics, in GB/s of input,
#      beside the reference that counts each group in a table;
#   3. the tile formats both ways, and the 169 graphics of the 4 MiB sample
#      converted to PNG, with the share of PNG compression;
#   4. a whole run of brelquim against the I/O floor (bench/io_floor) on the
#      1 MiB and the 4 MiB sample image, timed with hyperfine: median wall
#      time of each and their ratio; the peak resident memory of both, from
#      /usr/bin/time -v;
#   5. a whole run of brelquim-insert with all 169 graphics of the 4 MiB
#      sample changed, against its I/O floor (bench/insert_floor), the same
#      way; beside it, the codec's part alone (every graphic decoded, its
#      edit encoded, the new stream decoded), which no run can do without:
#      the floor plus that work is the lowest ratio a run can reach;
#   6. the text library with a table of 500 two-byte entries: strings read
#      (readString and scriptText) and written back (encodeText), in MB/s
#      of string bytes; and a whole brelquim-text dump of 20 000 strings
#      from the 4 MiB sample (bench/make_text_image) against its I/O floor
#      (bench/dump_floor), the same way as the insertion, beside the dump's
#      work in memory alone; and the search, the scan and the pointer
#      finder on a 4 MiB image of the game, beside reading its file.
#   7. brelquim-patch on two pairs of images against its I/O floor, and the
#      patch sizes (scripts/bench-patch.sh).
#   8. brelquim-build of the 4 MiB sample with every graphic and every
#      string changed, against brelquim-insert and brelquim-text insert on
#      the same edits (scripts/bench-build.sh).
# Environment: see scripts/bench-common.sh (BENCH_CPU, BENCH_ROUNDS,
# BENCH_RUNS, BENCH_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/bench-common.sh

echo "== machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores; measured on core $cpu"

echo
echo "== decoder: 64 KiB graphics (65535 bytes), median of 5 repetitions"
on_core "$build/bench/brelquim_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_format=json --benchmark_out="$work/decoder.json" --benchmark_out_format=json >/dev/null
median() { # benchmark name -> bytes per second
  jq -r --arg name "$1" '.benchmarks[] | select(.run_name == $name and .aggregate_name == "median")
    | .bytes_per_second' "$work/decoder.json"
}
# One table row per kind: the benchmark <name>/fast_<kind> against
# <name>/reference_<kind>, in GB/s and as their ratio.
compareTable() { # name, fast column, reference column
  printf '%-12s %13s %14s %8s\n' kind "$2" "$3" ratio
  for kind in mostly_fill random half_fill; do
    fast=$(median "$1/fast_$kind")
    reference=$(median "$1/reference_$kind")
    awk -v k="$kind" -v f="$fast" -v r="$reference" \
      'BEGIN { printf "%-12s %13.2f %14.2f %7.1fx\n", k, f / 1e9, r / 1e9, f / r }'
  done
}
compareTable decode "decoder GB/s" "per-byte GB/s"
echo
echo "== encoder: the same graphics, median of 5 repetitions"
compareTable encode "encoder GB/s" "reference GB/s"
load=$(median loadImage)
awk -v b="$load" 'BEGIN { printf "loading and parsing a 4 MiB image (file cached, memory reused): %.2f GB/s (%.2f ms)\n", b / 1e9, 4194304 / b * 1e3 }'

echo
echo "== tiles to pixels and back: 64 KiB of tiles in 16 columns, GB/s of tile bytes (floor: 1 GB/s)"
printf '%-6s %10s %10s\n' format "to pixels" "to tiles"
for format in 1bpp 2bpp 3bpp 4bpp 8bpp mode7; do
  awk -v f="$format" -v p="$(median "tiles/to_pixels_$format")" -v t="$(median "tiles/to_tiles_$format")" \
    'BEGIN { printf "%-6s %10.2f %10.2f\n", f, p / 1e9, t / 1e9 }'
done

echo
echo "== the 169 graphics of the 4 MiB sample to indexed PNG (4 bpp, in memory), median of 5"
seconds() { # benchmark name -> seconds per iteration
  jq -r --arg name "$1" '.benchmarks[] | select(.run_name == $name and .aggregate_name == "median")
    | .cpu_time / 1e3' "$work/decoder.json"
}
whole=$(seconds png/169_graphics_to_png)
compression=$(seconds png/169_graphics_png_compression_only)
back=$(seconds png/169_pngs_to_graphics)
awk -v w="$whole" -v c="$compression" -v b="$back" 'BEGIN {
  printf "whole conversion %.1f ms, of which PNG compression (libspng, zlib) %.1f ms: %.0f%%\n", w * 1e3, c * 1e3, 100 * c / w
  printf "the way back (PNG decoding and tiles) %.1f ms\n", b * 1e3 }'

echo
echo "== whole run against the I/O floor: median wall time of $((rounds * runs)) runs each"
echo "   (hyperfine, in alternating rounds; every run in a fresh output folder in $work,"
echo "    $(df --output=fstype "$work" | tail -1))"
for sample in standard large; do
  flag=""
  [ "$sample" = large ] && flag="--large"
  "$build/make_sample_rom" "$work/$sample.sfc" $flag
  # A first real run gives the log's length, which the floor reproduces,
  # and the file sizes the floor must match.
  mkdir "$work/first-$sample" "$work/floor-$sample" "$work/run-$sample"
  (cd "$work/first-$sample" && "$build/brelquim" -i "../$sample.sfc" >/dev/null)
  logBytes=$(stat -c %s "$work/first-$sample/log.txt")
  (cd "$work/floor-$sample" && "$build/bench/io_floor" "../$sample.sfc" "$logBytes")
  sizes() { (cd "$1/arquivos" && stat -c '%n %s' *; stat -c 'log %s' ../log.txt); }
  if ! diff -q <(sizes "$work/first-$sample") <(sizes "$work/floor-$sample") >/dev/null; then
    echo "the floor does not write the files of a run" >&2
    exit 1
  fi

  cd "$work/run-$sample"
  timeRounds "$sample" "rm -rf arquivos log.txt" \
    "$build/brelquim -i ../$sample.sfc" "$build/bench/io_floor ../$sample.sfc $logBytes"
  cd - >/dev/null

  # Peak resident memory, the median of five runs of each.
  peak() {
    for _ in 1 2 3 4 5; do
      (cd "$work/run-$sample" && rm -rf arquivos log.txt &&
        /usr/bin/time -v "$@" 2>&1 >/dev/null | sed -n 's/.*Maximum resident set size (kbytes): //p')
    done | sort -n | sed -n 3p
  }
  runPeak=$(peak "$build/brelquim" -i "../$sample.sfc")
  floorPeak=$(peak "$build/bench/io_floor" "../$sample.sfc" "$logBytes")
  awk -v s="$sample" -v r="$(cat "$work/run.txt")" -v f="$(cat "$work/floor.txt")" -v rp="$runPeak" -v fp="$floorPeak" \
    'BEGIN { printf "%-8s run %.2f ms, floor %.2f ms, ratio %.3f; peak memory run %d KiB, floor %d KiB (%+d KiB)\n",
             s, r * 1e3, f * 1e3, r / f, rp, fp, rp - fp }'
done

echo
echo "== brelquim-insert, all 169 graphics of the 4 MiB sample changed, against its I/O floor:"
echo "   median wall time of $((rounds * runs)) runs each (hyperfine, alternating rounds; the"
echo "   output removed before every run), and the mean CPU time (user + system)"
insertWork="$work/insert-large"
mkdir "$insertWork"
(cd "$insertWork" && "$build/brelquim" -i ../large.sfc >/dev/null)
"$build/bench/edit_all" "$insertWork/arquivos"
cd "$insertWork"
"$build/brelquim-insert" -i ../large.sfc -o new.sfc | tail -3
timeRounds insert "rm -f new.sfc" \
  "$build/brelquim-insert -i ../large.sfc -o new.sfc" "$build/bench/insert_floor ../large.sfc arquivos new.sfc"
cd - >/dev/null
cpu() { jq -s --argjson i "$1" '[.[].results[$i] | .user + .system] | add / length' "$work"/insert-*.json; }
awk -v r="$(cat "$work/run.txt")" -v f="$(cat "$work/floor.txt")" -v rc="$(cpu 0)" -v fc="$(cpu 1)" \
  -v c="$(seconds insert/169_graphics_codec_work)" \
  'BEGIN { printf "insert   run %.2f ms, floor %.2f ms, ratio %.3f; CPU run %.2f ms, floor %.2f ms, ratio %.3f\n",
           r * 1e3, f * 1e3, r / f, rc * 1e3, fc * 1e3, rc / fc
           printf "codec work alone %.2f ms: floor plus codec work, ratio %.3f\n", c * 1e3, (f + c) / f }'

echo
echo "== text, through a table of 500 two-byte entries: MB/s of string bytes (goal: 200 MB/s), median of 5"
awk -v r="$(median text/read_500_entry_table)" -v w="$(median text/write_500_entry_table)" \
  'BEGIN { printf "reading (readString + scriptText) %.1f MB/s, writing (encodeText) %.1f MB/s\n", r / 1e6, w / 1e6 }'

echo
echo "== finding the text of a 4 MiB image (tests/sample/TextImage.h): ms of one core, median of 5, beside reading its file"
awk -v r="$(seconds discovery/read_4MiB_image)" -v s="$(seconds discovery/scan_4MiB)" \
  -v p="$(seconds discovery/pointers_4MiB)" -v q="$(seconds discovery/search_3_words_4MiB)" \
  'BEGIN { printf "reading the image %.2f ms; scan %.2f ms (goal: 100), pointers %.2f ms (goal: 100), search of three words %.2f ms (goal: 50)\n",
           r * 1e3, s * 1e3, p * 1e3, q * 1e3 }'

echo
echo "== brelquim-text dump of 20 000 strings from the 4 MiB sample against its I/O floor:"
echo "   median wall time of $((rounds * runs)) runs each (hyperfine, alternating rounds; the"
echo "   script removed before every run), and the mean CPU time (user + system)"
textWork="$work/text"
mkdir "$textWork"
cd "$textWork"
tables=$("$build/bench/make_text_image" text.sfc text.tbl)
"$build/brelquim-text" dump -i text.sfc --table text.tbl --long-pointers "$tables" -o first.txt | tail -1
scriptBytes=$(stat -c %s first.txt)
timeRounds dump "rm -f textos.txt" \
  "$build/brelquim-text dump -i text.sfc --table text.tbl --long-pointers $tables -o textos.txt" \
  "$build/bench/dump_floor text.sfc text.tbl $scriptBytes textos.txt"
cd - >/dev/null
dumpCpu() { jq -s --argjson i "$1" '[.[].results[$i] | .user + .system] | add / length' "$work"/dump-*.json; }
awk -v r="$(cat "$work/run.txt")" -v f="$(cat "$work/floor.txt")" -v rc="$(dumpCpu 0)" -v fc="$(dumpCpu 1)" \
  -v c="$(seconds text/dump_20000_strings_in_memory)" -v b="$scriptBytes" \
  'BEGIN { printf "dump     run %.2f ms, floor %.2f ms, ratio %.3f (goal: 1.5); CPU run %.2f ms, floor %.2f ms\n",
           r * 1e3, f * 1e3, r / f, rc * 1e3, fc * 1e3
           printf "the dump'"'"'s work in memory alone %.2f ms (script of %d bytes): floor plus that work, ratio %.3f\n",
           c * 1e3, b, (f + c) / f }'

echo
bash scripts/bench-patch.sh
echo
bash scripts/bench-build.sh
