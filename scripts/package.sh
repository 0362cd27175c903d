#!/usr/bin/env bash
# Builds the release packages into build/packages:
#   brelquim-<version>-win64.zip           brelquim.exe, brelquim-png.exe, README.md, licencas/
#   brelquim-<version>-linux-x86_64.tar.gz brelquim-<version>-linux-x86_64/{brelquim,brelquim-png,README.md,licencas/}
# licencas/ holds the licence notices of libspng and zlib, which
# brelquim-png carries (from Debian's copyright files).
# The version is the CMake project version.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh $(cat scripts/build-packages.txt) g++-mingw-w64-x86-64-posix googletest zip libz-mingw-w64-dev

echo "-- windows build"
cmake --preset windows >/dev/null
cmake --build --preset windows --target brelquim brelquim-png
echo "-- linux release build"
cmake -S . -B build/linux-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRELQUIM_TESTS=OFF >/dev/null
cmake --build build/linux-release --target brelquim brelquim-png

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
[ -n "$version" ] || { echo "no project version in build/windows/CMakeCache.txt"; exit 1; }
out="$PWD/build/packages"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$out"

# Windows: the exe and the README side by side, the README with CR LF line
# ends for Windows editors.
win="brelquim-$version-win64"
mkdir "$stage/$win"
x86_64-w64-mingw32-strip -o "$stage/$win/brelquim.exe" build/windows/brelquim.exe
x86_64-w64-mingw32-strip -o "$stage/$win/brelquim-png.exe" build/windows/brelquim-png.exe
cp README.md "$stage/$win/"
mkdir "$stage/$win/licencas"
cp build/libspng-windows/share/copyright "$stage/$win/licencas/libspng.txt"
cp /usr/share/doc/libz-mingw-w64-dev/copyright "$stage/$win/licencas/zlib.txt"
rm -f "$out/$win.zip"
(cd "$stage/$win" && zip -q -X "$out/$win.zip" brelquim.exe brelquim-png.exe &&
  zip -q -X -l "$out/$win.zip" README.md licencas/libspng.txt licencas/zlib.txt)

linux="brelquim-$version-linux-x86_64"
mkdir "$stage/$linux"
strip -o "$stage/$linux/brelquim" build/linux-release/brelquim
strip -o "$stage/$linux/brelquim-png" build/linux-release/brelquim-png
cp README.md "$stage/$linux/"
mkdir "$stage/$linux/licencas"
cp /usr/share/doc/libspng-dev/copyright "$stage/$linux/licencas/libspng.txt"
cp /usr/share/doc/zlib1g/copyright "$stage/$linux/licencas/zlib.txt"
tar -C "$stage" --owner=0 --group=0 --numeric-owner --sort=name -czf "$out/$linux.tar.gz" "$linux"

echo "-- packages"
ls -l "$out/$win.zip" "$out/$linux.tar.gz"
