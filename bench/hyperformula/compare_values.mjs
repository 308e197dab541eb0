// Compares the values two engines computed for the benchmark workloads and names
// every cell where they disagree.
//
//   node compare_values.mjs OURS_DIR PEER_DIR [--standards PATH]
//
// Each folder holds standards.tsv, build.tsv, all_inputs.tsv and one_input.tsv
// ("REF<TAB>KIND<TAB>VALUE" lines, KIND n number, s text, b boolean, e error,
// - empty), as written by sheet_bench --values=DIR and bench.mjs --values DIR.
// Numbers agree when they differ by at most 1e-9 relative (the engines may round
// the last binary digits differently); anything else is listed with the cell's
// formula where the workload file gives it. Exit status: 0 when the comparison
// could be made (disagreements are reported, not fatal), 1 when a file is missing
// or the two sides did not compute the same cells.

import { existsSync, readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const args = process.argv.slice(2);
let standardsPath = join(here, '..', 'workloads', 'standards.txt');
const si = args.indexOf('--standards');
if (si >= 0) {
  standardsPath = args[si + 1];
  args.splice(si, 2);
}
if (args.length !== 2) {
  console.error('usage: node compare_values.mjs OURS_DIR PEER_DIR [--standards PATH]');
  process.exit(2);
}
const [oursDir, peerDir] = args;

const kRelative = 1e-9;
const kShown = 20;

function readValues(file) {
  const values = new Map();
  for (const line of readFileSync(file, 'utf8').split('\n')) {
    if (line === '') continue;
    const [ref, kind, ...rest] = line.split('\t');
    values.set(ref, { kind, text: rest.join('\t') });
  }
  return values;
}

function formulas() {
  const byRef = new Map();
  if (!existsSync(standardsPath)) return byRef;
  for (const raw of readFileSync(standardsPath, 'utf8').split('\n')) {
    const line = raw.replace(/\r$/, '');
    const tab = line.indexOf('\t');
    if (tab > 0) byRef.set(line.slice(0, tab), line.slice(tab + 1));
  }
  return byRef;
}

function agree(a, b) {
  if (a.kind !== b.kind) return false;
  if (a.kind !== 'n') return a.text === b.text;
  const x = Number(a.text);
  const y = Number(b.text);
  if (x === y) return true;
  return Math.abs(x - y) <= kRelative * Math.max(Math.abs(x), Math.abs(y));
}

function shown(v) {
  return v.kind === 's' ? JSON.stringify(v.text) : v.kind === '-' ? '(empty)' : v.text;
}

const names = {
  'standards.tsv': 'standards pattern',
  'build.tsv': '100k sheet after building',
  'all_inputs.tsv': '100k sheet after changing every input',
  'one_input.tsv': '100k sheet after changing one input',
};
const sources = formulas();
let failed = false;
let disagreements = 0;
for (const [file, title] of Object.entries(names)) {
  const oursFile = join(oursDir, file);
  const peerFile = join(peerDir, file);
  if (!existsSync(oursFile) || !existsSync(peerFile)) {
    console.log(`values, ${title}: ${existsSync(oursFile) ? peerFile : oursFile} is missing`);
    failed = true;
    continue;
  }
  const ours = readValues(oursFile);
  const peer = readValues(peerFile);
  const differing = [];
  let missing = 0;
  for (const [ref, o] of ours) {
    const p = peer.get(ref);
    if (!p) {
      ++missing;
      continue;
    }
    if (!agree(o, p)) differing.push([ref, o, p]);
  }
  missing += [...peer.keys()].filter((ref) => !ours.has(ref)).length;
  if (missing > 0) failed = true;
  disagreements += differing.length;
  const summary = `${ours.size} cells compared, ${differing.length} disagree` +
                  (missing ? `, ${missing} computed by one side only` : '');
  console.log(`values, ${title}: ${summary}`);
  for (const [ref, o, p] of differing.slice(0, kShown)) {
    const source = file === 'standards.tsv' && sources.has(ref) ? ` ${sources.get(ref)}` : '';
    console.log(`  ${ref}${source}: ours ${shown(o)}, peer ${shown(p)}`);
  }
  if (differing.length > kShown) console.log(`  ... and ${differing.length - kShown} more`);
}
console.log(`values: ${disagreements} disagreement(s) in all`);
process.exit(failed ? 1 : 0);
