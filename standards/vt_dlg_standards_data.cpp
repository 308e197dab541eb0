// The record of one standards evaluation.
#include "standards/vt_dlg_standards_data.h"

#include "platform/core/text_functions.h"

Acad::ErrorStatus VtDlgStandardsData::initialize(Krv_DbMacro* dbMacro, Krv_String standardsName,
                                                 Krv_String callerName, MacroData* macroData) {
  if (!dbMacro || !macroData) return Acad::eInvalidInput;
  mModuleGroup = callerName.startsWith(L"Module.", false) ? getSubstrAfter(callerName, L".", false)
                                                          : Krv_String();
  mMode = kMainEvaluation;
  mStandardsName = standardsName;
  mCallerName = callerName;
  mDbMacro = dbMacro;
  mMacroData = macroData;
  return Acad::eOk;
}
