#!/usr/bin/env bash
# Configures and builds one preset (default: "default" into build/).
# Warnings are errors in the gcc builds (default, asan); the clang fuzz build
# shows its warnings without stopping on them, as clang warns about other
# things than the compiler the project is kept clean with.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
werror=ON
[ "$preset" = fuzz ] && werror=OFF
cmake --preset "$preset" -DWENMOOR_WERROR=$werror >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
