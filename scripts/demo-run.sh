#!/usr/bin/env bash
# Shows what the built system does, in a throw-away prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/bin
export WINEPREFIX=$(mktemp -d /tmp/wenmoor-demo.XXXXXX)/prefix
echo "== wenmoor: the command-line tool"
"$bin/wenmoor" help
