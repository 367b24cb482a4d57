#!/usr/bin/env bash
# Shows what the built system does, in a throw-away prefix.
set -uo pipefail
cd "$(dirname "$0")/.."
bin=$PWD/build/bin
work=$(mktemp -d /tmp/wenmoor-demo.XXXXXX)
export WINEPREFIX=$work/prefix
step() { printf '\n== %s\n' "$*"; }

step "wenmoor: the command-line tool"
"$bin/wenmoor" help

step "A fresh emulated machine"
"$bin/wenmoor" prefix create
"$bin/wenmoor" prefix path 'C:\Program Files'
"$bin/wenmoor" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v ProgramFilesDir

step "The registry, edited as with reg.exe"
"$bin/wenmoor" reg add 'HKLM\Software\Demo' /v Greeting /t REG_SZ /d 'Hello from the demo' /f
"$bin/wenmoor" reg query 'HKLM\Software\Demo'
grep -A2 -i '^\[Software\\\\Demo\]' "$WINEPREFIX/system.reg"

step "An archive of the installation format"
mkdir -p "$work/payload"
printf 'Read me first.\r\n' > "$work/payload/readme.txt"
head -c 200000 /dev/urandom > "$work/payload/data.bin"
head -c 300000 "$bin/wenmoor" > "$work/payload/tool.bin"
"$bin/wenmoor" archive create "$work/files.1" --id 10 --level max "$work/payload"
"$bin/wenmoor" archive list "$work/files.1"
"$bin/wenmoor" archive test "$work/files.1"
"$bin/wenmoor" archive extract "$work/files.1" -d "$work/out"
cmp "$work/payload/tool.bin" "$work/out/tool.bin" && echo "extracted files are identical to their sources"

step "The generic setup program with a minimal script"
cp "$bin/wenmoor-setup" "$work/"
cp examples/minimal/wenmoor-setup.dfm "$work/"
cat "$work/wenmoor-setup.dfm"
echo "-- run with an invalid switch:"
"$work/wenmoor-setup" -x; echo "exit status $?"
echo "-- run in install mode:"
"$work/wenmoor-setup"; echo "exit status $?"

rm -rf "$work"
