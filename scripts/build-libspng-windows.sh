#!/usr/bin/env bash
# Builds libspng as a static library for 64-bit Windows (MinGW-w64), from
# Debian's source package of the libspng-dev version installed here, into
# build/libspng-windows/{include,lib,share}; the windows preset links it
# into brelquim-png.exe with the static zlib of libz-mingw-w64-dev. Does
# nothing when the library is already there. Adds a deb-src entry for
# Debian's own archives when apt knows no source packages yet.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix="$PWD/build/libspng-windows"
[ -f "$prefix/lib/libspng_static.a" ] && exit 0
bash scripts/setup.sh dpkg-dev gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev libspng-dev

version=$(dpkg-query -W -f='${source:Version}' libspng-dev)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if ! apt-get source --print-uris "libspng=$version" >/dev/null 2>&1; then
  echo "-- adding deb-src entries for Debian's archives"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      $sudo tee /etc/apt/sources.list.d/brelquim-deb-src.sources >/dev/null
  else
    sed -n 's/^deb \(.*\)$/deb-src \1/p' /etc/apt/sources.list |
      $sudo tee /etc/apt/sources.list.d/brelquim-deb-src.list >/dev/null
  fi
  $sudo apt-get update -qq
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "-- libspng $version from Debian's source package"
(cd "$work" && apt-get source -qq "libspng=$version" >/dev/null 2>&1) ||
  (cd "$work" && apt-get source "libspng=$version")
source=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libspng-*' -print -quit)
[ -f "$source/spng/spng.c" ] || { echo "no spng/spng.c in the source package"; exit 1; }

mkdir -p "$work/objects"
x86_64-w64-mingw32-gcc-posix -O2 -DSPNG_STATIC -c "$source/spng/spng.c" -o "$work/objects/spng.o"
rm -rf "$prefix"
mkdir -p "$prefix/include" "$prefix/lib" "$prefix/share"
cp "$source/spng/spng.h" "$prefix/include/"
cp "$source/debian/copyright" "$prefix/share/copyright"
x86_64-w64-mingw32-ar rcs "$prefix/lib/libspng_static.a" "$work/objects/spng.o"
echo "-- $prefix/lib/libspng_static.a"
