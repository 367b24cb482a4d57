#!/bin/sh
# Building and installing a distribution of 10,000 small files, against
# tar with gzip -9 over the same files:
#
#   wenmoor-setup -b            vs  tar -I 'gzip -9' -cf files.tar.gz src
#   setup.exe (headless)        vs  tar -xzf files.tar.gz -C <new directory>
#
# The build is the whole program: its script (10,000 install files in 100
# directories) is read, every file compressed into files.1, the program
# packed into setup.1 and joined with the loading program into one
# self-extracting setup.exe. The installation is the whole setup.exe into a
# fresh machine: unpacking the install program, reading the archive,
# writing the files with their dates, an uninstall record per file and the
# uninstall entry. Runs with hyperfine:
#
#   bench/build_bench.sh [BUILD-DIRECTORY]     (default: build)
set -eu

build=$(cd "${1:-build}" && pwd)
for tool in hyperfine objcopy tar gzip awk; do
  command -v "$tool" >/dev/null || { echo "build_bench: $tool is needed" >&2; exit 1; }
done
[ -x "$build/bin/wenmoor-setup" ] || { echo "build_bench: $build/bin/wenmoor-setup is not built" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/build-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
win() { printf 'Z:%s' "$1" | tr / '\\'; }

# 10,000 files of 1 to 3 KB of text, different in every file.
mkdir -p prog out src
awk -v dir="$work/src" 'BEGIN {
  for (d = 0; d < 100; d++) system(sprintf("mkdir -p %s/d%02d", dir, d));
  srand(7);
  for (i = 0; i < 10000; i++) {
    f = sprintf("%s/d%02d/f%05d.txt", dir, i % 100, i);
    n = 1024 + int(rand() * 2048);
    s = "";
    while (length(s) < n) s = s sprintf("line %d of file %d: %x\n", length(s), i, int(rand() * 4294967295));
    printf "%s", substr(s, 1, n) > f;
    close(f);
  }
}'

# The script: one directory per source directory, one install file per file.
SRC=$(win "$work/src") PROG=$(win "$work/prog") awk 'BEGIN {
  src = ENVIRON["SRC"]; prog = ENVIRON["PROG"];
  print "object MainForm: TForm";
  print "  object Install1: TInstall";
  print "    DestDir = '\''\\Bench'\''";
  print "    DestDirType = psProgramFiles";
  print "    Information.ProductName = '\''Bench'\''";
  print "    PresetupFiles.Strings = (";
  print "      '\''" prog "\\wenmoor-setup.dfm'\'')";
  print "  end";
  for (d = 0; d < 100; d++) {
    printf "  object Dir%02d: TInstallDirectory\n    Container = Install1\n", d;
    printf "    DestDirType = psContainerDestDir\n    DestDir = '\''\\d%02d'\''\n", d;
    print "    ArchiveFileType = psContainerArchiveFile\n  end";
  }
  for (i = 0; i < 10000; i++) {
    printf "  object IF%05d: TInstallFile\n    Container = Dir%02d\n", i, i % 100;
    printf "    FileName = '\''f%05d.txt'\''\n    DestName = '\''f%05d.txt'\''\n", i, i;
    printf "    IncludeFromDir = '\''%s\\d%02d'\''\n", src, i % 100;
    print "    ArchiveFileType = psContainerArchiveFile\n    DestDirType = psContainerDestDir";
    printf "    UniqueID = %d\n  end\n", i % 2000;
  }
  print "end";
}' > prog/wenmoor-setup.dfm

# A product ships its program without debugging information.
objcopy --strip-debug "$build/bin/wenmoor-setup" prog/wenmoor-setup
win "$work/out" > prog/BUILD.INF
export WENMOOR_UI=headless WINEPREFIX="$work/prefix"
prog/wenmoor-setup -b
mkdir -p fresh && WINEPREFIX="$work/fresh" "$build/bin/wenmoor" prefix create >/dev/null
tar -I 'gzip -9' -cf files.tar.gz src
echo "setup.exe: $(wc -c < out/setup.exe) bytes; files.1: $(wc -c < out/files.1) bytes;" \
     "files.tar.gz: $(wc -c < files.tar.gz) bytes"

hyperfine --warmup 1 --runs 5 \
  --command-name "wenmoor-setup -b" "prog/wenmoor-setup -b" \
  --command-name "tar -I 'gzip -9' -cf" "tar -I 'gzip -9' -cf files.tar.gz src"

hyperfine --warmup 1 --runs 5 \
  --prepare "rm -rf '$work/prefix' '$work/x' && cp -a '$work/fresh' '$work/prefix' && mkdir '$work/x'" \
  --command-name "setup.exe" "out/setup.exe" \
  --command-name "tar -xzf" "tar -xzf files.tar.gz -C x"
