#!/usr/bin/env bash
# The main job: installs what is missing, builds everything, then shows what
# the system does.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh default
exec scripts/demo-run.sh
