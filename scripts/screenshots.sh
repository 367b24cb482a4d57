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
# (examples/german) in <build-dir>/screenshots/german/. Further scenes, each
# on a throw-away machine of its own, land in subdirectories of their own:
#   german-quarry/   the Quarry installation for a user who speaks German
#   german-failure/  the failure wizard in German
#   delphi-version/  the Delphi version page (a distribution for two IDE
#                    versions, on a machine with both)
#   failure/         the wizard after a failed installation
#   reboot/          the restart wizard (a file in use when installing again)
#   change-disk/     the window asking for the next disk (an installation
#                    from floppy disks)
# A scene that fails prints one line, and the script goes on.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath -m "${1:-build}")
shots=$build/screenshots

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWENMOOR_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target quarry-setup quarry-demo-prefix wenmoor-loader wenmoor-uninstall wenmoor-setup wenmoor

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

# ---------------------------------------------------------------------------
# Further scenes. Each runs in a subshell of its own with its own machine;
# a failure is reported in one line and the next scene goes on.
scene() {
  local name=$1
  shift
  set +e
  (set -e; "$@" >"$work/$name.log" 2>&1)
  local rc=$?
  set -e
  if [ "$rc" -ne 0 ]; then
    echo "screenshots: scene $name failed (status $rc): $(grep -v XDG_RUNTIME_DIR "$work/$name.log" | tail -n 1)"
  else
    echo "scene $name:"
    ls -1 "$shots/$name" 2>/dev/null || echo "  (no pictures)"
  fi
}

# A machine of its own for the scene, with Delphi 4 registered.
new_machine() {
  export WINEPREFIX=$work/$1-prefix
  "$build/bin/quarry-demo-prefix" >/dev/null
}

# Registers Delphi 5 on the current machine the way the demo machine has
# Delphi 4: the machine's key with the root directory, the user's package,
# library and palette keys, and the IDE's help contents file.
register_delphi5() {
  local root='C:\Program Files\Borland\Delphi5' key='Software\Borland\Delphi\5.0' reg=$build/bin/wenmoor
  "$reg" reg add "HKLM\\$key" /v RootDir /d "$root" /f
  "$reg" reg add "HKCU\\$key\\Known Packages" /v '$(DELPHI)\Bin\dclstd50.bpl' /d 'Standard Components' /f
  "$reg" reg add "HKCU\\$key\\Disabled Packages" /f
  "$reg" reg add "HKCU\\$key\\Library" /v 'Search Path' /d '$(DELPHI)\Lib;$(DELPHI)\Bin;$(DELPHI)\Imports' /f
  "$reg" reg add "HKCU\\$key\\Palette" /v Standard /d 'TMainMenu;TPopupMenu;TLabel;TEdit;TMemo;TButton;' /f
  local dir="$WINEPREFIX/drive_c/Program Files/Borland/Delphi5"
  mkdir -p "$dir/Bin" "$dir/Lib" "$dir/Help"
  printf ':Title Delphi 5 Help\r\n:Link del5vcl.hlp\r\n:Link del5prog.hlp\r\n;Third-party Help\r\n' \
    >"$dir/Help/delphi5.ohl"
}

# The Delphi version page is left out when the distribution holds files for
# one IDE version only, as the shipped one does (Delphi 4). This scene builds
# its own distribution from a copy of the setup program whose built-in
# script puts one of the Delphi 4 units under Delphi 5 (an edit of the same
# length, so the program stays whole), and installs it on a machine with
# both versions registered.
scene_delphi_version() {
  local dir=$work/delphi-version
  mkdir -p "$dir/prog" "$dir/out"
  cp "$build/bin/quarry-setup" "$dir/prog/"
  perl -0777 -pi -e '
    $n = s/(object ifQryQuery_dcu: TInstallFile\r?\n    Container = )Delphi4/${1}Delphi5/g;
    END { die "the script text to edit is not in the program\n" unless $n == 1 }' "$dir/prog/quarry-setup"
  printf '%s\r\n' "$(winpath "$dir/out")" >"$dir/prog/BUILD.INF"
  (cd "$dir" && WINEPREFIX=$dir/builder WENMOOR_UI=headless WENMOOR_SCREENSHOTS= ./prog/quarry-setup -b)
  new_machine delphi-version
  register_delphi5
  cd "$dir/out"
  WENMOOR_SCREENSHOTS=$shots/delphi-version ./setup.exe
}

# An installation that fails while copying: where the help files go there
# is a file of that name, so their directory cannot be made.
scene_failure() {
  new_machine failure
  mkdir -p "$WINEPREFIX/drive_c/Program Files/Quarry"
  echo 'in the way' >"$WINEPREFIX/drive_c/Program Files/Quarry/Help"
  cd "$work/out"
  local rc=0
  WENMOOR_SCREENSHOTS=$shots/failure ./setup.exe || rc=$?
  [ "$rc" -eq 1 ] || { echo "the installation did not fail (status $rc)"; return 1; }
}

# A second installation over the first while another program holds one of
# the installed files open: the file is replaced at the next restart, and
# the installation offers one.
scene_reboot() {
  new_machine reboot
  cd "$work/out"
  WENMOOR_SCREENSHOTS= WENMOOR_UI=headless ./setup.exe
  local held="$WINEPREFIX/drive_c/Program Files/Quarry/readme.txt"
  [ -f "$held" ] || { echo "the first installation left no $held"; return 1; }
  sleep 120 <"$held" &
  local holder=$! rc=0
  WENMOOR_SCREENSHOTS=$shots/reboot ./setup.exe || rc=$?
  kill "$holder" 2>/dev/null || true
  wait "$holder" 2>/dev/null || true
  [ "$rc" -eq 3 ] || { echo "no restart is pending after the second installation (status $rc)"; return 1; }
}

# An installation from floppy disks. The Quarry distribution cannot be
# spread so that files.1 spans disks (a disk must hold the install program
# as one file, and the Quarry files are small), so this scene uses the
# generic setup program, stripped, with a script of its own and a data file
# that does not compress. A disk is a limit on the size of one file, as in
# the transfer tests; drive A: is a directory of the machine. Disk 2 is
# then taken out, and the installation asks for it.
scene_change_disk() {
  local dir=$work/change-disk
  mkdir -p "$dir/prog" "$dir/src" "$dir/out" "$dir/floppy" "$dir/disk2" "$dir/transfer"
  cp "$build/bin/wenmoor-setup" "$dir/prog/"
  strip "$dir/prog/wenmoor-setup"
  local program_size loader_size disk
  program_size=$(stat -c %s "$dir/prog/wenmoor-setup")
  loader_size=$(stat -c %s "$build/framework/WenmoorLoadProgram.exe")
  disk=$(((program_size > loader_size ? program_size : loader_size) + 65536))
  head -c $((disk + (1 << 20))) /dev/urandom >"$dir/src/data.bin"
  echo 'Read me.' >"$dir/src/readme.txt"
  local src prog
  src=$(winpath "$dir/src")
  prog=$(winpath "$dir/prog")
  cat >"$dir/prog/wenmoor-setup.dfm" <<DFM
object MainForm: TForm
  Caption = 'Disk Example Setup'
  object Install1: TInstall
    DestDir = '\\Disk Example'
    DestDirType = psProgramFiles
    Information.CompanyName = 'Example Company'
    Information.ProductName = 'Disk Example'
    Information.Version = '1.0'
    PresetupFiles.Strings = (
      '$prog\\wenmoor-setup.dfm')
  end
  object DiskManager: TDialogManager
    Container = Install1
    ManagerType = dmChangeDisk
  end
  object ChangeDiskDlg: TChangeDiskDlg
    Container = Install1
    DialogManager = DiskManager
  end
  object Dir1: TInstallDirectory
    Container = Install1
    DestDirType = psContainerDestDir
    DestDir = '\\Data'
    ArchiveFileType = psContainerArchiveFile
  end
  object IFreadme_txt: TInstallFile
    Container = Dir1
    FileName = 'readme.txt'
    DestName = 'readme.txt'
    IncludeFromDir = '$src'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    UniqueID = 10
  end
  object IFdata_bin: TInstallFile
    Container = Dir1
    FileName = 'data.bin'
    DestName = 'data.bin'
    IncludeFromDir = '$src'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    UniqueID = 11
  end
end
DFM
  printf '%s\r\n' "$(winpath "$dir/out")" >"$dir/prog/BUILD.INF"
  (cd "$dir" && WINEPREFIX=$dir/builder WENMOOR_UI=headless WENMOOR_SCREENSHOTS= ./prog/wenmoor-setup -b)

  new_machine change-disk
  ln -sfn "$dir/floppy" "$WINEPREFIX/dosdevices/a:"
  # The transfer, as the distribution's setup.exe starts it for *TODISK;
  # every "insert disk" prompt is answered with OK.
  cp "$dir/prog/wenmoor-setup" "$dir/prog/wenmoor-setup.dfm" "$dir/transfer/"
  printf '[message "Please insert disk *" every]\npress OK\n' >"$dir/transfer.txt"
  (cd "$dir/transfer" && WENMOOR_UI=headless WENMOOR_SCREENSHOTS= WENMOOR_ANSWERS=$dir/transfer.txt \
    sh -c "trap '' XFSZ; exec prlimit --fsize=$disk ./wenmoor-setup '-s$(winpath "$dir/out")' -esetup.exe -c -f")
  [ -f "$dir/floppy/files.2" ] || { echo "the transfer made no second disk"; return 1; }
  local n
  for n in 2 3 4 5 6 7 8 9; do
    if [ -f "$dir/floppy/files.$n" ]; then mv "$dir/floppy/files.$n" "$dir/disk2/"; fi
  done
  # The user inserts disk 2 while the window asks for it (the unattended
  # run presses Proceed a moment after the window is up).
  chmod u+x "$dir/floppy/setup.exe"
  (
    until ls "$shots/change-disk/"*ChangeDisk*.png >/dev/null 2>&1; do sleep 0.05; done
    mv "$dir/disk2/"files.* "$dir/floppy/"
  ) &
  local inserter=$! rc=0
  cd "$dir/floppy"
  WENMOOR_SCREENSHOTS=$shots/change-disk ./setup.exe || rc=$?
  kill "$inserter" 2>/dev/null || true
  wait "$inserter" 2>/dev/null || true
  [ "$rc" -eq 0 ] || { echo "the installation from the disks failed (status $rc)"; return 1; }
  cmp "$dir/src/data.bin" "$WINEPREFIX/drive_c/Program Files/Disk Example/Data/data.bin"
}

# The Quarry installation for a user who speaks German: the script carries
# the German texts of the standard dialogs and the framework's messages.
scene_german_quarry() {
  new_machine german-quarry
  cd "$work/out"
  LANG=de_DE.UTF-8 WENMOOR_SCREENSHOTS=$shots/german-quarry ./setup.exe
}

# The failure wizard in German.
scene_german_failure() {
  new_machine german-failure
  mkdir -p "$WINEPREFIX/drive_c/Program Files/Quarry"
  echo 'in the way' >"$WINEPREFIX/drive_c/Program Files/Quarry/Help"
  cd "$work/out"
  local rc=0
  LANG=de_DE.UTF-8 WENMOOR_SCREENSHOTS=$shots/german-failure ./setup.exe || rc=$?
  [ "$rc" -eq 1 ] || { echo "the installation did not fail (status $rc)"; return 1; }
}

scene german-quarry scene_german_quarry
scene german-failure scene_german_failure
scene delphi-version scene_delphi_version
scene failure scene_failure
scene reboot scene_reboot
scene change-disk scene_change_disk
