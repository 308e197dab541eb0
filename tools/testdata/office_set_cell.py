#!/usr/bin/python3
# Opens a spreadsheet file in the office suite's headless program (soffice),
# writes one cell, and stores the file again in its own format through the
# office suite: a person's edit in another spreadsheet program, for the tests
# that exchange sheets with one.
#
#   office_set_cell.py IN OUT CELL TEXT     (CELL in A1 form, first sheet)
#
# A TEXT starting with "=" is written as a formula. Exit 0 on success, 2 when
# the office suite cannot be started or reached.
import os
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue


def prop(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p


def main():
    src, out, cell, text = sys.argv[1:5]
    profile = tempfile.mkdtemp(prefix="office-profile-")
    pipe = "krvtest%d" % os.getpid()
    office = subprocess.Popen(
        ["soffice", "--headless", "--invisible", "--norestore", "--nologo",
         "-env:UserInstallation=file://" + profile,
         "--accept=pipe,name=%s;urp;" % pipe],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        ctx = None
        for _ in range(120):
            try:
                ctx = resolver.resolve(
                    "uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
                break
            except Exception:
                time.sleep(0.5)
        if ctx is None:
            print("office_set_cell: the office suite did not answer", file=sys.stderr)
            return 2
        desktop = ctx.ServiceManager.createInstanceWithContext(
            "com.sun.star.frame.Desktop", ctx)
        doc = desktop.loadComponentFromURL(
            uno.systemPathToFileUrl(os.path.abspath(src)), "_blank", 0,
            (prop("Hidden", True),))
        target = doc.Sheets.getByIndex(0).getCellRangeByName(cell)
        if text.startswith("="):
            target.setFormula(text)
        else:
            target.setString(text)
        filt = {"xlsx": "Calc MS Excel 2007 XML", "ods": "calc8"}[out.rsplit(".", 1)[1].lower()]
        doc.storeToURL(uno.systemPathToFileUrl(os.path.abspath(out)),
                       (prop("FilterName", filt),))
        doc.close(True)
        try:
            desktop.terminate()
        except Exception:
            pass
        return 0
    finally:
        try:
            office.wait(timeout=30)
        except subprocess.TimeoutExpired:
            office.kill()
        subprocess.run(["rm", "-rf", profile])


if __name__ == "__main__":
    sys.exit(main())
