#include "tools/dialog_script.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "designer/cdlg_designer.h"
#include "platform/qt/picture.h"
#include "platform/sheet/tspread.h"
#include "platform/win/person.h"
#include "platform/win/window_dump.h"

namespace krv::tools {
namespace {

using krv::base::Status;

int wholeNumber(const std::string& word, bool& ok) {
  int v = 0;
  const auto r = std::from_chars(word.data(), word.data() + word.size(), v);
  ok = ok && r.ec == std::errc() && r.ptr == word.data() + word.size();
  return v;
}

CWnd* findControl(CWnd& dialog, int id) {
  if (CWnd* direct = dialog.GetDlgItem(id)) return direct;
  for (CWnd* child : dialog.children())
    if (child && (child->GetStyle() & WS_CHILD))
      if (CWnd* found = findControl(*child, id)) return found;
  return nullptr;
}

Status clickCell(CWnd& dialog, const std::vector<std::string>& words) {
  bool ok = true;
  const int id = wholeNumber(words[0], ok), col = wholeNumber(words[1], ok),
            row = wholeNumber(words[2], ok);
  if (!ok) return Status::error("a sheet control and a cell (column, row) are expected");
  auto* sheet = dynamic_cast<TSpread*>(findControl(dialog, id));
  if (!sheet) return Status::error("there is no sheet control " + words[0]);
  if (!sheet->IsWindowEnabled() || !sheet->IsWindowVisible())
    return Status::error("sheet control " + words[0] + " is disabled or hidden");
  CRect r;
  if (!sheet->GetCellRect(col, row, r))
    return Status::error("cell " + words[1] + "," + words[2] + " is not shown");
  krv::win::Person::clickAt(sheet, r.CenterPoint());
  return {};
}

// Selects exactly the designed controls with the window identifiers in the
// dialog designer, as a click on the first and Shift+clicks on the others
// do (a plain click in the middle of a control starts a drag, which a
// script cannot play); the properties follow the selection.
Status selectDesigned(CWnd& dialog, const std::vector<std::string>& words) {
  auto* designer = dynamic_cast<CDlgDesigner*>(&dialog);
  if (!designer) return Status::error("the dialog is not the dialog designer");
  Krv_DlgDesignerData& design = designer->design();
  AcArray<int> ids;
  for (const std::string& word : words) {
    bool ok = true;
    const int id = wholeNumber(word, ok);
    int index = -1;
    if (!ok || !design.findCtrlFromResource(id, index))
      return Status::error("the design has no control " + word);
    ids.append(id);
  }
  design.selectCtrls(ids);
  design.updatePropsOfCurSel();
  return {};
}

}  // namespace

void provideQtRuntimeFolder() {
  if (const char* given = std::getenv("XDG_RUNTIME_DIR"); given && *given) return;
  const std::string folder = "/tmp/runtime-" + std::to_string(::getuid());
  ::mkdir(folder.c_str(), 0700);
  struct stat st {};
  if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
      (st.st_mode & 077) == 0)
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

void prepareScript(krv::win::PersonScript& script) {
  script.setPictureTaker([](CWnd& window, const std::filesystem::path& file) {
    provideQtRuntimeFolder();
    return krv::qt::savePicture(window, file);
  });
  script.addAction("cell", 3, 3, clickCell);
  script.addAction("select", 1, 100, selectDesigned);
  script.addAction("dump", 0, 0, [](CWnd& d, const std::vector<std::string>&) {
    std::fputs(krv::win::dumpWindowTree(d).c_str(), stderr);
    return Status();
  });
}

}  // namespace krv::tools
