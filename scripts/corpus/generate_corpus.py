#!/usr/bin/python3
"""Builds platform/sheet/testdata/formula_corpus.tsv from fixture.txt and formulas.txt.

The reference results come from a headless office suite driven over its UNO bridge:
the fixture cells and the case formulas are written into a workbook file that holds
no cached results, the file is loaded, everything is recalculated, and each case
cell's result type, value, text and error are read back. Where the reference differs
from Excel's documented behaviour, formulas.txt carries Excel's result after a tab and
that result is written, with a NOTE starting with "excel-differs:".

Needs the Debian packages libreoffice-calc-nogui and python3-uno (not build
dependencies; only this generator uses them). Run with the system Python:

    /usr/bin/python3 scripts/corpus/generate_corpus.py [--raw raw.json]

The script refuses to write the corpus while a case has no usable result (an error
code with no Excel equivalent and no Excel result given), and prints every such case.
"""

import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
DEFAULT_OUT = os.path.join(ROOT, "platform", "sheet", "testdata", "formula_corpus.tsv")

CASE_FIRST_COLUMN = 10  # J
CASE_ROWS_PER_COLUMN = 100
NUMBER_RE = re.compile(r"^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$")
REF_RE = re.compile(r"^([A-Z]{1,3})([1-9]\d*)$")
ERROR_NAMES = {"#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A", "#NULL!"}
TYPES = {"number", "text", "bool", "error", "empty"}
# Functions that a workbook file stores with the prefix of later additions.
PREFIXED_FUNCTIONS = ["XOR"]


def col_name(n):
    s = ""
    while n:
        n, r = divmod(n - 1, 26)
        s = chr(65 + r) + s
    return s


def col_number(letters):
    n = 0
    for ch in letters:
        n = n * 26 + ord(ch) - 64
    return n


def split_ref(ref):
    m = REF_RE.match(ref)
    if not m:
        raise ValueError(f"bad cell reference {ref!r}")
    return col_number(m.group(1)), int(m.group(2))


def read_fixture(path):
    cells = []
    with open(path, encoding="utf-8") as f:
        for lineno, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            parts = line.split("\t")
            if len(parts) != 3 or parts[0] != "cell":
                raise ValueError(f"{path}:{lineno}: expected cell<TAB>REF<TAB>CONTENT")
            col, row = split_ref(parts[1])
            if col > 8 or row > 60:
                raise ValueError(f"{path}:{lineno}: fixture cell {parts[1]} outside A1:H60")
            cells.append((parts[1], parts[2]))
    return cells


def read_formulas(path):
    """Returns a list of items: ("section", text) or ("case", formula, override)."""
    items = []
    with open(path, encoding="utf-8") as f:
        for lineno, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line:
                continue
            if line.startswith("#"):
                items.append(("section", line[1:].strip()))
                continue
            parts = line.split("\t")
            if not parts[0].startswith("="):
                raise ValueError(f"{path}:{lineno}: a case formula starts with '='")
            override = None
            if len(parts) == 4:
                typ, expected, reason = parts[1], parts[2], parts[3]
                if typ not in TYPES or not reason:
                    raise ValueError(f"{path}:{lineno}: override needs TYPE, EXPECTED and a reason")
                override = (typ, expected, reason)
            elif len(parts) != 1:
                raise ValueError(f"{path}:{lineno}: expected FORMULA or FORMULA<TAB>TYPE<TAB>EXPECTED<TAB>reason")
            items.append(("case", parts[0], override))
    return items


def assign_refs(items):
    n = 0
    out = []
    for it in items:
        if it[0] == "case":
            col = CASE_FIRST_COLUMN + n // CASE_ROWS_PER_COLUMN
            row = 1 + n % CASE_ROWS_PER_COLUMN
            out.append(("case", f"{col_name(col)}{row}", it[1], it[2]))
            n += 1
        else:
            out.append(it)
    return out


def file_formula(formula):
    """The formula text as a workbook file stores it: no '=', later functions prefixed."""
    # Split at string literals (a doubled quote inside one is part of it) and only
    # rewrite the parts outside them.
    parts = re.split(r'("(?:[^"]|"")*")', formula[1:])
    for i in range(0, len(parts), 2):
        for name in PREFIXED_FUNCTIONS:
            parts[i] = re.sub(r"(?<![A-Za-z0-9_.])" + name + r"\(", "_xlfn." + name + "(", parts[i])
    return "".join(parts)


def cell_xml(ref, content):
    if content.startswith("="):
        return f'<c r="{ref}"><f>{escape(file_formula(content))}</f></c>'
    if content in ("TRUE", "FALSE"):
        return f'<c r="{ref}" t="b"><v>{1 if content == "TRUE" else 0}</v></c>'
    if NUMBER_RE.match(content):
        return f'<c r="{ref}"><v>{content}</v></c>'
    return f'<c r="{ref}" t="inlineStr"><is><t xml:space="preserve">{escape(content)}</t></is></c>'


def write_workbook(path, fixture, cases):
    by_row = {}
    for ref, content in list(fixture) + [(c[1], c[2]) for c in cases]:
        col, row = split_ref(ref)
        if (col, row) in by_row.get(row, {}):
            raise ValueError(f"cell {ref} used twice")
        by_row.setdefault(row, {})[(col, row)] = cell_xml(ref, content)
    rows = []
    for row in sorted(by_row):
        cells = "".join(x for _, x in sorted(by_row[row].items()))
        rows.append(f'<row r="{row}">{cells}</row>')
    sheet = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
             '<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
             f'<sheetData>{"".join(rows)}</sheetData></worksheet>')
    workbook = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
                '<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
                'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">'
                '<sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets>'
                '<calcPr calcId="191029" fullCalcOnLoad="1"/></workbook>')
    content_types = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
                     '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                     '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
                     '<Default Extension="xml" ContentType="application/xml"/>'
                     '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
                     '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
                     '</Types>')
    rels = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
            '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
            '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>'
            '</Relationships>')
    wb_rels = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
               '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
               '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>'
               '</Relationships>')
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml", content_types)
        z.writestr("_rels/.rels", rels)
        z.writestr("xl/workbook.xml", workbook)
        z.writestr("xl/_rels/workbook.xml.rels", wb_rels)
        z.writestr("xl/worksheets/sheet1.xml", sheet)


class Office:
    """A private headless office process and a UNO connection to it."""

    def __init__(self, workdir):
        import uno  # noqa: F401  (only available with the system Python)
        self.pipe = f"krvcorpus{os.getpid()}"
        profile = os.path.join(workdir, "profile")
        binary = shutil.which("soffice") or shutil.which("libreoffice")
        if not binary:
            raise RuntimeError("soffice not found: install libreoffice-calc-nogui and python3-uno")
        env = dict(os.environ, LANG="en_US.UTF-8", LC_ALL="C.UTF-8")
        self.proc = subprocess.Popen(
            [binary, "--headless", "--invisible", "--norestore", "--nologo", "--nodefault",
             "--nolockcheck", "-env:UserInstallation=file://" + profile,
             f"--accept=pipe,name={self.pipe};urp;"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
        import uno
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        deadline = time.time() + 60
        while True:
            try:
                self.ctx = resolver.resolve(
                    f"uno:pipe,name={self.pipe};urp;StarOffice.ComponentContext")
                break
            except Exception:
                if time.time() > deadline or self.proc.poll() is not None:
                    self.close()
                    raise RuntimeError("could not connect to the office process")
                time.sleep(0.3)
        self.desktop = self.ctx.ServiceManager.createInstanceWithContext(
            "com.sun.star.frame.Desktop", self.ctx)

    def load(self, path):
        import uno
        from com.sun.star.beans import PropertyValue
        props = []
        for name, value in (("Hidden", True), ("ReadOnly", True)):
            p = PropertyValue()
            p.Name, p.Value = name, value
            props.append(p)
        return self.desktop.loadComponentFromURL(uno.systemPathToFileUrl(path), "_blank", 0,
                                                 tuple(props))

    def close(self):
        try:
            self.desktop.terminate()
        except Exception:
            pass
        try:
            self.proc.wait(timeout=30)
        except Exception:
            self.proc.kill()


def read_result(cell):
    """(type, expected, raw) of a formula cell as the reference computed it."""
    err = cell.getError()
    text = cell.getString()
    if err:
        return "error", text, {"error": err, "string": text}
    rtype = cell.FormulaResultType2  # 1 value, 2 text, 4 error
    if rtype == 2:
        return "text", text, {"string": text}
    value = cell.getValue()
    if text in ("TRUE", "FALSE") and value in (0.0, 1.0):
        return "bool", text, {"value": value, "string": text}
    return "number", format_number(value), {"value": value, "string": text}


def format_number(v):
    s = "%.15g" % v
    return "0" if s == "-0" else s


def escape_text(s):
    return s.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")


def check_override(typ, expected):
    if typ == "number":
        float(expected)
    elif typ == "bool" and expected not in ("TRUE", "FALSE"):
        raise ValueError(f"bool override {expected!r}")
    elif typ == "error" and expected not in ERROR_NAMES:
        raise ValueError(f"error override {expected!r}")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--fixture", default=os.path.join(HERE, "fixture.txt"))
    ap.add_argument("--formulas", default=os.path.join(HERE, "formulas.txt"))
    ap.add_argument("--out", default=DEFAULT_OUT)
    ap.add_argument("--raw", help="also write the reference's raw results as JSON")
    args = ap.parse_args()

    fixture = read_fixture(args.fixture)
    items = assign_refs(read_formulas(args.formulas))
    cases = [it for it in items if it[0] == "case"]

    workdir = tempfile.mkdtemp(prefix="krv-corpus-")
    try:
        book = os.path.join(workdir, "corpus.xlsx")
        write_workbook(book, fixture, cases)
        office = Office(workdir)
        try:
            doc = office.load(book)
            doc.calculateAll()
            sheet = doc.Sheets.getByIndex(0)
            results = {}
            for _, ref, formula, _ in cases:
                results[ref] = read_result(sheet.getCellRangeByName(ref))
            fixture_errors = []
            for ref, content in fixture:
                cell = sheet.getCellRangeByName(ref)
                if content.startswith("=") and cell.getError() and not cell.getString().startswith("#"):
                    fixture_errors.append(f"{ref} {content}: {cell.getString()}")
            doc.close(True)
        finally:
            office.close()
    finally:
        shutil.rmtree(workdir, ignore_errors=True)

    if fixture_errors:
        print("fixture formulas without an Excel error value:\n  " + "\n  ".join(fixture_errors),
              file=sys.stderr)
        return 1

    lines = ["# Formula corpus: fixture cells, then cases with the result Excel gives.",
             "# cell<TAB>REF<TAB>CONTENT",
             "# case<TAB>REF<TAB>FORMULA<TAB>TYPE<TAB>EXPECTED<TAB>NOTE",
             "# Generated by scripts/corpus/generate_corpus.py; edit its inputs, not this file.",
             ""]
    for ref, content in fixture:
        lines.append(f"cell\t{ref}\t{content}")
    unresolved, redundant, raw = [], [], []
    count = 0
    for it in items:
        if it[0] == "section":
            lines.append("")
            lines.append(f"# {it[1]}")
            continue
        _, ref, formula, override = it
        typ, expected, raw_result = results[ref]
        raw.append({"ref": ref, "formula": formula, "type": typ, "expected": expected,
                    "raw": raw_result})
        note = ""
        if override:
            otyp, oexp, reason = override
            check_override(otyp, oexp)
            if (otyp, oexp) == (typ, expected):
                redundant.append(f"{ref} {formula}")
            else:
                note = f"excel-differs: {reason}"
                typ, expected = otyp, oexp
        elif typ == "error" and expected not in ERROR_NAMES:
            unresolved.append(f"{ref} {formula}: reference gives {expected}")
            continue
        if typ == "text":
            expected = escape_text(expected)
        lines.append("\t".join(["case", ref, formula, typ, expected, note]))
        count += 1

    if args.raw:
        with open(args.raw, "w", encoding="utf-8") as f:
            json.dump(raw, f, indent=1, ensure_ascii=False)
    for r in redundant:
        print(f"note: Excel result given but the reference agrees: {r}", file=sys.stderr)
    if unresolved:
        print("cases without an Excel result (give one in formulas.txt):\n  " +
              "\n  ".join(unresolved), file=sys.stderr)
        return 1

    # Written atomically: a temporary file beside the target, then renamed over it.
    os.makedirs(os.path.dirname(args.out), exist_ok=True)
    fd, tmp = tempfile.mkstemp(dir=os.path.dirname(args.out), prefix=".corpus-")
    with os.fdopen(fd, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    os.replace(tmp, args.out)
    print(f"wrote {count} cases and {len(fixture)} fixture cells to {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
