#!/usr/bin/env python3
"""Tests of scripts/check-layers.py on small trees built in a temporary folder.

    python3 -m unittest discover -s scripts/checks
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

SCRIPTS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ROOT = os.path.dirname(SCRIPTS)
CHECK = os.path.join(SCRIPTS, "check-layers.py")


def run(root):
    p = subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)
    return p.returncode, p.stderr


class Tree:
    """A tree holding the real layers.txt and the files a test writes."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="layers-")
        os.makedirs(os.path.join(self.root, "scripts"))
        shutil.copy(os.path.join(SCRIPTS, "layers.txt"), os.path.join(self.root, "scripts"))

    def write(self, rel, text):
        path = os.path.join(self.root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)

    def remove(self):
        shutil.rmtree(self.root)


class CheckLayers(unittest.TestCase):
    def setUp(self):
        self.tree = Tree()
        self.addCleanup(self.tree.remove)

    def test_the_repository_keeps_to_its_layers(self):
        code, err = run(ROOT)
        self.assertEqual(code, 0, err)

    def test_uses_within_the_layers_pass(self):
        t = self.tree
        # Own layer, a layer used through another (standards -> spread -> core
        # -> win -> base), system headers, and an include inside a comment.
        t.write("standards/a.cpp", '#include "standards/a.h"\n#include "platform/base/status.h"\n'
                "#include <vector>\n#include \"gtest/gtest.h\"\n// #include \"tools/x.h\"\n")
        t.write("tools/main.cpp", '#include "standards/a.h"\n#include "frame/f.h"\n')
        t.write("spread/CMakeLists.txt", "krv_library(NAME krv_spread DEPS krv_core krv_win)\n")
        t.write("CMakeLists.txt", "set(KRV_FOLDERS\n  platform/base platform/win platform/acad\n"
                "  platform/sheet platform/core frame spread standards)\n")
        code, err = run(t.root)
        self.assertEqual(code, 0, err)

    def test_includes_outside_the_layers_fail_naming_file_line_and_layers(self):
        t = self.tree
        t.write("platform/sheet/cell.h", "#pragma once\n\n#include \"standards/engine.h\"\n")
        # acad lies below sheet but sheet does not use it.
        t.write("platform/sheet/cell.cpp", '  #  include "platform/acad/ac_db.h"\n')
        # frame and spread are side by side: neither may use the other.
        t.write("frame/bar_test.cpp", '#include "spread/krv_spread.h"\n')
        code, err = run(t.root)
        self.assertEqual(code, 1)
        self.assertIn("platform/sheet/cell.h:3: platform/sheet includes standards/engine.h "
                      "of standards, a higher layer", err)
        self.assertIn("platform/sheet/cell.cpp:1: platform/sheet includes platform/acad/ac_db.h "
                      "of platform/acad, a layer it may not use", err)
        self.assertIn("frame/bar_test.cpp:1: frame includes spread/krv_spread.h of spread", err)

    def test_cmake_links_and_folder_order_outside_the_layers_fail(self):
        t = self.tree
        t.write("platform/win/CMakeLists.txt",
                "krv_library(NAME krv_win DEPS krv_base\n  # krv_standards in a comment\n"
                "  krv_sheet)\n")
        t.write("frame/CMakeLists.txt", "krv_library(NAME krv_frame DEPS krv_core)\n"
                "target_link_libraries(krv_frame_tests PRIVATE krv_spread)\n")
        t.write("spread/CMakeLists.txt", "krv_library(NAME krv_sprd DEPS krv_core)\n")
        t.write("CMakeLists.txt", "set(KRV_FOLDERS\n  platform/base platform/win\n"
                "  standards spread)\n")
        code, err = run(t.root)
        self.assertEqual(code, 1)
        self.assertIn("platform/win/CMakeLists.txt:3: platform/win links krv_sheet of "
                      "platform/sheet, a higher layer", err)
        self.assertNotIn("krv_standards", err)
        self.assertIn("frame/CMakeLists.txt:2: frame links krv_spread of spread", err)
        self.assertIn("spread/CMakeLists.txt:1: the library is named krv_sprd", err)
        self.assertIn("CMakeLists.txt:3: KRV_FOLDERS lists standards before spread", err)

    def test_qt_belongs_to_the_renderer_alone(self):
        t = self.tree
        t.write("platform/qt/mirror.cpp", "#include <QWidget>\n#include <QtCore/QTimer>\n"
                '#include "platform/win/wnd.h"\n')
        t.write("tools/desktop.cpp", "#include <QMainWindow>\n#include \"platform/qt/mirror.h\"\n")
        t.write("spread/sheet_view.cpp", "#include <vector>\n\n#include <QPainter>\n")
        t.write("platform/win/w.h", "#include <QtWidgets/QWidget>\n")
        t.write("standards/CMakeLists.txt",
                "krv_library(NAME krv_standards DEPS krv_spread Qt6::Widgets)\n")
        code, err = run(t.root)
        self.assertEqual(code, 1)
        self.assertIn("spread/sheet_view.cpp:3: spread includes QPainter of platform/qt", err)
        self.assertIn("platform/win/w.h:1: platform/win includes QtWidgets/QWidget of platform/qt, "
                      "a higher layer", err)
        self.assertIn("standards/CMakeLists.txt:1: standards links Qt6::Widgets of platform/qt", err)
        self.assertNotIn("mirror.cpp", err, "the renderer may use Qt")
        self.assertNotIn("desktop.cpp", err, "the program may use the renderer and Qt")

    def test_a_malformed_layer_file_is_refused(self):
        t = self.tree
        t.write("scripts/layers.txt", "platform/base krv_base\nfrae krv_frame platform/base\n"
                "spread krv_spread frame\n")
        code, err = run(t.root)
        self.assertEqual(code, 2)
        self.assertIn("layers.txt:3: spread uses frame, which is not listed above it", err)


if __name__ == "__main__":
    unittest.main()
