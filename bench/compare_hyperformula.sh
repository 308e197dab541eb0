#!/usr/bin/env bash
# Side-by-side timing of the sheet engine and a peer JavaScript formula engine on the
# same two workloads, in one run:
#   BM_StandardsPattern  one standards evaluation (bench/workloads/standards.txt)
#   BM_FullRecalc100k    one full recalculation of a 100,000-formula sheet
# Prints both mean times in milliseconds and the ratio peer time / our time
# (above 1 means our engine is faster).
#
# Usage: bench/compare_hyperformula.sh   (environment: KRV_BENCH_BUILD=build folder)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KRV_BENCH_BUILD:-$root/build-bench}

for tool in cmake node npm; do
  command -v "$tool" >/dev/null || { echo "error: $tool is not installed" >&2; exit 1; }
done

cd "$root"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKRV_BUILD_TESTS=OFF >&2
if ! cmake --build "$build" --target sheet_bench -j2 >&2; then
  echo "error: could not build the sheet_bench target (does bench/ define it yet?)" >&2
  exit 1
fi
bin=$(find "$build" -type f -name sheet_bench -perm -u+x | head -n 1)
if [[ -z "$bin" ]]; then
  echo "error: sheet_bench was not found under $build" >&2
  exit 1
fi

if [[ ! -d bench/hyperformula/node_modules/hyperformula ]]; then
  (cd bench/hyperformula && npm ci --no-audit --no-fund >&2)
fi

ours=$(mktemp)
peer=$(mktemp)
trap 'rm -f "$ours" "$peer"' EXIT

echo "running sheet_bench ..." >&2
"$bin" --benchmark_filter='BM_StandardsPattern|BM_FullRecalc100k' --benchmark_format=json >"$ours"
echo "running the peer engine ..." >&2
node bench/hyperformula/bench.mjs >"$peer"

node - "$ours" "$peer" <<'EOF'
const fs = require('fs');
const [oursPath, peerPath] = process.argv.slice(2);
const ours = JSON.parse(fs.readFileSync(oursPath, 'utf8'));
const peer = JSON.parse(fs.readFileSync(peerPath, 'utf8'));
const toMs = { ns: 1e-6, us: 1e-3, ms: 1, s: 1e3 };

function oursMs(name) {
  const runs = (ours.benchmarks || []).filter(
    (b) => (b.run_name || b.name).split('/')[0] === name && (b.run_type || 'iteration') === 'iteration');
  if (runs.length === 0) throw new Error(`sheet_bench has no ${name} result`);
  const b = runs[0];
  if (b.error_occurred) throw new Error(`${name} failed: ${b.error_message}`);
  return b.real_time * toMs[b.time_unit || 'ns'];
}

const rows = [
  ['BM_StandardsPattern', oursMs('BM_StandardsPattern'), peer.standards_pattern.mean_ms],
  ['BM_FullRecalc100k', oursMs('BM_FullRecalc100k'), peer.full_recalc_100k.mean_ms],
];
console.log(`peer engine ${peer.engine} ${peer.version} on node ${peer.node}`);
console.log('workload               ours (ms)   peer (ms)   peer/ours');
for (const [name, o, p] of rows) {
  console.log(`${name.padEnd(22)} ${o.toFixed(3).padStart(9)}   ${p.toFixed(3).padStart(9)}   ${(p / o).toFixed(2).padStart(9)}`);
}
EOF
