// The hidden standards dialog in which one standards evaluation runs.
#include "standards/cdlg_ss_standards.h"

#include "standards/calc_timers.h"

BOOL CDlgSSStandards::OnInitDialog() {
  krv::frame::PooledStandardsDialog::OnInitDialog();
  mCalc.attachToDlgItem(this, kSheetFrame, false);
  return TRUE;
}

void CDlgSSStandards::OnDestroy() {
  if (mCalc.GetSafeHwnd()) mCalc.DestroyWindow();
  krv::frame::PooledStandardsDialog::OnDestroy();
}

bool CDlgSSStandards::run() {
  mCalc.clearFailure();
  const bool ok = evaluate();
  krv::standards::setLastCalcFailure(ok ? Krv_String()
                                     : mCalc.failureReason().isEmpty()
                                         ? Krv_String(L"the evaluation failed")
                                         : mCalc.failureReason());
  return ok;
}

bool CDlgSSStandards::evaluate() {
  {
    Krv_FunctionTimer t(gLoadFile);
    if (mCalc.loadFile(mData.mStandardsName) != Acad::eOk) return false;
  }
  if (mData.mMode == VtDlgStandardsData::kMainEvaluation) {
    if (mCalc.initSSForInput(mData) != Acad::eOk) return false;
    if (mCalc.calcMain(mData) != Acad::eOk) return false;
    mData.mVarCells = mCalc.mVarCells;
    return true;
  }
  if (mData.mMode == VtDlgStandardsData::kChildEvaluation) {
    if (mCalc.getFromVars(mData) != Acad::eOk) return false;
    return mCalc.calcChild(mData.mVarCells) == Acad::eOk;
  }
  return true;
}
