#!/usr/bin/env bash
# The Windows build, proved without Windows: cross-builds brelquim.exe and
# the unit tests with MinGW-w64, checks that the exe needs only DLLs that
# come with Windows, and runs the unit tests and the end-to-end tests
# against the programs under Wine. Run by scripts/test.sh after the Linux
# build, whose end-to-end test program drives the exe.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/setup.sh $(cat scripts/build-packages.txt) g++-mingw-w64-x86-64-posix googletest wine64 libz-mingw-w64-dev
bash scripts/build-libspng-windows.sh

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
# Every program of the project, as the Windows build makes it.
mapfile -t programs < scripts/programs.txt
unitTests="$PWD/build/windows/tests/brelquim_unit_tests.exe"
e2eTests="$PWD/build/default/tests/brelquim_e2e_tests"

echo "-- windows build"
cmake --preset windows >/dev/null
cmake --build --preset windows

# DLLs that every 64-bit Windows has; the C++ runtime, libgcc,
# winpthreads and any other library must be linked in, not imported.
for program in "${programs[@]}"; do
  exe="$PWD/build/windows/$program.exe"
  echo "-- imports of $program.exe"
  imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
  echo "$imports"
  [ -n "$imports" ] || { echo "no imports found in $exe"; exit 1; }
  while read -r dll; do
    case "${dll,,}" in
      kernel32.dll | msvcrt.dll | ucrtbase.dll | api-ms-win-*.dll | advapi32.dll | user32.dll | shell32.dll) ;;
      *) echo "$program.exe imports $dll, which Windows does not ship"; exit 1 ;;
    esac
  done <<<"$imports"
  echo "size: $(stat -c %s "$exe") bytes"
done
# Only brelquim-png, brelquim-text (its preview's pictures) and
# brelquim-build (which takes a graphic from its PNG) carry the PNG library
# and zlib's compression; brelquim-patch (and whatever makes patches)
# carries libdeflate's CRC32 alone.
for program in "${programs[@]}"; do
  case "$program" in brelquim-png | brelquim-text | brelquim-build) continue ;; esac
  if grep -q -a -e spng_ctx_new -e inflateInit "$PWD/build/windows/$program.exe"; then
    echo "$program.exe links libspng or zlib's compression"; exit 1
  fi
done

# The end-to-end test program is a native one; build it when this step
# runs on its own (a no-op after scripts/test.sh's default build).
[ -f build/default/CMakeCache.txt ] || cmake --preset default >/dev/null
cmake --build --preset default --target brelquim_e2e_tests "${programs[@]}" >/dev/null

echo "-- wine"
# A throwaway prefix and one wineserver kept alive for the whole step, so
# that each of the many short runs starts in a fraction of a second.
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/brelquim-wine.XXXXXX")
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
stopWine() {
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap stopWine EXIT
"$wineserver" -p
started=$SECONDS
if ! "$wine" wineboot --init >"$WINEPREFIX.boot.log" 2>&1; then
  cat "$WINEPREFIX.boot.log"; rm -f "$WINEPREFIX.boot.log"; exit 1
fi
rm -f "$WINEPREFIX.boot.log"
echo "prefix ready in $((SECONDS - started)) s"

echo "-- unit tests under wine"
started=$SECONDS
"$wine" "$unitTests" --gtest_brief=1
echo "unit tests under wine: $((SECONDS - started)) s"

echo "-- end-to-end tests of ${programs[*]/%/.exe} under wine"
started=$SECONDS
for program in "${programs[@]}"; do
  variable=${program^^}
  export "${variable//-/_}_EXE=$PWD/build/windows/$program.exe"
done
BRELQUIM_RUNNER="$wine" BRELQUIM_TARGET=windows "$e2eTests" --gtest_brief=1
echo "end-to-end tests under wine: $((SECONDS - started)) s"
