// Evaluates platform/sheet/testdata/formula_corpus.tsv with the peer JavaScript engine
// and lists every case where its result differs from the corpus' expected result.
// A second opinion on the corpus, not a test: the peer engine has its own gaps.
//
//   node corpus_check.mjs [path/to/formula_corpus.tsv]
// Exit status: 0 when all cases agree, 1 when some differ, 2 on unreadable input.

import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { HyperFormula } from 'hyperformula';

const here = dirname(fileURLToPath(import.meta.url));
const path = process.argv[2] ?? join(here, '..', '..', 'platform', 'sheet', 'testdata', 'formula_corpus.tsv');

function parseRef(ref) {
  const m = /^([A-Z]+)([0-9]+)$/.exec(ref);
  if (!m) throw new Error(`bad cell reference ${ref}`);
  let col = 0;
  for (const ch of m[1]) col = col * 26 + (ch.charCodeAt(0) - 64);
  return { row: Number(m[2]) - 1, col: col - 1 };
}

function unescapeText(s) {
  return s.replace(/\\(.)/g, (_, c) => ({ t: '\t', n: '\n', '\\': '\\' })[c] ?? c);
}

function typed(content) {
  if (content.startsWith('=')) return content;
  if (content === 'TRUE') return true;
  if (content === 'FALSE') return false;
  if (/^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$/.test(content)) return Number(content);
  return content;
}

let lines;
try {
  lines = readFileSync(path, 'utf8').split('\n');
} catch (e) {
  console.error(`cannot read ${path}: ${e.message}`);
  process.exit(2);
}

// Settings closest to the corpus' conventions: accents matter, no display rounding.
const hf = HyperFormula.buildEmpty({
  licenseKey: 'gpl-v3', accentSensitive: true, smartRounding: false, evaluateNullToZero: true,
  useWildcards: true, useRegularExpressions: false, matchWholeCell: true, caseSensitive: false,
});
const sheet = hf.getSheetId(hf.addSheet('Sheet1'));
const cases = [];
for (const [i, line] of lines.entries()) {
  if (line === '' || line.startsWith('#')) continue;
  const f = line.split('\t');
  if (f[0] === 'cell' && f.length === 3) {
    hf.setCellContents({ sheet, ...parseRef(f[1]) }, typed(f[2]));
  } else if (f[0] === 'case' && f.length === 6) {
    cases.push({ ref: f[1], formula: f[2], type: f[3], expected: f[4], note: f[5] });
  } else {
    console.error(`${path}:${i + 1}: malformed line`);
    process.exit(2);
  }
}
for (const c of cases) hf.setCellContents({ sheet, ...parseRef(c.ref) }, c.formula);

function describe(v) {
  if (v === null || v === undefined) return ['empty', ''];
  if (typeof v === 'boolean') return ['bool', v ? 'TRUE' : 'FALSE'];
  if (typeof v === 'number') {
    const s = Number(v.toPrecision(15)).toString();
    return ['number', s];
  }
  if (typeof v === 'string') return ['text', v];
  return ['error', v.value ?? String(v)];
}

function same(type, got, expected) {
  if (type === 'number') return Math.abs(Number(got) - Number(expected)) <= 1e-12 * Math.max(1, Math.abs(Number(expected)));
  if (type === 'text') return got === unescapeText(expected);
  return got === expected;
}

let differ = 0;
for (const c of cases) {
  const [type, got] = describe(hf.getCellValue({ sheet, ...parseRef(c.ref) }));
  if (type !== c.type || !same(type, got, c.expected)) {
    differ++;
    console.log(`${c.ref}\t${c.formula}\texpected ${c.type} ${JSON.stringify(c.expected)}\tpeer ${type} ${JSON.stringify(got)}${c.note ? '\t' + c.note : ''}`);
  }
}
console.log(`${cases.length - differ} of ${cases.length} cases agree`);
process.exit(differ ? 1 : 0);
