#!/usr/bin/env python3
"""Writes standards.txt: the workload of one connection-standards evaluation.

300 input lines A1..A300 with numbers, then 500 equation lines C1..C500, each
"REF<TAB>CONTENT". The equations look like a standards sheet's calculation section:
arithmetic on inputs and on earlier results, IF, ROUND, ROUNDUP, MAX, MIN, SQRT,
ABS, INT, MOD, AND/OR, small SUM ranges and text built with &. An equation only
refers to inputs and to earlier equations, divides only by inputs (all >= 1) and
uses a text result only where text is expected, so every cell evaluates without
an error. The output is deterministic (no random module, no clock).

    python3 bench/workloads/gen_standards.py [--out bench/workloads/standards.txt]
"""

import argparse
import os
import sys

INPUTS = 300
EQUATIONS = 500


def input_value(i):
    return round((i * 37 % 1000) * 0.25 + 1, 2)


class Lcg:
    """A small linear congruential generator, stable across Python versions."""

    def __init__(self, seed):
        self.state = seed

    def next(self, n):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) % (1 << 64)
        return (self.state >> 33) % n


def number_text(v):
    s = repr(float(v))
    return s[:-2] if s.endswith(".0") else s


def equations():
    rng = Lcg(20240611)
    numeric = []  # earlier C rows whose result is a number
    out = []

    def a():
        return rng.next(INPUTS) + 1

    def p():
        return numeric[rng.next(len(numeric))] if numeric else None

    templates_num = [
        lambda: f"=ROUND(A{a()}*1.5+A{a()}/2,2)",
        lambda: (lambda x, y: f"=IF(A{x}>A{y},A{x}-A{y},A{y}-A{x})")(a(), a()),
        lambda: f"=ROUNDUP(A{a()}/25,0)*25",
        lambda: f"=MAX(A{a()},A{a()},C{p()})",
        lambda: f"=MIN(A{a()}*0.8,C{p()}+10)",
        lambda: f"=ROUND(SQRT(A{a()}^2+A{a()}^2),3)",
        lambda: f"=ABS(C{p()}-A{a()})",
        lambda: f"=INT(A{a()}/A{a()}*10)/10",
        lambda: f"=MOD(INT(A{a()}),7)",
        lambda: f"=IF(AND(A{a()}>50,C{p()}<200),1,0)",
        lambda: (lambda x, y: f"=IF(OR(A{x}<20,A{y}>200),ROUND(A{x}*0.9,1),ROUND(A{y}*1.1,1))")(a(), a()),
        lambda: (lambda x: f"=SUM(A{x}:A{x + 4})/5")(rng.next(INPUTS - 4) + 1),
        lambda: f"=ROUND(A{a()}*A{a()}/1000,3)",
        lambda: f"=ROUND(PI()*A{a()}^2/4,2)",
        lambda: f"=MAX(ROUNDUP(C{p()}/2.5,0),3)",
        lambda: f"=ROUND((A{a()}+A{a()}+A{a()})/3,2)",
        lambda: (lambda x: f"=IF(A{x}>=100,ROUNDDOWN(A{x}/2,0),A{x}*2)")(a()),
        lambda: f"=ROUND(C{p()}*0.7+A{a()}*0.3,2)",
        lambda: f"=IF(C{p()}>C{p()},C{p()},A{a()})+1",
        lambda: f"=ROUND(MAX(A{a()}-C{p()},0)*0.5+SQRT(A{a()}),2)",
    ]
    templates_text = [
        lambda: f"=\"M\"&ROUND(A{a()}/10,0)&\" x \"&ROUND(A{a()},0)",
        lambda: f"=IF(C{p()}>C{p()},\"OK\",\"NOK\")",
        lambda: f"=\"t=\"&ROUND(A{a()}/8,1)&\" mm\"",
    ]
    for k in range(1, EQUATIONS + 1):
        if k % 9 == 0 and numeric:
            text = templates_text[rng.next(len(templates_text))]()
            is_number = False
        else:
            text = templates_num[rng.next(len(templates_num))]()
            is_number = True
        if "None" in text:  # no earlier numeric result to refer to yet
            text = f"=ROUND(A{a()}*1.25,2)"
        out.append((f"C{k}", text))
        if is_number:
            numeric.append(k)
    return out


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                  "standards.txt"))
    args = ap.parse_args()
    lines = [f"A{i}\t{number_text(input_value(i))}" for i in range(1, INPUTS + 1)]
    lines += [f"{ref}\t{formula}" for ref, formula in equations()]
    tmp = args.out + ".tmp"
    with open(tmp, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    os.replace(tmp, args.out)
    print(f"wrote {len(lines)} lines to {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
