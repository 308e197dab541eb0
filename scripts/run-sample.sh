#!/usr/bin/env bash
# Set-up, build, then the module's main job on the sample library.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec ./build/tools/korvane library examples/library "$@"
