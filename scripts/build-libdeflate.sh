#!/usr/bin/env bash
# Builds libdeflate as a static library from Debian's source package of the
# libdeflate-dev version installed here, for the Windows programs to carry
# it inside (the Linux build links Debian's own libdeflate.a):
#   scripts/build-libdeflate.sh windows   build/libdeflate-windows/{include,lib,share}
#                                         (64-bit Windows, MinGW-w64)
#   scripts/build-libdeflate.sh linux     build/libdeflate-linux/{include,lib,share}
# Does nothing when the library is already there. Adds a deb-src entry for
# Debian's own archives when apt knows no source packages yet.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:-}
case "$target" in
  linux) compiler=gcc; archiver=ar; flags="-O2 -fPIC"; packages=(gcc) ;;
  windows)
    compiler=x86_64-w64-mingw32-gcc-posix; archiver=x86_64-w64-mingw32-ar; flags="-O2"
    packages=(gcc-mingw-w64-x86-64-posix) ;;
  *) echo "usage: scripts/build-libdeflate.sh linux|windows" >&2; exit 2 ;;
esac
prefix="$PWD/build/libdeflate-$target"
[ -f "$prefix/lib/libdeflate.a" ] && exit 0
bash scripts/setup.sh dpkg-dev libdeflate-dev "${packages[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. scripts/debian-source.sh
echo "-- libdeflate for $target from Debian's source package"
version=$(debianSource libdeflate libdeflate-dev "$work")
echo "-- libdeflate $version"
source=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libdeflate-*' -print -quit)
[ -f "$source/libdeflate.h" ] && [ -f "$source/lib/crc32.c" ] || { echo "no libdeflate.h or lib/crc32.c in the source package"; exit 1; }

# The library's own sources, as its build compiles them: lib/ and the
# processor-specific folders.
mkdir -p "$work/objects"
for file in "$source"/lib/*.c "$source"/lib/*/*.c; do
  object="$work/objects/$(basename "$(dirname "$file")")-$(basename "$file" .c).o"
  # shellcheck disable=SC2086
  "$compiler" $flags -I"$source" -c "$file" -o "$object"
done
# Built in a folder of its own and moved in place whole, so that two builds
# at once never see half a library.
staged="$prefix.$$"
rm -rf "$staged"
mkdir -p "$staged/include" "$staged/lib" "$staged/share"
cp "$source/libdeflate.h" "$staged/include/"
cp "$source/debian/copyright" "$staged/share/copyright"
"$archiver" rcs "$staged/lib/libdeflate.a" "$work"/objects/*.o
rm -rf "$prefix"
mv "$staged" "$prefix"
echo "-- $prefix/lib/libdeflate.a"
