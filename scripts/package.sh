#!/usr/bin/env bash
# Builds the release packages into build/packages:
#   brelquim-<version>-win64.zip           brelquim.exe, brelquim-insert.exe and README.md
#   brelquim-<version>-linux-x86_64.tar.gz brelquim-<version>-linux-x86_64/{brelquim,brelquim-insert,README.md}
# The version is the CMake project version.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh $(cat scripts/build-packages.txt) g++-mingw-w64-x86-64-posix googletest zip

echo "-- windows build"
cmake --preset windows >/dev/null
cmake --build --preset windows --target brelquim brelquim-insert
echo "-- linux release build"
cmake -S . -B build/linux-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRELQUIM_TESTS=OFF >/dev/null
cmake --build build/linux-release --target brelquim brelquim-insert

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
for program in brelquim brelquim-insert; do
  x86_64-w64-mingw32-strip -o "$stage/$win/$program.exe" "build/windows/$program.exe"
done
cp README.md "$stage/$win/"
rm -f "$out/$win.zip"
(cd "$stage/$win" && zip -q -X "$out/$win.zip" brelquim.exe brelquim-insert.exe && zip -q -X -l "$out/$win.zip" README.md)

linux="brelquim-$version-linux-x86_64"
mkdir "$stage/$linux"
for program in brelquim brelquim-insert; do
  strip -o "$stage/$linux/$program" "build/linux-release/$program"
done
cp README.md "$stage/$linux/"
tar -C "$stage" --owner=0 --group=0 --numeric-owner --sort=name -czf "$out/$linux.tar.gz" "$linux"

echo "-- packages"
ls -l "$out/$win.zip" "$out/$linux.tar.gz"
