// Runs the sheet benchmark workloads through the peer JavaScript engine and prints
// the times as JSON, for bench/compare_hyperformula.sh.
//
//   node bench.mjs [--evaluations N] [--recalcs N] [--standards PATH]
//
// Standards pattern: per evaluation a fresh engine and sheet; every input and every
// equation of bench/workloads/standards.txt is set one cell at a time, then all
// equation values are read. Reported: mean milliseconds per evaluation.
// Full recalculation: the 100,000-formula sheet (A1..A1000 = 1..1000, then columns
// B onwards, 1000 rows each) is built untimed; each timed iteration is one
// rebuildAndRecalculate(). Reported: mean milliseconds per recalculation.
// The first evaluation's values are checked: any error value fails the run.

import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { performance } from 'node:perf_hooks';
import { HyperFormula } from 'hyperformula';

const here = dirname(fileURLToPath(import.meta.url));
const options = {
  evaluations: 1000,
  warmup: 50,
  recalcs: 5,
  standards: join(here, '..', 'workloads', 'standards.txt'),
};
for (let i = 2; i < process.argv.length; i += 2) {
  const key = process.argv[i].replace(/^--/, '');
  const value = process.argv[i + 1];
  if (!(key in options) || value === undefined) {
    console.error(`usage: node bench.mjs [--evaluations N] [--warmup N] [--recalcs N] [--standards PATH]`);
    process.exit(2);
  }
  options[key] = key === 'standards' ? value : Number(value);
}

const config = { licenseKey: 'gpl-v3' };

function columnName(n) {
  let s = '';
  while (n > 0) {
    const r = (n - 1) % 26;
    s = String.fromCharCode(65 + r) + s;
    n = Math.floor((n - 1) / 26);
  }
  return s;
}

function parseRef(ref) {
  const m = /^([A-Z]+)([0-9]+)$/.exec(ref);
  if (!m) throw new Error(`bad cell reference ${ref}`);
  let col = 0;
  for (const ch of m[1]) col = col * 26 + (ch.charCodeAt(0) - 64);
  return { row: Number(m[2]) - 1, col: col - 1 };
}

function loadStandards(path) {
  const cells = [];
  for (const line of readFileSync(path, 'utf8').split('\n')) {
    if (line === '') continue;
    const tab = line.indexOf('\t');
    if (tab < 0) throw new Error(`${path}: line without a tab: ${line}`);
    const content = line.slice(tab + 1);
    const isNumber = /^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$/.test(content);
    cells.push({ ...parseRef(line.slice(0, tab)), content: isNumber ? Number(content) : content,
                 formula: content.startsWith('=') });
  }
  return cells;
}

function evaluateStandards(cells) {
  const hf = HyperFormula.buildEmpty(config);
  const sheet = hf.getSheetId(hf.addSheet('Sheet1'));
  for (const c of cells) hf.setCellContents({ sheet, row: c.row, col: c.col }, c.content);
  const values = [];
  for (const c of cells) {
    if (c.formula) values.push(hf.getCellValue({ sheet, row: c.row, col: c.col }));
  }
  hf.destroy();
  return values;
}

function fullRecalcSheet() {
  const rows = 1000;
  const cols = 2 + Math.floor((100000 - 1) / 1000);
  const data = Array.from({ length: rows }, () => new Array(cols).fill(null));
  for (let r = 1; r <= rows; r++) data[r - 1][0] = r;
  for (let k = 0; k < 100000; k++) {
    const c = 2 + Math.floor(k / 1000);
    const r = 1 + (k % 1000);
    const p = columnName(c - 1);
    let f;
    if (c === 2) f = `=A${r}*1.0001+1`;
    else if (r % 10 === 0) f = `=SUM(${p}${r - 9}:${p}${r})/10`;
    else f = `=${p}${r}+${p}${Math.max(r - 1, 1)}*0.5`;
    data[r - 1][c - 1] = f;
  }
  return data;
}

function isError(v) {
  return v !== null && typeof v === 'object' && 'type' in v && 'message' in v;
}

const cells = loadStandards(options.standards);
const first = evaluateStandards(cells);
const errors = first.map((v, i) => [i, v]).filter(([, v]) => isError(v));
if (errors.length > 0) {
  for (const [i, v] of errors.slice(0, 10)) console.error(`standards value ${i}: ${v.type} ${v.message}`);
  console.error(`${errors.length} equations evaluate to errors`);
  process.exit(1);
}
for (let i = 0; i < options.warmup; i++) evaluateStandards(cells);
let t0 = performance.now();
for (let i = 0; i < options.evaluations; i++) evaluateStandards(cells);
const standardsMs = (performance.now() - t0) / options.evaluations;

t0 = performance.now();
const hf = HyperFormula.buildFromArray(fullRecalcSheet(), config);
const buildMs = performance.now() - t0;
const probe = hf.getCellValue({ sheet: 0, row: 999, col: 100 });
if (typeof probe !== 'number') {
  console.error(`full recalculation sheet: unexpected value ${JSON.stringify(probe)}`);
  process.exit(1);
}
hf.rebuildAndRecalculate();  // warm-up
t0 = performance.now();
for (let i = 0; i < options.recalcs; i++) hf.rebuildAndRecalculate();
const recalcMs = (performance.now() - t0) / options.recalcs;

console.log(JSON.stringify({
  engine: 'hyperformula',
  version: HyperFormula.version,
  node: process.version,
  standards_pattern: {
    cells: cells.length,
    evaluations: options.evaluations,
    mean_ms: standardsMs,
  },
  full_recalc_100k: {
    formulas: 100000,
    build_ms: buildMs,
    recalculations: options.recalcs,
    mean_ms: recalcMs,
    last_cell: probe,
  },
}, null, 2));
