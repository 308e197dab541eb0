#!/usr/bin/env python3
"""Tests of the corpus generator's file handling and of the committed corpus itself.

    python3 -m unittest discover -s scripts/corpus
Needs no office suite: the parts that drive it are not exercised here.
"""

import os
import re
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import generate_corpus as g  # noqa: E402


def write(text):
    f = tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False, encoding="utf-8")
    f.write(text)
    f.close()
    return f.name


class InputFiles(unittest.TestCase):
    def test_fixture_rejects_malformed_and_out_of_area_cells(self):
        for bad in ["cell\tA1\n", "cel\tA1\t4\n", "cell\tI1\t4\n", "cell\tA61\t4\n", "cell\ta1\t4\n"]:
            path = write(bad)
            with self.subTest(line=bad), self.assertRaises(ValueError):
                g.read_fixture(path)
            os.unlink(path)

    def test_fixture_keeps_content_verbatim(self):
        path = write("# comment\n\ncell\tC7\t=\"  a  \"\ncell\tH60\tsteel  beam\n")
        self.assertEqual(g.read_fixture(path), [("C7", '="  a  "'), ("H60", "steel  beam")])
        os.unlink(path)

    def test_formulas_with_and_without_excel_result(self):
        path = write("# Section one\n=1+1\n=TRUE=1\tbool\tFALSE\tlogical is not a number\n")
        items = g.read_formulas(path)
        os.unlink(path)
        self.assertEqual(items, [("section", "Section one"), ("case", "=1+1", None),
                                 ("case", "=TRUE=1", ("bool", "FALSE", "logical is not a number"))])

    def test_formulas_reject_incomplete_or_unknown_results(self):
        for bad in ["1+1\n", "=1\tnumber\t2\n", "=1\tinteger\t2\twhy\n", "=1\tnumber\t2\t\n"]:
            path = write(bad)
            with self.subTest(line=bad), self.assertRaises(ValueError):
                g.read_formulas(path)
            os.unlink(path)


class Workbook(unittest.TestCase):
    def test_case_cells_fill_columns_from_j_downwards(self):
        items = [("case", f"={i}", None) for i in range(g.CASE_ROWS_PER_COLUMN + 2)]
        refs = [it[1] for it in g.assign_refs(items)]
        self.assertEqual(refs[0], "J1")
        self.assertEqual(refs[g.CASE_ROWS_PER_COLUMN - 1], f"J{g.CASE_ROWS_PER_COLUMN}")
        self.assertEqual(refs[g.CASE_ROWS_PER_COLUMN], "K1")
        self.assertEqual(len(set(refs)), len(refs))

    def test_later_functions_get_their_file_prefix_only_as_whole_names(self):
        self.assertEqual(g.file_formula("=XOR(TRUE,NOT(XOR(1,0)))"),
                         "_xlfn.XOR(TRUE,NOT(_xlfn.XOR(1,0)))")
        self.assertEqual(g.file_formula('=MYXOR(1)&"XOR("&XOR(1)'), 'MYXOR(1)&"XOR("&_xlfn.XOR(1)')
        self.assertEqual(g.file_formula('="a""XOR(""b"&XOR(1)'), '"a""XOR(""b"&_xlfn.XOR(1)')

    def test_cell_contents_are_typed_as_a_person_types_them(self):
        self.assertIn('t="b"><v>1<', g.cell_xml("A1", "TRUE"))
        self.assertIn("<v>-2.5</v>", g.cell_xml("A1", "-2.5"))
        self.assertIn("<v>1E+20</v>", g.cell_xml("A1", "1E+20"))
        self.assertIn("inlineStr", g.cell_xml("A1", "M20"))
        self.assertIn("inlineStr", g.cell_xml("A1", "1.5.2"))
        self.assertEqual(g.cell_xml("B1", '=A1&"x"'), '<c r="B1"><f>A1&amp;"x"</f></c>')
        self.assertIn("a &lt; b", g.cell_xml("A1", "a < b"))

    def test_workbook_rows_and_cells_are_in_order_and_a_cell_is_used_once(self):
        path = tempfile.mktemp(suffix=".xlsx")
        g.write_workbook(path, [("B2", "1"), ("A2", "2"), ("A1", "x")], [("case", "J1", "=A2", None)])
        with zipfile.ZipFile(path) as z:
            sheet = z.read("xl/worksheets/sheet1.xml").decode()
        os.unlink(path)
        refs = re.findall(r'<c r="([A-Z]+\d+)"', sheet)
        self.assertEqual(refs, ["A1", "J1", "A2", "B2"])
        with self.assertRaises(ValueError):
            g.write_workbook(path, [("A1", "1")], [("case", "A1", "=2", None)])


class Output(unittest.TestCase):
    def test_numbers_print_with_fifteen_significant_digits(self):
        self.assertEqual(g.format_number(0.1 + 0.2), "0.3")
        self.assertEqual(g.format_number(1 / 3), "0.333333333333333")
        self.assertEqual(g.format_number(-0.0), "0")
        self.assertEqual(g.format_number(2.0 ** 53 + 1), "9.00719925474099e+15")

    def test_text_escapes_round_trip(self):
        s = "a\tb\\n\nc"
        escaped = g.escape_text(s)
        self.assertNotIn("\t", escaped)
        self.assertNotIn("\n", escaped)
        back = re.sub(r"\\(.)", lambda m: {"t": "\t", "n": "\n", "\\": "\\"}[m.group(1)], escaped)
        self.assertEqual(back, s)

    def test_override_values_are_checked(self):
        g.check_override("error", "#NULL!")
        for typ, value in [("number", "abc"), ("bool", "1"), ("error", "Err:502")]:
            with self.subTest(typ=typ), self.assertRaises(ValueError):
                g.check_override(typ, value)


class CommittedCorpus(unittest.TestCase):
    """The corpus in the repository is well formed and matches its inputs."""

    @classmethod
    def setUpClass(cls):
        with open(g.DEFAULT_OUT, encoding="utf-8") as f:
            cls.lines = [l for l in f.read().split("\n") if l and not l.startswith("#")]

    def test_every_line_is_a_fixture_cell_or_a_case(self):
        seen_case = False
        refs = set()
        for line in self.lines:
            f = line.split("\t")
            self.assertIn(f[0], ("cell", "case"), line)
            if f[0] == "cell":
                self.assertFalse(seen_case, "fixture cells come first: " + line)
                self.assertEqual(len(f), 3, line)
            else:
                seen_case = True
                self.assertEqual(len(f), 6, line)
                self.assertTrue(f[2].startswith("="), line)
                self.assertIn(f[3], g.TYPES, line)
                self.assertGreaterEqual(g.split_ref(f[1])[0], g.CASE_FIRST_COLUMN, line)
                if f[3] == "number":
                    self.assertEqual(g.format_number(float(f[4])), f[4], line)
                elif f[3] == "bool":
                    self.assertIn(f[4], ("TRUE", "FALSE"), line)
                elif f[3] == "error":
                    self.assertIn(f[4], g.ERROR_NAMES, line)
            self.assertNotIn(f[1], refs, "cell used twice: " + line)
            refs.add(f[1])

    def test_cases_follow_the_formula_list_in_order(self):
        listed = [it[1] for it in g.read_formulas(os.path.join(g.HERE, "formulas.txt")) if it[0] == "case"]
        written = [l.split("\t")[2] for l in self.lines if l.startswith("case\t")]
        self.assertEqual(written, listed)
        self.assertGreaterEqual(len(written), 500)

    def test_cases_refer_only_to_fixture_cells(self):
        ref = re.compile(r"\b\$?([A-Z]{1,2})\$?(\d+)\b(?!\()")
        for line in self.lines:
            if line.startswith("case\t"):
                formula = re.sub(r'"(?:[^"]|"")*"', '""', line.split("\t")[2])
                for letters, row in ref.findall(formula):
                    self.assertTrue(g.col_number(letters) <= 8 and int(row) <= 60,
                                    f"{letters}{row} is outside the fixture: {line}")


if __name__ == "__main__":
    unittest.main()
