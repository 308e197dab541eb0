#!/usr/bin/env bash
# Set-up, build, then the module's main job on the sample library: the end
# plate standard evaluated for the sample macro (the result goes to a
# temporary file; the sample itself is not changed).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec ./build/tools/korvane evaluate --trace "$@"
