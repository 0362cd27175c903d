#!/usr/bin/env bash
# Builds libmd's SHA-2 functions as a static library for 64-bit Windows
# (MinGW-w64) from Debian's source package of the libmd-dev version
# installed here, for the Windows programs to carry it inside:
#   scripts/build-libmd.sh    build/libmd-windows/{include,lib,share}
# The Linux build links Debian's own libmd.a. Does nothing when the
# library is already there; scripts/debian-source.sh fetches the source
# package.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix="$PWD/build/libmd-windows"
[ -f "$prefix/lib/libmd.a" ] && exit 0
bash scripts/setup.sh dpkg-dev libmd-dev gcc-mingw-w64-x86-64-posix

source scripts/debian-source.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$(debianSource libmd libmd-dev "$work")
echo "-- libmd $version for windows from Debian's source package"
source=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libmd-*' -print -quit)
[ -f "$source/src/sha2.c" ] || { echo "no src/sha2.c in the source package"; exit 1; }

# sha2.c asks for the configure step's config.h and needs nothing of it.
mkdir -p "$work/config" "$work/objects"
: > "$work/config/config.h"
x86_64-w64-mingw32-gcc-posix -O2 -I"$work/config" -I"$source/include" -I"$source/src" \
  -c "$source/src/sha2.c" -o "$work/objects/sha2.o"
# Built in a folder of its own and moved in place whole, so that two builds
# at once never see half a library.
staged="$prefix.$$"
rm -rf "$staged"
mkdir -p "$staged/include" "$staged/lib" "$staged/share"
cp "$source/include/sha2.h" "$staged/include/"
cp "$source/debian/copyright" "$staged/share/copyright"
x86_64-w64-mingw32-ar rcs "$staged/lib/libmd.a" "$work/objects/sha2.o"
rm -rf "$prefix"
mv "$staged" "$prefix"
echo "-- $prefix/lib/libmd.a"
