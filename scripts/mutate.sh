#!/usr/bin/env bash
# Plants small faults in the given source files one at a time (comparisons,
# loop bounds, negations, swapped arguments, dropped checks, logical operators,
# boolean results), rebuilds only what changed, runs the tests and restores the
# file; lists the faults that no test caught. Exits 1 when a fault survived.
#
#   bash scripts/mutate.sh [--max N] [--seed S] [--list] FILE...
#
# Uses its own build tree (build-mutate, unoptimised, no benchmarks) so that
# the main build is left alone; a compiler cache is used when one is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-mutate -DCMAKE_BUILD_TYPE=Debug -DKRV_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
exec python3 scripts/mutate.py --build build-mutate --source . "$@"
