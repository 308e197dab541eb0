#!/usr/bin/env python3
"""Checks that the code keeps to its layers.

    python3 scripts/check-layers.py [ROOT]

Reads ROOT/scripts/layers.txt (ROOT defaults to the repository holding this
script) and fails with exit status 1, naming file, line and the two layers,
when
  - a source file includes a header of a layer its own layer may not use
    (a higher layer, or a lower one outside what its layer uses);
  - a CMakeLists.txt links a library of a layer its folder may not use;
  - a folder's krv_library() is not named as its line in layers.txt says;
  - the top CMakeLists.txt lists a folder in KRV_FOLDERS before a folder it
    uses (the list is built in order).
Qt belongs to the renderer's layer, platform/qt: a Qt header (<QWidget>,
<QtCore/...>) or a Qt6:: library counts as a use of that layer.
Exit status 2 means that layers.txt itself is malformed.
"""

import os
import re
import sys

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".inc")
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')
QT_HEADER = re.compile(r"^(Qt[A-Za-z0-9]*/|Q[A-Z][A-Za-z0-9]*$)")
QT_LAYER = "platform/qt"
LIBRARY_CALL = re.compile(r"\bkrv_library\s*\(\s*NAME\s+([A-Za-z0-9_]+)")
# A word of a CMake text; a word followed by "(" is a command, not a target.
WORD = re.compile(r"[A-Za-z0-9_:./-]+(?![A-Za-z0-9_:./-]|\s*\()")


class LayerFileError(Exception):
    pass


class Layers:
    """The layers of layers.txt in order, with what each may use (closed)."""

    def __init__(self, path):
        self.order = []  # folders, lowest first
        self.library = {}  # folder -> library name or None
        self.allowed = {}  # folder -> set of folders it may use (itself excluded)
        with open(path, encoding="utf-8") as f:
            for number, raw in enumerate(f, 1):
                line = raw.split("#", 1)[0].split()
                if not line:
                    continue
                if len(line) < 2:
                    raise LayerFileError(f"{path}:{number}: a line needs a folder and a library")
                folder, library, uses = line[0].rstrip("/"), line[1], line[2:]
                if folder in self.library:
                    raise LayerFileError(f"{path}:{number}: {folder} is listed twice")
                allowed = set()
                if uses == ["*"]:
                    allowed = set(self.order)
                else:
                    for used in uses:
                        used = used.rstrip("/")
                        if used not in self.library:
                            raise LayerFileError(
                                f"{path}:{number}: {folder} uses {used}, "
                                "which is not listed above it")
                        allowed |= {used} | self.allowed[used]
                self.order.append(folder)
                self.library[folder] = None if library == "-" else library
                self.allowed[folder] = allowed
        self.folder_of_library = {lib: f for f, lib in self.library.items() if lib}

    def layer_of_path(self, path):
        """The layer whose folder holds `path` (relative, '/' separated), or None."""
        best = None
        for folder in self.order:
            if path == folder or path.startswith(folder + "/"):
                if best is None or len(folder) > len(best):
                    best = folder
        return best

    def why_not(self, user, used):
        """None when layer `user` may use layer `used`, else the reason."""
        if used == user or used in self.allowed[user]:
            return None
        if self.order.index(used) > self.order.index(user):
            return "a higher layer"
        return "a layer it may not use"


def tracked_files(root, folder):
    top = os.path.join(root, folder)
    for base, dirs, files in os.walk(top):
        dirs[:] = sorted(d for d in dirs if not d.startswith(".") and d != "testdata")
        for name in sorted(files):
            yield os.path.join(base, name)


def check_includes(root, layers, problems):
    for folder in layers.order:
        for path in tracked_files(root, folder):
            if not path.endswith(SOURCE_SUFFIXES):
                continue
            rel = os.path.relpath(path, root).replace(os.sep, "/")
            user = layers.layer_of_path(rel)
            if user != folder:
                continue  # a nested layer's file is checked as that layer's
            with open(path, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    used = layers.layer_of_path(m.group(1))
                    if used is None and QT_LAYER in layers.library and QT_HEADER.match(m.group(1)):
                        used = QT_LAYER
                    if used is None:
                        continue  # a system or third-party header
                    reason = layers.why_not(user, used)
                    if reason:
                        problems.append(
                            f"{rel}:{number}: {user} includes {m.group(1)} "
                            f"of {used}, {reason}")


def cmake_words(text):
    """(line number, word) for every word of a CMake text outside comments."""
    for number, line in enumerate(text.splitlines(), 1):
        for word in WORD.findall(line.split("#", 1)[0]):
            yield number, word


def check_cmake(root, layers, problems):
    for folder in layers.order:
        path = os.path.join(root, folder, "CMakeLists.txt")
        if not os.path.isfile(path):
            continue
        rel = f"{folder}/CMakeLists.txt"
        with open(path, encoding="utf-8") as f:
            text = f.read()
        m = LIBRARY_CALL.search(text)
        if m and m.group(1) != layers.library[folder]:
            number = text.count("\n", 0, m.start()) + 1
            expected = layers.library[folder] or "no library"
            problems.append(f"{rel}:{number}: the library is named {m.group(1)}, "
                            f"but layers.txt gives {folder} {expected}")
        for number, word in cmake_words(text):
            used = layers.folder_of_library.get(word)
            if used is None and word.startswith("Qt6::") and QT_LAYER in layers.library:
                used = QT_LAYER
            if used is None or used == folder:
                continue
            reason = layers.why_not(folder, used)
            if reason:
                problems.append(f"{rel}:{number}: {folder} links {word} of {used}, {reason}")


def check_folder_order(root, layers, problems):
    path = os.path.join(root, "CMakeLists.txt")
    if not os.path.isfile(path):
        return
    with open(path, encoding="utf-8") as f:
        text = f.read()
    m = re.search(r"set\(\s*KRV_FOLDERS\b([^)]*)\)", text)
    if not m:
        return
    start = text.count("\n", 0, m.start()) + 1
    seen = []
    for offset, line in enumerate(m.group(1).splitlines()):
        for folder in WORD.findall(line.split("#", 1)[0]):
            folder = folder.rstrip("/")
            if folder not in layers.allowed:
                problems.append(f"CMakeLists.txt:{start + offset}: KRV_FOLDERS names {folder}, "
                                "which layers.txt does not list")
                continue
            later = [u for u in layers.allowed[folder] if u not in seen]
            for used in sorted(later, key=layers.order.index):
                problems.append(f"CMakeLists.txt:{start + offset}: KRV_FOLDERS lists {folder} "
                                f"before {used}, which it uses")
            seen.append(folder)


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    layer_file = os.path.join(root, "scripts", "layers.txt")
    try:
        layers = Layers(layer_file)
    except (OSError, LayerFileError) as e:
        print(f"check-layers: {e}", file=sys.stderr)
        return 2
    problems = []
    check_includes(root, layers, problems)
    check_cmake(root, layers, problems)
    check_folder_order(root, layers, problems)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        print(f"check-layers: {len(problems)} use(s) outside the layers of scripts/layers.txt",
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
