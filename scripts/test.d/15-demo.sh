#!/usr/bin/env bash
# The README's first command, as a newcomer runs it: scripts/demo.sh must
# go through the whole loop (graphics and text out, edited, back in, read
# again) and end with status 0, and print exactly the README's worked
# example.
set -euo pipefail
cd "$(dirname "$0")/../.."
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! bash scripts/demo.sh >"$log" 2>&1; then
  cat "$log"
  echo "scripts/demo.sh failed"
  exit 1
fi
grep -q '^the edit came back$' "$log"
grep -q '^the translation came back$' "$log"
echo "demo: the loop ran, the edit and the translation came back"

# The README's worked example is exactly what the demo prints, from its
# first line on (shown as UTF-8), but for the name of the
# temporary folder, which differs every run.
folder() { sed -n 's/^# in \(.*\)$/\1/p' "$1"; }
readme=$(mktemp)
demo=$(mktemp)
trap 'rm -f "$log" "$readme" "$demo"' EXIT
awk '/^## /{inside = ($0 ~ /^## The whole loop/); next}
     inside {line[++n] = $0; if ($0 ~ /^    /) {if (!first) first = n; last = n}}
     END {for (i = first; i <= last; i++) {text = line[i]; sub(/^    /, "", text); print text}}' README.md >"$readme"
# The programs print Windows-1252, the script's lines are UTF-8: each line
# is shown in UTF-8 as a terminal of either would show it.
sed -n '/^# in /,$p' "$log" >"$demo.raw"
while IFS= read -r line; do
  if printf '%s\n' "$line" | iconv -f UTF-8 -t UTF-8 >/dev/null 2>&1; then
    printf '%s\n' "$line"
  else
    printf '%s\n' "$line" | iconv -f WINDOWS-1252 -t UTF-8
  fi
done <"$demo.raw" >"$demo"
rm -f "$demo.raw"
readmeFolder=$(folder "$readme")
demoFolder=$(folder "$demo")
if [ -z "$readmeFolder" ] || [ -z "$demoFolder" ] ||
  ! diff -u --label README.md --label scripts/demo.sh <(sed "s|$readmeFolder|<folder>|g" "$readme") \
    <(sed "s|$demoFolder|<folder>|g" "$demo"); then
  echo "README.md's worked example is not what scripts/demo.sh prints"
  exit 1
fi
echo "demo: README.md's worked example is what it prints"
