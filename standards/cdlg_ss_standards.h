#pragma once
// CDlgSSStandards: the hidden standards dialog in which one standards
// evaluation runs. It only hosts the calculation engine's spreadsheet,
// placed over its frame item. The module's pool of standards dialogs
// (gSSDlgsMgr) creates these modeless and hidden and hands them out, so
// that nested child evaluations each get a dialog of their own.
#include "frame/ss_dlgs_mgr.h"
#include "standards/vt_calc_ss.h"
#include "standards/vt_dlg_standards_data.h"

class CDlgSSStandards : public krv::frame::PooledStandardsDialog {
 public:
  static constexpr int kSheetFrame = 1196;

  CDlgSSStandards() = default;

  BOOL OnInitDialog() override;
  void OnDestroy() override;

  // Runs the evaluation of mData: loads its sheet, then mode 0 evaluates
  // for the macro (and copies the variable cells into mData), mode 1 for
  // the passed variables; other modes only load. False at the first step
  // that fails; krv::standards::lastCalcFailure() then says why (and is empty after a
  // success).
  bool run();

  VtCalcSS mCalc;
  VtDlgStandardsData mData;

 private:
  bool evaluate();
};

namespace krv::standards {
// Makes the module's pool build CDlgSSStandards dialogs (done when the
// module is loaded; tests may call it after installing another factory).
void installStandardsDialogFactory();
// A path of the form "c:\..." read below the library folder: the drive is
// replaced by the library folder ("c:\a\t3.sss" gives libDir + "a\t3.sss").
Krv_String pathBelowLibrary(const Krv_String& drivePath);
}  // namespace krv::standards
