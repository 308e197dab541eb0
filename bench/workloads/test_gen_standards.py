#!/usr/bin/env python3
"""Checks that standards.txt is what gen_standards.py writes and that it is a valid workload.

    python3 -m unittest discover -s bench/workloads
"""

import os
import re
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import gen_standards  # noqa: E402

REF = re.compile(r"\b([AC])(\d+)\b")


def strip_strings(formula):
    return re.sub(r'"[^"]*"', '""', formula)


class StandardsWorkload(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(os.path.join(HERE, "standards.txt"), encoding="utf-8") as f:
            cls.rows = [line.split("\t") for line in f.read().splitlines()]

    def test_committed_file_matches_the_generator(self):
        out = tempfile.mktemp(suffix=".txt")
        old_argv = sys.argv
        sys.argv = ["gen_standards.py", "--out", out]
        try:
            gen_standards.main()
        finally:
            sys.argv = old_argv
        with open(out, encoding="utf-8") as f:
            regenerated = [line.split("\t") for line in f.read().splitlines()]
        os.unlink(out)
        self.assertEqual(regenerated, self.rows)

    def test_layout_is_300_inputs_then_500_equations(self):
        self.assertEqual(len(self.rows), gen_standards.INPUTS + gen_standards.EQUATIONS)
        for i, (ref, content) in enumerate(self.rows[:gen_standards.INPUTS], start=1):
            self.assertEqual(ref, f"A{i}")
            self.assertEqual(float(content), round((i * 37 % 1000) * 0.25 + 1, 2))
            self.assertGreaterEqual(float(content), 1.0)
        for k, (ref, content) in enumerate(self.rows[gen_standards.INPUTS:], start=1):
            self.assertEqual(ref, f"C{k}")
            self.assertTrue(content.startswith("="), content)

    def test_equations_refer_back_only_and_never_divide_by_a_result(self):
        text_rows = set()
        for k, (_, formula) in enumerate(self.rows[gen_standards.INPUTS:], start=1):
            body = strip_strings(formula)
            for col, row in REF.findall(body):
                row = int(row)
                if col == "A":
                    self.assertTrue(1 <= row <= gen_standards.INPUTS, formula)
                else:
                    self.assertLess(row, k, f"C{k} refers forward: {formula}")
                    self.assertNotIn(row, text_rows, f"C{k} uses the text result C{row}: {formula}")
            self.assertIsNone(re.search(r"/C\d", body), f"C{k} divides by a result: {formula}")
            if '"' in formula:  # every equation with a text literal has a text result
                text_rows.add(k)

    def test_workload_mixes_the_expected_functions(self):
        formulas = " ".join(f for _, f in self.rows[gen_standards.INPUTS:])
        for name in ["IF(", "ROUND(", "ROUNDUP(", "MAX(", "MIN(", "SQRT(", "ABS(", "INT(", "MOD(",
                     "AND(", "OR(", "SUM(", "&"]:
            self.assertIn(name, formulas)


if __name__ == "__main__":
    unittest.main()
