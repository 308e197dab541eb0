#!/usr/bin/env bash
# Builds an instrumented tree (build-coverage), runs the whole test suite in it
# and reports line and branch coverage per folder with gcovr; the full report
# is written to build-coverage/coverage.html. Not part of CI.
#
#   bash scripts/coverage.sh [FOLDER...]     # e.g. platform/win spread
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if ! command -v gcovr >/dev/null; then
  SUDO=""
  if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends gcovr
fi
cmake -S . -B build-coverage -DCMAKE_BUILD_TYPE=Debug -DKRV_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="--coverage -fno-inline" -DCMAKE_EXE_LINKER_FLAGS=--coverage \
  -DCMAKE_SHARED_LINKER_FLAGS=--coverage >/dev/null
cmake --build build-coverage -j 2
find build-coverage -name '*.gcda' -delete
(cd build-coverage && ctest -j 2 --timeout 300 -Q) || echo "coverage: some tests failed; figures are of the tests that ran"

folders=("$@")
if ((${#folders[@]} == 0)); then
  folders=(platform/win platform/acad platform/sheet platform/core frame standards spread
           designer library macro workshop bills dialogs tools)
fi
# Test files, benchmarks and fuzz targets are not the code under test.
common=(--root . --object-directory build-coverage --exclude '.*_test\.cpp$'
        --exclude '.*_fuzz\.cpp$' --exclude 'bench/.*' --exclude 'build-coverage/.*'
        --gcov-ignore-parse-errors --exclude-unreachable-branches --exclude-throw-branches)
printf '%-18s %8s %8s\n' folder lines branches
for f in "${folders[@]}"; do
  [ -d "$f" ] || continue
  ls "$f"/*.cpp >/dev/null 2>&1 || continue
  gcovr "${common[@]}" --filter "$f/" --txt-summary -o /dev/null 2>/dev/null |
    awk -v f="$f" '/^lines:/{l=$2} /^branches:/{b=$2} END{printf "%-18s %8s %8s\n", f, l, b}'
done
gcovr "${common[@]}" --html-details build-coverage/coverage.html >/dev/null 2>&1 &&
  echo "coverage: details in build-coverage/coverage.html"
