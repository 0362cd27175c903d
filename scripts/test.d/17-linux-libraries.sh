#!/usr/bin/env bash
# The Linux programs need nothing but glibc: their NEEDED entries are only
# glibc's own libraries (libc, libm and the dynamic loader; the C++
# runtime, libspng and zlib are linked in), the newest glibc symbol version
# they ask for is at most the floor that the docs state, and each of them
# runs in a chroot that holds nothing but those libraries.
set -euo pipefail
cd "$(dirname "$0")/../.."
# The oldest glibc the programs start on: __libc_start_main asks for 2.34
# in any program linked on Debian 12, and the static libgcc's unwinder for
# _dl_find_object (2.35).
floor=2.35
mapfile -t programs < scripts/programs.txt
[ -f build/default/CMakeCache.txt ] || cmake --preset default >/dev/null
cmake --build --preset default --target "${programs[@]}" >/dev/null

allowed="libc.so.6 libm.so.6 ld-linux-x86-64.so.2"
newest=""
for program in "${programs[@]}"; do
  exe="build/default/$program"
  needed=$(objdump -p "$exe" | sed -n 's/^ *NEEDED *//p' | sort | paste -sd' ' -)
  echo "$program needs: $needed"
  for library in $needed; do
    case " $allowed " in
      *" $library "*) ;;
      *) echo "$program needs $library, which is not part of glibc"; exit 1 ;;
    esac
  done
  version=$(objdump -T "$exe" | sed -n 's/.*(GLIBC_\([0-9.]*\)).*/\1/p' | sort -uV | tail -n 1)
  echo "$program: newest glibc symbol version $version"
  if [ "$(printf '%s\n%s\n' "$version" "$floor" | sort -V | tail -n 1)" != "$floor" ]; then
    echo "$program asks for glibc $version, past the stated floor $floor"; exit 1
  fi
  newest=$(printf '%s\n%s\n' "$version" "${newest:-0}" | sort -V | tail -n 1)
done
echo "oldest glibc the programs start on: $newest (stated floor: $floor)"

# A system of glibc alone: the loader and the libraries it names.
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
for library in /lib64/ld-linux-x86-64.so.2 /lib/x86_64-linux-gnu/libc.so.6 /lib/x86_64-linux-gnu/libm.so.6; do
  mkdir -p "$root$(dirname "$library")"
  cp -L "$library" "$root$library"
done
for program in "${programs[@]}"; do cp "build/default/$program" "$root/"; done
head -c 64 /dev/zero >"$root/a.bin"
# chroot exits 125 when it cannot change the root itself (no privilege).
status=0
chroot "$root" /brelquim-png --version >/dev/null 2>"$root.err" || status=$?
if [ "$status" -eq 125 ]; then
  cat "$root.err"; rm -f "$root.err"
  for program in "${programs[@]}"; do
    /lib64/ld-linux-x86-64.so.2 --list "build/default/$program"
  done
  echo "no chroot on this machine: checked with the dynamic loader's list only"
  exit 0
fi
rm -f "$root.err"
[ "$status" -eq 0 ] || { echo "brelquim-png did not start in the chroot (status $status)"; exit 1; }
( cd "$root" && chroot "$root" /brelquim-insert --version )
( cd "$root" && chroot "$root" /brelquim-png /a.bin )
[ -s "$root/a.png" ] || { echo "brelquim-png wrote no a.png in the chroot"; exit 1; }
status=0
chroot "$root" /brelquim >/dev/null || status=$?
[ "$status" -eq 1 ] || { echo "brelquim did not start in the chroot (status $status)"; exit 1; }
echo "every program runs in a chroot of glibc alone"
