// Runs the workloads of bench/sheet_bench.cpp through the peer JavaScript engine,
// with the same operations inside the same timing boundaries, and prints the
// mean times as JSON for bench/compare_hyperformula.sh.
//
//   node bench.mjs [--values DIR] [--evaluations N] [--rounds N] [--standards PATH]
//
//   standards_pattern     one evaluation: a fresh sheet in an engine built beforehand;
//                         the inputs of bench/workloads/standards.txt set one by one;
//                         each formula set and its value read at once; the sheet
//                         removed.
//   build_100k            the 100,000-formula sheet built and calculated from prepared
//                         cell contents (buildFromArray), one value read.
//   change_all_inputs     on that sheet: all 1,000 inputs changed in one batch, which
//                         recalculates once at its end, one value read.
//   change_one_input      on that sheet: one input changed (its dependents are
//                         recalculated), one value read.
//
// --values DIR first writes what the engine computes to DIR (standards.tsv,
// build.tsv, all_inputs.tsv, one_input.tsv; "REF<TAB>KIND<TAB>VALUE" lines), as
// sheet_bench --values=DIR does, for bench/hyperformula/compare_values.mjs.

import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { performance } from 'node:perf_hooks';
import { HyperFormula } from 'hyperformula';

const here = dirname(fileURLToPath(import.meta.url));
const options = {
  values: '',
  evaluations: 200,
  warmup: 20,
  rounds: 10,
  standards: join(here, '..', 'workloads', 'standards.txt'),
};
for (let i = 2; i < process.argv.length; i += 2) {
  const key = process.argv[i].replace(/^--/, '');
  const value = process.argv[i + 1];
  if (!(key in options) || value === undefined) {
    console.error('usage: node bench.mjs [--values DIR] [--evaluations N] [--warmup N] [--rounds N] [--standards PATH]');
    process.exit(2);
  }
  options[key] = key === 'standards' || key === 'values' ? value : Number(value);
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
  for (const raw of readFileSync(path, 'utf8').split('\n')) {
    const line = raw.replace(/\r$/, '');
    if (line === '' || line.startsWith('#')) continue;
    const tab = line.indexOf('\t');
    if (tab < 0) throw new Error(`${path}: line without a tab: ${line}`);
    const content = line.slice(tab + 1);
    const isNumber = /^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$/.test(content);
    cells.push({ ...parseRef(line.slice(0, tab)), content: isNumber ? Number(content) : content,
                 formula: content.startsWith('=') });
  }
  return cells;
}

// One evaluation of the standards pattern in an engine built beforehand: a
// fresh sheet, removed at the end; `read` gets each formula's value.
function evaluateStandards(hf, cells, read) {
  const sheet = hf.getSheetId(hf.addSheet());
  for (const c of cells) {
    const address = { sheet, row: c.row, col: c.col };
    hf.setCellContents(address, c.content);
    if (c.formula) read(c, hf.getCellValue(address));
  }
  hf.removeSheet(sheet);
}

// ---- the large sheet -------------------------------------------------------------

const kInputs = 1000;
const kFormulas = 100000;
const kLastCol = 1 + kFormulas / kInputs;  // 1-based, as in sheet_bench
const probe = { sheet: 0, row: kInputs - 1, col: kLastCol - 1 };
const probeOfA1 = { sheet: 0, row: 0, col: kLastCol - 1 };

function inputValue(row, round) {
  return round === 0 ? row : row * (round % 2 ? 0.75 : 1.25) + (round % 7);
}

function largeSheet() {
  const data = Array.from({ length: kInputs }, () => new Array(kLastCol).fill(null));
  for (let r = 1; r <= kInputs; r++) data[r - 1][0] = inputValue(r, 0);
  for (let k = 0; k < kFormulas; k++) {
    const c = 2 + Math.floor(k / kInputs);
    const r = 1 + (k % kInputs);
    const p = columnName(c - 1);
    let f;
    if (c === 2) f = `=A${r}*1.0001+1`;
    else if (r % 10 === 0) f = `=SUM(${p}${r - 9}:${p}${r})/10`;
    else f = `=${p}${r}+${p}${Math.max(r - 1, 1)}*0.5`;
    data[r - 1][c - 1] = f;
  }
  return data;
}

function changeAllInputs(hf, round) {
  hf.batch(() => {
    for (let r = 1; r <= kInputs; r++) hf.setCellContents({ sheet: 0, row: r - 1, col: 0 }, inputValue(r, round));
  });
}

function changeOneInput(hf, round) {
  hf.setCellContents({ sheet: 0, row: 0, col: 0 }, inputValue(1, round));
}

// ---- values for the comparison ----------------------------------------------------------

function valueLine(col, row, v) {
  const ref = `${columnName(col + 1)}${row + 1}`;
  if (v === null || v === undefined) return `${ref}\t-\t`;
  if (typeof v === 'number') return `${ref}\tn\t${v}`;
  if (typeof v === 'boolean') return `${ref}\tb\t${v ? 'TRUE' : 'FALSE'}`;
  if (typeof v === 'string') return `${ref}\ts\t${v}`;
  return `${ref}\te\t${v.value}`;  // an error
}

function writeLargeSheet(hf, file) {
  const values = hf.getSheetValues(0);
  const lines = [];
  for (let r = 0; r < kInputs; r++)
    for (let c = 1; c < kLastCol; c++) lines.push(valueLine(c, r, values[r] ? values[r][c] : null));
  writeFileSync(file, lines.join('\n') + '\n');
}

function writeValues(dir, cells, data) {
  mkdirSync(dir, { recursive: true });
  const lines = [];
  const engine = HyperFormula.buildEmpty(config);
  evaluateStandards(engine, cells, (c, v) => lines.push(valueLine(c.col, c.row, v)));
  engine.destroy();
  writeFileSync(join(dir, 'standards.tsv'), lines.join('\n') + '\n');
  const hf = HyperFormula.buildFromArray(data, config);
  writeLargeSheet(hf, join(dir, 'build.tsv'));
  changeAllInputs(hf, 1);
  writeLargeSheet(hf, join(dir, 'all_inputs.tsv'));
  changeOneInput(hf, 2);
  writeLargeSheet(hf, join(dir, 'one_input.tsv'));
  hf.destroy();
}

// ---- timing -------------------------------------------------------------------------------

// Mean milliseconds of `step(i)` over `count` calls after `warmup` untimed ones;
// `step` returns the milliseconds it measured itself.
function mean(count, warmup, step) {
  for (let i = 0; i < warmup; i++) step(i);
  let total = 0;
  for (let i = 0; i < count; i++) total += step(warmup + i);
  return total / count;
}

function timed(fn) {
  const t0 = performance.now();
  fn();
  return performance.now() - t0;
}

const cells = loadStandards(options.standards);
const data = largeSheet();
if (options.values) writeValues(options.values, cells, data);

const engine = HyperFormula.buildEmpty(config);
const standardsMs = mean(options.evaluations, options.warmup,
                         () => timed(() => evaluateStandards(engine, cells, () => {})));
engine.destroy();

let built = null;
const buildMs = mean(Math.max(1, Math.floor(options.rounds / 3)), 1, () => {
  if (built) built.destroy();
  let hf = null;
  const ms = timed(() => {
    hf = HyperFormula.buildFromArray(data, config);
    hf.getCellValue(probe);
  });
  built = hf;
  return ms;
});

const hf = built;
let round = 0;
const allInputsMs = mean(options.rounds, 2, () => timed(() => {
  changeAllInputs(hf, ++round);
  hf.getCellValue(probe);
}));
const oneInputMs = mean(options.rounds * 20, 10, () => timed(() => {
  changeOneInput(hf, ++round);
  hf.getCellValue(probeOfA1);
}));
hf.destroy();

console.log(JSON.stringify({
  engine: 'hyperformula',
  version: HyperFormula.version,
  node: process.version,
  standards_pattern: { cells: cells.length, evaluations: options.evaluations, mean_ms: standardsMs },
  build_100k: { formulas: kFormulas, mean_ms: buildMs },
  change_all_inputs: { inputs: kInputs, mean_ms: allInputsMs },
  change_one_input: { mean_ms: oneInputMs },
}, null, 2));
