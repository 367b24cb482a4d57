#!/usr/bin/env bash
# Installs, from Debian's archive, every package that building and testing need.
# Safe to run again: packages already present are skipped.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config git
  zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  hyperfine
  libcurl4-openssl-dev curl python3-pyftpdlib
  qt6-base-dev fonts-liberation2
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
