#!/usr/bin/env bash
# Side-by-side timing of the workbook exchange (korvane sheet convert) and the
# office suite's converter (soffice --headless --convert-to), on the workload
# of bench/xlsx_bench.cpp: 100,000 cells (10 columns by 10,000 rows of
# numbers, texts and formulas). Both sides do the same operations from the
# same files, each timed as a whole process (start-up included):
#   import   read the xlsx and write its values as CSV
#            (korvane: IN.xlsx -> OUT.csv; soffice: --convert-to csv)
#   export   read the program's own format and write xlsx
#            (korvane: IN.vts -> OUT.xlsx; soffice: IN.ods -> --convert-to xlsx)
#   start    soffice converting a one-cell file (its start-up alone)
# The values of the import are checked against each other: every cell the
# engine computes (xlsx_bench --values) against soffice's CSV.
# Prints the best of KRV_BENCH_REPEAT runs (default 3) in milliseconds and the
# ratio soffice / korvane (above 1: korvane is faster).
# Skips (exit 0) when soffice is not installed.
#
# Usage: bench/xlsx_vs_soffice.sh      Environment: KRV_BENCH_BUILD (default build)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KRV_BENCH_BUILD:-$root/build}
repeat=${KRV_BENCH_REPEAT:-3}
soffice=$(command -v soffice || true)
if [ -z "$soffice" ]; then
  echo "skipped: soffice is not installed"
  exit 0
fi
korvane=$build/tools/korvane
bench=$build/bench/xlsx_bench
for f in "$korvane" "$bench"; do
  [ -x "$f" ] || { echo "error: $f is not built (cmake --build $build --target korvane xlsx_bench)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
lo() { HOME="$work" "$soffice" -env:UserInstallation=file://"$work"/profile --headless "$@" >/dev/null 2>&1; }

"$bench" --write="$work/w.xlsx"
"$korvane" sheet convert w.xlsx w.vts
mkdir -p made && lo --convert-to ods --outdir made w.xlsx && mv made/w.ods w.ods
echo x > one.csv
lo --convert-to xlsx --outdir made one.csv  # the profile is made once, outside the timing

# best_ms COMMAND...: the fastest of $repeat runs, in milliseconds.
best_ms() {
  local best=""
  for _ in $(seq "$repeat"); do
    local t0 t1
    t0=$(date +%s%N)
    "$@"
    t1=$(date +%s%N)
    local ms=$(((t1 - t0) / 1000000))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

ours_import=$(best_ms "$korvane" sheet convert w.xlsx ours.csv)
lo_import=$(best_ms lo --convert-to csv --outdir lo w.xlsx)
ours_export=$(best_ms "$korvane" sheet convert w.vts ours.xlsx)
lo_export=$(best_ms lo --convert-to xlsx --outdir lo w.ods)
lo_start=$(best_ms lo --convert-to xlsx --outdir lo one.csv)

"$bench" --values="$work/w.xlsx" > ours_values.csv
python3 - ours_values.csv lo/w.csv <<'PY'
import csv, sys
ours = list(csv.reader(open(sys.argv[1], newline='', encoding='utf-8')))
theirs = list(csv.reader(open(sys.argv[2], newline='', encoding='utf-8', errors='replace')))
bad = 0
for r, (a, b) in enumerate(zip(ours, theirs), 1):
    for c, (x, y) in enumerate(zip(a, b), 1):
        try:
            same = abs(float(x) - float(y)) <= 1e-9 * max(1.0, abs(float(x)))
        except ValueError:
            same = x == y
        if not same:
            bad += 1
            if bad <= 5:
                print(f"  differs at row {r}, column {c}: korvane {x!r}, soffice {y!r}")
if len(ours) != len(theirs):
    print(f"  rows: korvane {len(ours)}, soffice {len(theirs)}")
    bad += 1
print("values: " + ("the same in every cell" if bad == 0 else f"{bad} cells differ"))
PY

ratio() { python3 -c "print(f'{$1 / max($2, 1):.1f}')"; }
printf '%-8s %12s %12s %8s\n' operation "korvane ms" "soffice ms" ratio
printf '%-8s %12s %12s %8s\n' import "$ours_import" "$lo_import" "$(ratio "$lo_import" "$ours_import")"
printf '%-8s %12s %12s %8s\n' export "$ours_export" "$lo_export" "$(ratio "$lo_export" "$ours_export")"
printf '%-8s %12s %12s\n' start "-" "$lo_start"
