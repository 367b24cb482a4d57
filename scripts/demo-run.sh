#!/usr/bin/env bash
# The main job, on what the build made: builds the Quarry distribution with
# `quarry-setup -b`, installs it silently (headless backend) on a fresh
# emulated machine where Delphi 4 is registered, shows what the installation
# did, and removes it again with the uninstaller it placed.
#
# Everything lands in a throw-away directory, kept at the end for a look:
#   build/    the build machine (a prefix) and the program with BUILD.INF
#   dist/     the distribution: setup.exe, setup.1, files.1
#   machine/  the user's machine (WINEPREFIX)
set -uo pipefail
cd "$(dirname "$0")/.."
bin=$PWD/build/bin
work=$(mktemp -d /tmp/quarry-demo.XXXXXX)
step() { printf '\n== %s\n' "$*"; }
winpath() { printf 'Z:%s' "${1//\//\\}"; }
fail() { echo "demo: $*" >&2; exit 1; }
wenmoor() { WINEPREFIX=$work/machine "$bin/wenmoor" "$@"; }

step "Building the Quarry distribution (quarry-setup -b)"
mkdir -p "$work/build" "$work/dist"
# The distribution carries the program: without its debugging information.
strip -o "$work/build/quarry-setup" "$bin/quarry-setup"
winpath "$work/dist" > "$work/build/BUILD.INF"
WINEPREFIX=$work/build/prefix WENMOOR_UI=headless WENMOOR_TRANSCRIPT=$work/build/transcript.txt \
  "$work/build/quarry-setup" -b || fail "the build failed (exit status $?)"
ls -l "$work/dist"
echo "-- the archive files.1:"
"$bin/wenmoor" archive list "$work/dist/files.1"

step "A user's machine with Delphi 4"
WINEPREFIX=$work/machine "$bin/quarry-demo-prefix" || fail "could not prepare the machine"
wenmoor reg query 'HKCU\Software\Borland\Delphi\4.0\Library' /v 'Search Path'

step "Installing silently: setup.exe with the headless operator"
WINEPREFIX=$work/machine WENMOOR_UI=headless WENMOOR_TRANSCRIPT=$work/transcript.txt "$work/dist/setup.exe"
status=$?
echo "setup.exe ended with exit status $status (0: completed)"
echo "-- the pages shown and the buttons pressed (full transcript: $work/transcript.txt):"
grep -E '^(=== (form|show)|-> )' "$work/transcript.txt"
[ "$status" = 0 ] || fail "the installation did not complete"

step "Installed files"
dest=$(wenmoor prefix path 'C:\Program Files\Quarry')
(cd "$dest" && find . -type f | sort | sed 's|^\./|  C:\\Program Files\\Quarry\\|; s|/|\\|g')
echo "  C:\\windows\\system32\\qrydb14.dll: $(wenmoor prefix path 'C:\windows\system32\qrydb14.dll' | xargs -d '\n' stat -c '%s bytes')"

step "Registry values written by the script"
wenmoor reg query 'HKLM\Software\Fennick Software\Quarry'
step "The uninstall entry and its records"
wenmoor reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quarry Database Engine'
wenmoor reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quarry Database Engine\Files' /v Entries

step "Delphi 4: package, palette, library search path, help contents"
wenmoor reg query 'HKCU\Software\Borland\Delphi\4.0\Known Packages'
wenmoor reg query 'HKCU\Software\Borland\Delphi\4.0\Palette' /v 'Data Access'
wenmoor reg query 'HKCU\Software\Borland\Delphi\4.0\Library' /v 'Search Path'
cat "$(wenmoor prefix path 'C:\Program Files\Borland\Delphi4\Help')"/*.ohl

step "The installation log (instlog.txt)"
log=$(find "$work/machine/drive_c" -iname instlog.txt | head -1)
[ -n "$log" ] && { echo "($log)"; cat "$log"; } || echo "no log was written"

step "Uninstalling with the uninstaller the installation placed"
WINEPREFIX=$work/machine "$dest/Uninstall/uninstall.exe" 'Quarry Database Engine'
echo "uninstall.exe ended with exit status $?"
if [ -d "$dest" ]; then echo "left in C:\\Program Files\\Quarry:"; find "$dest"; else echo "C:\\Program Files\\Quarry is gone"; fi
wenmoor reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quarry Database Engine' >/dev/null 2>&1 \
  && echo "the uninstall entry is still there" || echo "the uninstall entry is gone"

step "Done"
echo "The machines and the distribution are in $work"
