#!/usr/bin/env bash
# Set-up, build, then the whole test suite. Exits non-zero when a test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build
ctest --output-on-failure -j 2 --timeout 300
