// The exported entry points of the standards engine: one standards
// evaluation in a pooled hidden dialog, the fixed test evaluation, and the
// two uses of the formula window (reading a sheet file into texts, and
// evaluating a cell of a fixed sheet).
#include <exception>

#include "frame/exported_functions.h"
#include "frame/modal_frame.h"
#include "frame/resource_guard.h"
#include "frame/ss_dlgs_mgr.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "spread/cformula.h"
#include "standards/cdlg_ss_standards.h"

namespace krv::standards {

void installStandardsDialogFactory() {
  frame::setStandardsDialogFactory(
      [](CWnd*) -> frame::PooledStandardsDialog* { return new CDlgSSStandards(); });
}

namespace {
// The pool builds standards dialogs from the moment the module is loaded,
// so that another module may take one before any evaluation has run. The
// pool keeps its factory in a function-local static, so this is safe in
// whatever order the module's static objects are built.
[[maybe_unused]] const bool kStandardsDialogFactoryInstalled =
    (installStandardsDialogFactory(), true);
}  // namespace

Krv_String pathBelowLibrary(const Krv_String& drivePath) {
  Krv_String rest = drivePath;
  if (rest.length() >= 2 && rest[1] == L':') rest = rest.substr(2);
  return Krv_Settings::libDir() + ensureNoStartBSlash(rest);
}

}  // namespace krv::standards

bool StartDlgStandardsSS(VtDlgStandardsData& data) {
  void* handle = nullptr;
  try {
    krv::frame::ResourceGuard guard;
    handle = gSSDlgsMgr.getDlg();
    if (!handle) {
      krv::standards::setLastCalcFailure(L"no standards dialog could be built for the evaluation");
      return false;
    }
    auto* dialog =
        dynamic_cast<CDlgSSStandards*>(static_cast<krv::frame::PooledStandardsDialog*>(handle));
    if (!dialog) {
      krv::standards::setLastCalcFailure(L"the dialog pool handed out a dialog of another kind");
      gSSDlgsMgr.releaseDlg(handle);
      return false;
    }
    dialog->mData = data;
    const bool ok = dialog->run();
    if (ok) data = dialog->mData;
    gSSDlgsMgr.releaseDlg(handle);
    return ok;
  } catch (const std::exception& e) {
    krv::frame::reportStoppedException(e.what());
    krv::standards::setLastCalcFailure(Krv_String(L"the evaluation was stopped by an error: ") +
                                       Krv_String(e.what()));
  } catch (...) {
    krv::frame::reportStoppedException("unknown exception");
    krv::standards::setLastCalcFailure(L"the evaluation was stopped by an unknown error");
  }
  if (handle) gSSDlgsMgr.releaseDlg(handle);
  return false;
}

bool StartDlgStandardsSStest() {
  VtDlgStandardsData data;
  data.mMode = VtDlgStandardsData::kChildEvaluation;
  data.mStandardsName = krv::standards::pathBelowLibrary(L"c:\\a\\a\\a\\test.vts");
  const struct {
    const wchar_t* name;
    const wchar_t* value;
    VtCellType kind;
  } passed[] = {{L"Column", L"IPE-200", Input},
                {L"Thickness", L"10", Input},
                {L"Width", L"212", Output},
                {L"Length", L"356", Output}};
  for (const auto& p : passed) {
    VtVarCell cell;
    cell.set(p.name, p.kind, String, p.value);
    data.mVarCells.append(cell);
  }
  return StartDlgStandardsSS(data);
}

void ReadSSFile(const Krv_String& file, Krv_String& name, Krv_StringArray& header,
                Krv_Array<Krv_StringArray>& rows) {
  try {
    krv::frame::ResourceGuard guard;
    CFormula dialog;
    dialog.mMode = CFormula::kRead;
    dialog.mFile = file.str();
    dialog.mHeader = &header;
    dialog.mRows = &rows;
    dialog.DoModal();
    name = dialog.mName;
  } catch (const std::exception& e) {
    krv::frame::reportStoppedException(e.what());
  }
}

void EvaluateSS() {
  try {
    krv::frame::ResourceGuard guard;
    CFormula dialog;
    dialog.mMode = CFormula::kEvaluateCell;
    dialog.mFile = krv::standards::pathBelowLibrary(L"c:\\a\\t3.sss").str();
    dialog.mCol = 1;
    dialog.mRow = 1;
    dialog.DoModal();
  } catch (const std::exception& e) {
    krv::frame::reportStoppedException(e.what());
  }
}
