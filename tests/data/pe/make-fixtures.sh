#!/usr/bin/env bash
# Makes the PE files that the version-resource tests read, from the resource
# scripts in rc/, with the MinGW-w64 binutils from Debian's archive
# (binutils-mingw-w64-i686, binutils-mingw-w64-x86-64). The files are checked
# in, so the tests do not need these tools; run this again after changing an
# .rc file. The output is reproducible: the linker writes no time stamp.
#
# Each file is as small as a PE file gets: an executable holds one "ret" as
# its entry point, a DLL holds resources only (entry point 0, as Windows
# allows for resource-only DLLs). Everything is stripped.
set -euo pipefail
cd "$(dirname "$0")"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# build ARCH KIND RC OUTPUT: ARCH x86 (PE32) or x64 (PE32+), KIND exe or
# dll, RC the name of a script in rc/ without ".rc" (or "" for none).
build() {
  local arch=$1 kind=$2 rc=$3 out=$4 prefix
  case $arch in
    x86) prefix=i686-w64-mingw32 ;;
    x64) prefix=x86_64-w64-mingw32 ;;
    *) echo "unknown architecture $arch" >&2; exit 1 ;;
  esac
  local objects=()
  if [[ -n $rc ]]; then
    "$prefix-windres" -i "rc/$rc.rc" -o "$tmp/$out.o"
    objects+=("$tmp/$out.o")
  fi
  case $kind in
    exe)
      printf '\t.text\n\t.globl start\nstart:\n\tret\n' >"$tmp/entry.s"
      "$prefix-as" "$tmp/entry.s" -o "$tmp/entry-$arch.o"
      "$prefix-ld" --no-insert-timestamp -e start -o "$out" "$tmp/entry-$arch.o" "${objects[@]}"
      ;;
    dll)
      "$prefix-ld" --no-insert-timestamp --dll -e 0 -o "$out" "${objects[@]}"
      ;;
  esac
  "$prefix-strip" "$out"
  chmod -x "$out"
}

build x86 dll en1252 en1252_x86.dll
build x64 dll en1252 en1252_x64.dll
build x64 exe en1200 en1200_x64.exe
build x64 dll german german_x64.dll
build x86 exe two_tables two_tables_x86.exe
build x64 dll no_strings no_strings_x64.dll
build x86 dll no_fixed no_fixed_x86.dll
build x64 dll two_languages two_languages_x64.dll
build x86 dll no_version no_version_x86.dll
build x64 exe "" no_resources_x64.exe
build x86 dll self_register self_register_x86.dll
build x86 dll self_register_elsewhere self_register_elsewhere_x86.dll
printf 'This is a plain text file, not a program.\r\nIt has no version information.\r\n' >plain.txt
