#!/usr/bin/env python3
"""Tests of scripts/check-format.sh on a small git tree in a temporary folder
(never on the repository itself).

    python3 -m unittest discover -s scripts/checks
"""

import os
import shutil
import subprocess
import tempfile
import unittest

SCRIPTS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CHECK = os.path.join(SCRIPTS, "check-format.sh")
FORMATTED = "int add(int a, int b) { return a + b; }\n"
MISFORMATTED = "int  add( int a,int b ){\nreturn a+b;}\n"


@unittest.skipUnless(shutil.which("clang-format-14") or shutil.which("clang-format"),
                     "clang-format is not installed")
class CheckFormat(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="format-")
        self.addCleanup(shutil.rmtree, self.root)
        shutil.copy(os.path.join(os.path.dirname(SCRIPTS), ".clang-format"), self.root)
        subprocess.run(["git", "init", "-q", self.root], check=True)

    def write(self, rel, text, track=True):
        path = os.path.join(self.root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        if track:
            subprocess.run(["git", "-C", self.root, "add", rel], check=True)

    def run_check(self):
        p = subprocess.run(["bash", CHECK, self.root], capture_output=True, text=True)
        return p.returncode, p.stderr

    def test_formatted_tracked_files_pass_and_untracked_ones_are_not_read(self):
        self.write("lib/add.cpp", FORMATTED)
        self.write("lib/add.h", "#pragma once\n\nint add(int a, int b);\n")
        self.write("scratch.cpp", MISFORMATTED, track=False)
        code, err = self.run_check()
        self.assertEqual(code, 0, err)

    def test_a_misformatted_file_fails_and_is_named(self):
        self.write("lib/add.cpp", FORMATTED)
        self.write("lib/bad name.cpp", MISFORMATTED)
        code, err = self.run_check()
        self.assertEqual(code, 1)
        self.assertIn("lib/bad name.cpp", err)
        self.assertNotIn("lib/add.cpp", err)

    def test_a_tree_without_a_style_file_is_refused(self):
        os.remove(os.path.join(self.root, ".clang-format"))
        self.write("lib/add.cpp", MISFORMATTED)
        code, err = self.run_check()
        self.assertEqual(code, 2)
        self.assertIn("no .clang-format", err)


if __name__ == "__main__":
    unittest.main()
