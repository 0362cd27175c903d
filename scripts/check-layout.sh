#!/usr/bin/env bash
# Checks that every #include goes the way the layout allows: a library
# includes only the libraries below it, a program only libraries and its
# own folder, and no library, benchmark or fuzz target includes a program.
# The layers are drawn in docs/development.md. Prints each include that
# goes the wrong way and ends with status 1 when there is any.
#   scripts/check-layout.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# What each folder may include besides itself.
libraries="encoding platform rom tiles graphics text patch placement png discovery preview insertion project cli"
declare -A allowed=(
  [encoding]=""
  [platform]="encoding"
  [rom]="encoding platform"
  [tiles]="encoding platform"
  [graphics]="encoding platform rom"
  [text]="encoding platform rom"
  [patch]="encoding platform rom"
  [placement]="encoding platform rom"
  [png]="encoding platform rom tiles graphics"
  [discovery]="encoding platform rom text"
  [preview]="encoding platform rom tiles graphics text png"
  [insertion]="encoding platform rom tiles graphics text patch placement png"
  [project]="encoding platform rom tiles graphics text patch placement png preview insertion"
  [cli]="encoding platform rom tiles graphics text patch placement png discovery preview insertion project"
  [programs]="$libraries"
  [tests/sample]="encoding platform rom tiles graphics"
  [bench]="$libraries tests/sample"
  [fuzz]="$libraries tests/sample"
  [tests]="$libraries tests/sample programs"
)

# The folder a path belongs to, as the table above names it: a program's
# own folder for what lies in programs/.
owner() {
  case "$1" in
    programs/*) echo "programs" ;;
    tests/sample/*) echo "tests/sample" ;;
    tests/*) echo "tests" ;;
    *) echo "${1%%/*}" ;;
  esac
}

# The folder an included path names (programs/<name> for a program).
target() {
  case "$1" in
    programs/*) echo "$1" | cut -d/ -f1-2 ;;
    tests/sample/*) echo "tests/sample" ;;
    */*) echo "${1%%/*}" ;;
    *) echo "" ;;
  esac
}

wrong=0
while IFS= read -r file; do
  from=$(owner "$file")
  [ -n "${allowed[$from]+set}" ] || continue
  while IFS= read -r included; do
    to=$(target "$included")
    [ -n "$to" ] || continue
    if [ "$from" = "programs" ]; then
      own=$(echo "$file" | cut -d/ -f1-2)
      [ "$to" = "$own" ] && continue
    elif [ "$to" = "$from" ]; then
      continue
    fi
    case "$to" in programs/*) to_layer="programs" ;; *) to_layer="$to" ;; esac
    # A test may link one program's code, never a program another's.
    if [ "$from" = "tests" ] && [ "$to_layer" = "programs" ]; then continue; fi
    if [[ " ${allowed[$from]} " != *" $to_layer "* ]] || { [ "$from" = "programs" ] && [ "$to_layer" = "programs" ]; }; then
      echo "$file includes $included: $from may not include $to"
      wrong=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files '*.cpp' '*.h')

if [ "$wrong" -ne 0 ]; then
  echo "includes go against the layout of docs/development.md"
  exit 1
fi
echo "layout: every include goes the way the layout allows"
