#!/usr/bin/env bash
# Runs every test: installs what is missing, builds, runs the suite in the
# normal build and under AddressSanitizer/UBSan, and runs each fuzz target
# briefly over its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export TZ=UTC
scripts/build.sh default
ctest --preset default
scripts/build.sh asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan
scripts/build.sh fuzz
ctest --preset fuzz
