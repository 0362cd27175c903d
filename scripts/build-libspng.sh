#!/usr/bin/env bash
# Builds libspng as a static library from Debian's source package of the
# libspng-dev version installed here, for the programs to carry it inside:
#   scripts/build-libspng.sh linux     build/libspng-linux/{include,lib,share}
#   scripts/build-libspng.sh windows   build/libspng-windows/{include,lib,share}
#                                      (64-bit Windows, MinGW-w64)
# brelquim-png links it with a static zlib (Debian's libz.a from zlib1g-dev,
# or libz-mingw-w64-dev's for Windows), so that it needs no library beside
# the system's C library. Does nothing when the library is already there.
# scripts/debian-source.sh fetches the source package.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:-}
case "$target" in
  linux) compiler=gcc; archiver=ar; flags="-O2 -fPIC"; packages=(gcc zlib1g-dev) ;;
  windows)
    compiler=x86_64-w64-mingw32-gcc-posix; archiver=x86_64-w64-mingw32-ar; flags="-O2"
    packages=(gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev) ;;
  *) echo "usage: scripts/build-libspng.sh linux|windows" >&2; exit 2 ;;
esac
prefix="$PWD/build/libspng-$target"
[ -f "$prefix/lib/libspng_static.a" ] && exit 0
bash scripts/setup.sh dpkg-dev libspng-dev "${packages[@]}"

source scripts/debian-source.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$(debianSource libspng libspng-dev "$work")
echo "-- libspng $version for $target from Debian's source package"
source=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libspng-*' -print -quit)
[ -f "$source/spng/spng.c" ] || { echo "no spng/spng.c in the source package"; exit 1; }

mkdir -p "$work/objects"
# shellcheck disable=SC2086
"$compiler" $flags -DSPNG_STATIC -c "$source/spng/spng.c" -o "$work/objects/spng.o"
# Built in a folder of its own and moved in place whole, so that two builds
# at once never see half a library.
staged="$prefix.$$"
rm -rf "$staged"
mkdir -p "$staged/include" "$staged/lib" "$staged/share"
cp "$source/spng/spng.h" "$staged/include/"
cp "$source/debian/copyright" "$staged/share/copyright"
"$archiver" rcs "$staged/lib/libspng_static.a" "$work/objects/spng.o"
rm -rf "$prefix"
mv "$staged" "$prefix"
echo "-- $prefix/lib/libspng_static.a"
