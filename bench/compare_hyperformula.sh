#!/usr/bin/env bash
# Side-by-side timing of the sheet engine (bench/sheet_bench.cpp) and a peer
# JavaScript formula engine (bench/hyperformula/bench.mjs). Both sides do the
# same operations within the same timing boundaries:
#   standards pattern   one evaluation of bench/workloads/standards.txt: a fresh
#                       sheet, the inputs one by one, each formula set and its
#                       value read at once
#   build 100k          build and calculate a 100,000-formula sheet
#   change all inputs   change the 1,000 inputs of that sheet, recalculate once
#   change one input    change one input, recalculate its dependents
# Both sides also write the values they computed; the script compares them and
# names every cell where the engines disagree.
# Prints the mean times in milliseconds and the ratio peer time / our time
# (above 1 means our engine is faster).
#
# Usage: bench/compare_hyperformula.sh
# Environment: KRV_BENCH_BUILD  build folder (default build-release, a Release build)
#              KRV_BENCH_REPEAT how many times each side runs its workloads (default 3;
#                               the fastest mean of the runs is reported)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KRV_BENCH_BUILD:-$root/build-release}
repeat=${KRV_BENCH_REPEAT:-3}

for tool in cmake node npm; do
  command -v "$tool" >/dev/null || { echo "error: $tool is not installed" >&2; exit 1; }
done

cd "$root"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKRV_BUILD_TESTS=OFF "${launcher[@]}" >&2
if ! cmake --build "$build" --target sheet_bench -j2 >&2; then
  echo "error: could not build the sheet_bench target" >&2
  exit 1
fi
bin=$(find "$build" -type f -name sheet_bench -perm -u+x | head -n 1)
if [[ -z "$bin" ]]; then
  echo "error: sheet_bench was not found under $build" >&2
  exit 1
fi

# The peer's packages, exactly as the lock file names them.
if [[ ! -d bench/hyperformula/node_modules/hyperformula ]]; then
  (cd bench/hyperformula && npm ci --no-audit --no-fund >&2)
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/ours" "$work/peer"

filter='BM_StandardsPattern|BM_Build100k|BM_ChangeAllInputs100k|BM_ChangeOneInput100k'
for ((i = 1; i <= repeat; i++)); do
  echo "run $i of $repeat: sheet_bench ..." >&2
  values=()
  [[ $i == 1 ]] && values=(--values="$work/ours")
  "$bin" "${values[@]}" --benchmark_filter="$filter" --benchmark_format=json >"$work/ours-$i.json"
  echo "run $i of $repeat: the peer engine ..." >&2
  values=()
  [[ $i == 1 ]] && values=(--values "$work/peer")
  node bench/hyperformula/bench.mjs "${values[@]}" >"$work/peer-$i.json"
done

status=0
node bench/hyperformula/compare_values.mjs "$work/ours" "$work/peer" || status=$?

node - "$work" "$repeat" <<'EOF'
const fs = require('fs');
const [work, repeat] = process.argv.slice(2);
const toMs = { ns: 1e-6, us: 1e-3, ms: 1, s: 1e3 };

function oursMs(ours, name) {
  const runs = (ours.benchmarks || []).filter(
    (b) => (b.run_name || b.name).split('/')[0] === name && (b.run_type || 'iteration') === 'iteration');
  if (runs.length === 0) throw new Error(`sheet_bench has no ${name} result`);
  const b = runs[0];
  if (b.error_occurred) throw new Error(`${name} failed: ${b.error_message}`);
  return b.real_time * toMs[b.time_unit || 'ns'];
}

const workloads = [
  ['standards pattern', 'BM_StandardsPattern', 'standards_pattern'],
  ['build 100k', 'BM_Build100k', 'build_100k'],
  ['change all inputs', 'BM_ChangeAllInputs100k', 'change_all_inputs'],
  ['change one input', 'BM_ChangeOneInput100k', 'change_one_input'],
];
const best = workloads.map(() => [Infinity, Infinity]);
let peerInfo = null;
for (let i = 1; i <= Number(repeat); i++) {
  const ours = JSON.parse(fs.readFileSync(`${work}/ours-${i}.json`, 'utf8'));
  const peer = JSON.parse(fs.readFileSync(`${work}/peer-${i}.json`, 'utf8'));
  peerInfo = peer;
  workloads.forEach(([, ourName, peerName], k) => {
    best[k][0] = Math.min(best[k][0], oursMs(ours, ourName));
    best[k][1] = Math.min(best[k][1], peer[peerName].mean_ms);
  });
}
console.log(`peer engine ${peerInfo.engine} ${peerInfo.version} on node ${peerInfo.node}; ` +
            `fastest mean of ${repeat} run(s) per side`);
console.log('workload             ours (ms)   peer (ms)   peer/ours');
workloads.forEach(([title], k) => {
  const [o, p] = best[k];
  console.log(`${title.padEnd(18)} ${o.toFixed(3).padStart(11)} ${p.toFixed(3).padStart(11)} ${(p / o).toFixed(2).padStart(11)}`);
});
EOF
exit "$status"
