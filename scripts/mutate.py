#!/usr/bin/env python3
"""Plants small faults in C++ source files one at a time and reports the ones
that no test catches.

For every given file the script lists candidate faults of a few plausible
kinds (a flipped or loosened comparison, a changed loop bound, a dropped
negation, swapped arguments, a dropped check, a swapped logical operator, a
flipped boolean result), then for each one: writes the changed file, rebuilds
what changed in the build tree, runs the test program of the file's own folder
and, when that passes, the whole suite, and restores the file. A fault that
does not compile is counted apart; a fault that every test survives is listed
with its place so that a person can add the missing test (or remove dead
code).

Run it through scripts/mutate.sh, which configures the build tree.
"""

from __future__ import annotations

import argparse
import dataclasses
import os
import random
import re
import subprocess
import sys
import time
from pathlib import Path


@dataclasses.dataclass(frozen=True)
class Mutant:
    path: Path
    line: int  # 1-based
    kind: str
    before: str  # the whole original line
    after: str  # the whole changed line


def blank_strings_and_comments(text: str) -> str:
    """Returns text of the same length where string and character literals and
    comments are replaced by spaces (line breaks kept), so that patterns only
    match code."""
    out = list(text)
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            for k in range(i, j):
                out[k] = " "
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            for k in range(i, j):
                if out[k] != "\n":
                    out[k] = " "
            i = j
        elif text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            if not m:
                i += 1
                continue
            end = text.find(")" + m.group(1) + '"', i)
            j = n if end < 0 else end + len(m.group(1)) + 2
            for k in range(i, j):
                if out[k] != "\n":
                    out[k] = " "
            i = j
        elif c in "\"'":
            if c == "'" and i > 0 and text[i - 1].isalnum():
                i += 1  # digit separator such as 1'000
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            for k in range(i + 1, j - 1):
                out[k] = " "
            i = j
        else:
            i += 1
    return "".join(out)


def matching_paren(code: str, open_at: int) -> int:
    depth = 0
    for k in range(open_at, len(code)):
        if code[k] == "(":
            depth += 1
        elif code[k] == ")":
            depth -= 1
            if depth == 0:
                return k
    return -1


# Replacement operators: (kind, pattern over the blanked code, replacement).
# Binary operators are written with blanks around them in this code base, so
# template brackets and shifts are not mistaken for comparisons.
OPERATORS = [
    ("loosened comparison", r" < ", " <= "),
    ("tightened comparison", r" <= ", " < "),
    ("loosened comparison", r" > ", " >= "),
    ("tightened comparison", r" >= ", " > "),
    ("flipped comparison", r" == ", " != "),
    ("flipped comparison", r" != ", " == "),
    ("swapped logical operator", r" && ", " || "),
    ("swapped logical operator", r" \|\| ", " && "),
    ("changed bound", r" \+ 1\b", " - 1"),
    ("changed bound", r" - 1\b", " + 1"),
    ("dropped negation", r"\(!(?!=)", "("),
    ("flipped result", r"\breturn true;", "return false;"),
    ("flipped result", r"\breturn false;", "return true;"),
]

SWAP_ARGS = re.compile(r"\b([A-Za-z_]\w*)\(([A-Za-z_][\w.]*), ([A-Za-z_][\w.]*)\)")
# Calls whose arguments may change places without changing the result, or
# that are not calls at all: swapping there plants no fault.
SYMMETRIC_CALLS = {"if", "while", "for", "switch", "return", "min", "max", "swap", "hypot",
                   "gcd", "lcm", "equal", "sizeof", "decltype"}
# A condition that declares its variable ("auto* e = ...", "LSTATUS s = ...").
DECLARATION = re.compile(r"\s*(?:const\s+)?[A-Za-z_][\w:<>]*(?:\s*[*&]\s*|\s+)[A-Za-z_]\w*\s*=[^=]")
SKIP_LINE = re.compile(r"^\s*(#|static_assert|assert\b|EXPECT_|ASSERT_|TEST\b|TEST_F\b)")


def mutants_of(path: Path) -> list[Mutant]:
    text = path.read_text(encoding="utf-8")
    code = blank_strings_and_comments(text)
    lines = text.split("\n")
    code_lines = code.split("\n")
    found: list[Mutant] = []
    for idx, (line, cline) in enumerate(zip(lines, code_lines)):
        if SKIP_LINE.match(cline) or not cline.strip():
            continue

        def add(kind: str, start: int, end: int, repl: str) -> None:
            found.append(Mutant(path, idx + 1, kind, line, line[:start] + repl + line[end:]))

        for kind, pattern, repl in OPERATORS:
            for m in re.finditer(pattern, cline):
                add(kind, m.start(), m.end(), repl)
        for m in SWAP_ARGS.finditer(cline):
            if m.group(2) != m.group(3) and m.group(1) not in SYMMETRIC_CALLS:
                s = m.start(2)
                add("swapped arguments", s, m.end(3), f"{m.group(3)}, {m.group(2)}")
        for m in re.finditer(r"\bif \(", cline):
            close = matching_paren(cline, m.end() - 1)
            if close < 0:
                continue
            cond = line[m.end():close]
            if ";" in code_lines[idx][m.end():close] or DECLARATION.match(cond):
                continue  # a condition that declares a name cannot be wrapped
            add("dropped check", m.start(), close + 1, f"if (false && ({cond}))")
    return found


class Runner:
    def __init__(self, build: Path, source: Path, jobs: int, timeout: int) -> None:
        # Absolute, since a test program runs with its own folder as the
        # working directory.
        self.build = build.resolve()
        self.source = source.resolve()
        self.jobs = jobs
        self.timeout = timeout

    def compile(self, target: str | None = None) -> bool:
        command = ["cmake", "--build", str(self.build), "-j", str(self.jobs)]
        if target:
            command += ["--target", target]
        r = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return r.returncode == 0

    def folder_tests(self, path: Path) -> list[Path]:
        """The test program of the file's own folder, run first: it is the
        likeliest to catch a fault and the cheapest to run."""
        rel = path.resolve().relative_to(self.source.resolve()).parent
        folder = self.build / rel
        return sorted(p for p in folder.glob("*_tests") if p.is_file() and os.access(p, os.X_OK))

    def folder_test_targets(self, path: Path) -> list[str]:
        return [exe.name for exe in self.folder_tests(path)]

    def tests_pass(self, path: Path) -> bool:
        """Runs the folder's own test program (built alone, so that a fault it
        catches costs one link), then builds everything and runs the whole
        suite."""
        for exe in self.folder_tests(path):
            if not self.compile(exe.name):
                return False
            try:
                r = subprocess.run([str(exe), "--gtest_brief=1"], cwd=exe.parent,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   timeout=self.timeout)
            except subprocess.TimeoutExpired:
                return False
            if r.returncode != 0:
                return False
        if not self.compile():
            return False
        r = subprocess.run(["ctest", "--test-dir", str(self.build), "-j", str(self.jobs),
                            "--stop-on-failure", "--timeout", str(self.timeout), "-Q"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return r.returncode == 0


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("files", nargs="+", type=Path)
    ap.add_argument("--build", type=Path, default=Path("build-mutate"))
    ap.add_argument("--source", type=Path, default=Path("."))
    ap.add_argument("--max", type=int, default=0, help="at most this many faults per file (a seeded sample)")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--timeout", type=int, default=120, help="seconds per test program")
    ap.add_argument("--list", action="store_true", help="only list the faults that would be planted")
    args = ap.parse_args()

    runner = Runner(args.build, args.source, args.jobs, args.timeout)
    if not args.list and not runner.compile():
        print("mutate: the unchanged tree does not build", file=sys.stderr)
        return 2
    if not args.list and not all(runner.tests_pass(f) for f in args.files[:1]):
        print("mutate: the unchanged tree fails its tests", file=sys.stderr)
        return 2

    totals = {"caught": 0, "survived": 0, "not compiled": 0}
    survivors: list[Mutant] = []
    for path in args.files:
        candidates = mutants_of(path)
        if args.max and len(candidates) > args.max:
            candidates = sorted(random.Random(args.seed).sample(candidates, args.max),
                                key=lambda m: m.line)
        original = path.read_bytes()
        lines = original.decode("utf-8").split("\n")
        for m in candidates:
            if args.list:
                print(f"{m.path}:{m.line}: {m.kind}: {m.after.strip()}")
                continue
            changed = lines.copy()
            changed[m.line - 1] = m.after
            started = time.monotonic()
            try:
                path.write_text("\n".join(changed), encoding="utf-8")
                targets = runner.folder_test_targets(path) or [None]
                if not all(runner.compile(t) for t in targets):
                    outcome = "not compiled"
                elif runner.tests_pass(path):
                    outcome = "survived"
                    survivors.append(m)
                else:
                    outcome = "caught"
            finally:
                path.write_bytes(original)
            totals[outcome] += 1
            print(f"{outcome:>12}  {m.path}:{m.line}  {m.kind}  ({time.monotonic() - started:.0f} s)",
                  flush=True)
        if not args.list:
            os.utime(path)  # the restored file is rebuilt by the next compile
    if args.list:
        return 0
    runner.compile()
    tried = totals["caught"] + totals["survived"]
    score = 100.0 * totals["caught"] / tried if tried else 100.0
    print(f"\nplanted {tried} faults that compile: {totals['caught']} caught, "
          f"{totals['survived']} survived ({score:.0f} % caught); "
          f"{totals['not compiled']} did not compile")
    for m in survivors:
        print(f"survived: {m.path}:{m.line}: {m.kind}\n    - {m.before.strip()}\n    + {m.after.strip()}")
    return 1 if survivors else 0


if __name__ == "__main__":
    sys.exit(main())
