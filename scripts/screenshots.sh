#!/usr/bin/env bash
# Pictures of the forms as the Qt user interface draws them, taken
# off-screen while the Quarry setup program runs in a throw-away machine:
# the product's distribution is built and installed, every form and box is
# answered with its default button (WENMOOR_AUTOPRESS) and photographed
# whenever it is shown or changes page (WENMOOR_SCREENSHOTS).
#
#   scripts/screenshots.sh [build-dir]      (default: build)
#
# The PNGs land in <build-dir>/screenshots/, numbered in the order taken;
# those of the generic setup program with a script translated into German
# (examples/german) in <build-dir>/screenshots/german/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath -m "${1:-build}")
shots=$build/screenshots

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWENMOOR_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target quarry-setup quarry-demo-prefix wenmoor-loader wenmoor-uninstall wenmoor-setup

work=$(mktemp -d /tmp/wenmoor-shots.XXXXXX)
trap 'rm -rf "$work"' EXIT
export WINEPREFIX=$work/prefix
export QT_QPA_PLATFORM=offscreen WENMOOR_UI=qt WENMOOR_AUTOPRESS=1 WENMOOR_SCREENSHOTS=$shots TZ=UTC
rm -rf "$shots"
winpath() { printf 'Z:%s' "${1//\//\\}"; }

"$build/bin/quarry-demo-prefix" >/dev/null

# The developer's side: the payload and the program with its BUILD.INF.
mkdir -p "$work/prog" "$work/out"
cp -r "$root/examples/quarry/payload" "$work/"
cp "$build/bin/quarry-setup" "$work/prog/"
printf '%s\r\n' "$(winpath "$work/out")" > "$work/prog/BUILD.INF"
(cd "$work" && WENMOOR_UI=headless "$work/prog/quarry-setup" -b >/dev/null 2>&1) || true

# The user's side: the distribution's setup program when the build made
# one, else the setup program itself (which shows what it can without one).
status=0
if [ -x "$work/out/setup.exe" ]; then
  (cd "$work/out" && ./setup.exe) || status=$?
else
  echo "screenshots: the distribution was not built; running the setup program without one" >&2
  (cd "$work" && "$work/prog/quarry-setup" -d "-s$(winpath "$work")") || status=$?
fi
echo "setup program exit status: $status"
ls -1 "$shots"

# The standard dialogs in German: the generic setup program with a script
# whose translator carries German texts, on a machine whose user speaks German.
mkdir -p "$work/german"
cp "$build/bin/wenmoor-setup" "$root/examples/german/wenmoor-setup.dfm" "$work/german/"
(cd "$work/german" && WINEPREFIX=$work/german-prefix LANG=de_DE.UTF-8 WENMOOR_SCREENSHOTS=$shots/german \
  ./wenmoor-setup "-s$(winpath "$work/german")") || echo "german run exit status: $?"
ls -1 "$shots/german"
