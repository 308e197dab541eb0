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
# A compiler cache speeds up the unoptimised rebuild when one is installed.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-coverage -DCMAKE_BUILD_TYPE=Debug -DKRV_BUILD_BENCH=OFF "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="--coverage -fno-inline" -DCMAKE_EXE_LINKER_FLAGS=--coverage \
  -DCMAKE_SHARED_LINKER_FLAGS=--coverage >/dev/null
cmake --build build-coverage -j 2
find build-coverage -name '*.gcda' -delete
(cd build-coverage && ctest -j 2 --timeout 300 -Q) || echo "coverage: some tests failed; figures are of the tests that ran"

folders=("$@")
if ((${#folders[@]} == 0)); then
  folders=(platform/win platform/acad platform/sheet platform/core frame standards spread
           designer library macro workshop bills dialogs tools module)
fi
# Test files, test helpers, benchmarks and fuzz targets are not the code under
# test. One gcovr run (gcov is slow on an unoptimised tree) writes the summary
# per file and the detailed report; the summary is then added up per folder.
# The options are those of gcovr 5 (Debian 12) and later.
summary=build-coverage/coverage-summary.json
rm -f "$summary"
gcovr --root . build-coverage -j 2 \
  --exclude '.*_test\.(cpp|h)$' --exclude '.*_test_.*\.h$' --exclude '.*_for_tests\.h$' \
  --exclude '.*_fuzz\.cpp$' --exclude 'bench/.*' --exclude 'build-coverage/.*' \
  --gcov-ignore-parse-errors --exclude-unreachable-branches --exclude-throw-branches \
  --json-summary "$summary" --html-details build-coverage/coverage.html >/dev/null
python3 - "$summary" "${folders[@]}" <<'PY'
import json, sys
files = json.load(open(sys.argv[1]))["files"]
def pct(covered, total):
    return f"{100.0 * covered / total:.1f}%" if total else "-"
print(f"{'folder':<18} {'lines':>16} {'branches':>16}")
for folder in sys.argv[2:]:
    prefix = folder.rstrip("/") + "/"
    mine = [f for f in files if f["filename"].startswith(prefix)]
    if not mine:
        continue
    lc, lt = sum(f["line_covered"] for f in mine), sum(f["line_total"] for f in mine)
    bc, bt = sum(f["branch_covered"] for f in mine), sum(f["branch_total"] for f in mine)
    print(f"{folder:<18} {pct(lc, lt):>7} {lt:>8} {pct(bc, bt):>7} {bt:>8}")
PY
echo "coverage: details in build-coverage/coverage.html"
