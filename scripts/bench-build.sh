#!/usr/bin/env bash
# Measures a whole brelquim-build against the chain it replaces, on the
# same edits: the 4 MiB sample with 20 000 strings (bench/make_text_image),
# every graphic changed (bench/edit_all) and every string changed (its
# first letter outside a <...> code turned into another), the project
# without patches, as the chain writes none. The chain is brelquim-insert
# then brelquim-text insert on its output; the goal is a build within 1.3
# times the sum of their median wall times. Also checks that the build
# writes what the chain writes. Run by scripts/bench.sh; alone, it takes
# the same environment (scripts/bench-common.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/bench-common.sh

echo "== brelquim-build of the 4 MiB sample, every graphic and all 20 000 strings changed, against"
echo "   brelquim-insert + brelquim-text insert on the same edits: median wall time of $((rounds * runs)) runs each"
folder="$work/build"
mkdir "$folder"
cd "$folder"
tables=$("$build/bench/make_text_image" original.sfc jogo.tbl)
"$build/brelquim" -i original.sfc >/dev/null
"$build/bench/edit_all" arquivos
"$build/brelquim-text" dump -i original.sfc --table jogo.tbl --long-pointers "$tables" -o dumped.txt >/dev/null
perl -pe 'next if /^#/ || /^\s*$/; s/^((?:<[^>]*>|[^a-z<])*)([a-z])/$1.($2 eq "a" ? "e" : "a")/e' dumped.txt >textos.txt
digest=$(sha256sum original.sfc | cut -d' ' -f1)
cat >brelquim.toml <<TOML
[image]
original = "original.sfc"
sha256 = "$digest"
output = "traduzido.sfc"
patches = []
[text]
table = "jogo.tbl"
script = "textos.txt"
TOML
insert="$build/brelquim-insert -i original.sfc -o graficos.sfc"
text="$build/brelquim-text insert -i graficos.sfc -o cadeia.sfc textos.txt"
$insert >/dev/null
$text | grep '^Textos alterados'
"$build/brelquim-build" | LC_ALL=C grep '^Resumo' >/dev/null
cmp traduzido.sfc cadeia.sfc || { echo "the build and the chain wrote different images"; exit 1; }

timeRounds build true "$build/brelquim-build" "$text"
read -r buildTime <"$work/run.txt"
read -r textTime <"$work/floor.txt"
timeRounds insert true "$insert" "$text"
read -r insertTime <"$work/run.txt"
awk -v b="$buildTime" -v i="$insertTime" -v t="$textTime" 'BEGIN {
  printf "brelquim-insert %.3f s + brelquim-text insert %.3f s = %.3f s\n", i, t, i + t
  printf "brelquim-build  %.3f s: %.2fx the chain (goal: 1.3x or less)\n", b, b / (i + t)
}'
