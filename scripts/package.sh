#!/usr/bin/env bash
# Builds the release packages into build/packages:
#   brelquim-<version>-win64.zip           the programs' .exe files and the documents
#   brelquim-<version>-linux-x86_64.tar.gz brelquim-<version>-linux-x86_64/{programs,documents}
# The programs: those of scripts/programs.txt. The documents:
# README.md (without its parts about the source), the program pages docs/brelquim*.md (one per program; the
# development, performance and robustness pages stay in the source),
# LICENSE, NOTICES.txt (the notices of the libraries linked into the
# programs) and licencas/ with the licence notices of libspng, zlib and
# libdeflate, which brelquim-png and the programs that make patches carry,
# and of toml++ and libmd, which the programs reading the project carry
# (from Debian's copyright files).
# The version is the CMake project version.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh $(cat scripts/build-packages.txt) g++-mingw-w64-x86-64-posix googletest zip libz-mingw-w64-dev

mapfile -t programs < scripts/programs.txt

echo "-- windows build"
cmake --preset windows >/dev/null
cmake --build --preset windows --target "${programs[@]}"
echo "-- linux release build"
cmake -S . -B build/linux-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRELQUIM_TESTS=OFF >/dev/null
cmake --build build/linux-release --target "${programs[@]}"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
[ -n "$version" ] || { echo "no project version in build/windows/CMakeCache.txt"; exit 1; }
out="$PWD/build/packages"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$out"

# The README without its parts about the source (scripts/packaged-readme.sh).
bash scripts/packaged-readme.sh >"$stage/README.md"

pages=(docs/brelquim*.md)
[ -e "${pages[0]}" ] || { echo "no program pages in docs/"; exit 1; }
documents=(README.md "${pages[@]}" LICENSE NOTICES.txt licencas/libspng.txt licencas/zlib.txt licencas/libdeflate.txt
  licencas/tomlplusplus.txt licencas/libmd.txt)
# The documents of a package into folder; the notices of the libraries as
# the build of that platform links them.
stageDocuments() {
  local folder=$1 libspng=$2 zlib=$3 libdeflate=$4 libmd=$5
  cp "$stage/README.md" LICENSE NOTICES.txt "$folder/"
  mkdir "$folder/docs"
  cp "${pages[@]}" "$folder/docs/"
  mkdir "$folder/licencas"
  cp "$libspng" "$folder/licencas/libspng.txt"
  cp "$zlib" "$folder/licencas/zlib.txt"
  cp "$libdeflate" "$folder/licencas/libdeflate.txt"
  cp /usr/share/doc/libtomlplusplus-dev/copyright "$folder/licencas/tomlplusplus.txt"
  cp "$libmd" "$folder/licencas/libmd.txt"
}

# Windows: the exe files and the documents side by side, the documents with
# CR LF line ends for Windows editors.
win="brelquim-$version-win64"
mkdir "$stage/$win"
for program in "${programs[@]}"; do
  x86_64-w64-mingw32-strip -o "$stage/$win/$program.exe" "build/windows/$program.exe"
done
stageDocuments "$stage/$win" build/libspng-windows/share/copyright /usr/share/doc/libz-mingw-w64-dev/copyright \
  build/libdeflate-windows/share/copyright build/libmd-windows/share/copyright
rm -f "$out/$win.zip"
(cd "$stage/$win" && zip -q -X "$out/$win.zip" "${programs[@]/%/.exe}" && zip -q -X -l "$out/$win.zip" "${documents[@]}")

linux="brelquim-$version-linux-x86_64"
mkdir "$stage/$linux"
for program in "${programs[@]}"; do
  strip -o "$stage/$linux/$program" "build/linux-release/$program"
done
stageDocuments "$stage/$linux" build/libspng-linux/share/copyright /usr/share/doc/zlib1g/copyright \
  /usr/share/doc/libdeflate-dev/copyright /usr/share/doc/libmd-dev/copyright
tar -C "$stage" --owner=0 --group=0 --numeric-owner --sort=name -czf "$out/$linux.tar.gz" "$linux"

echo "-- packages"
ls -l "$out/$win.zip" "$out/$linux.tar.gz"
