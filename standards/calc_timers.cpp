#include "standards/calc_timers.h"

#include "standards/vt_var_cells.h"

Krv_Timer gLoadFile(L"gLoadFile");
Krv_Timer gInitSSForInput(L"gInitSSForInput");
Krv_Timer gSSSGetFromMacro(L"gSSSGetFromMacro");
Krv_Timer gSetMacroValuelsToSS(L"gSetMacroValuelsToSS");
Krv_Timer gSSSreplaceGenVars(L"gSSSreplaceGenVars");
Krv_Timer gCalcMain(L"gCalcMain");
Krv_Timer gSetToMacro(L"gSetToMacro");
Krv_Timer gGetFromVars(L"gGetFromVars");
Krv_Timer gCalcChild(L"gCalcChild");
Krv_Timer gSetToVars(L"gSetToVars");
Krv_Timer gRegisterFuntions(L"gRegisterFuntions");
Krv_Timer gFindDuplicates(L"gFindDuplicates");
Krv_Timer gCalcCells(L"gCalcCells");
Krv_Timer gCalcCellSplitSymbol(L"gCalcCellSplitSymbol");
Krv_Timer gCalcCellFindVarCell(L"gCalcCellFindVarCell");
Krv_Timer gCalcCellFindFunctions(L"gCalcCellFindFunctions");
Krv_Timer gCalcCellCalcNativeFunctions(L"gCalcCellCalcNativeFunctions");
Krv_Timer gCalcCellCalcFunctionsPrepare(L"gCalcCellCalcFunctionsPrepare");
Krv_Timer gCalcCellCalcFunctions(L"gCalcCellCalcFunctions");
Krv_Timer gCalcCellGetVarNames(L"gCalcCellGetVarNames");
Krv_Timer gCalcCellGetVarCoords(L"gCalcCellGetVarCoords");
Krv_Timer gCalcCellGetVarCoordName(L"gCalcCellGetVarCoordName");
Krv_Timer gCalcCellReplaceVariables(L"gCalcCellReplaceVariables");

namespace krv::standards {

const std::vector<Krv_Timer*>& standardsTimers() {
  static const std::vector<Krv_Timer*> all = {
      &gLoadFile,
      &gInitSSForInput,
      &gSSSGetFromMacro,
      &gInitMapping,
      &gInitFromMacro,
      &gSetMacroValuelsToSS,
      &gSSSreplaceGenVars,
      &gCalcMain,
      &gSetToMacro,
      &gGetFromVars,
      &gCalcChild,
      &gSetToVars,
      &gRegisterFuntions,
      &gFindDuplicates,
      &gCalcCells,
      &gCalcCellSplitSymbol,
      &gCalcCellFindVarCell,
      &gCalcCellFindFunctions,
      &gCalcCellCalcNativeFunctions,
      &gCalcCellCalcFunctionsPrepare,
      &gCalcCellCalcFunctions,
      &gCalcCellGetVarNames,
      &gCalcCellGetVarCoords,
      &gCalcCellGetVarCoordName,
      &gCalcCellReplaceVariables,
  };
  return all;
}

void resetStandardsTimers() {
  for (Krv_Timer* t : standardsTimers()) t->reset();
}

}  // namespace krv::standards
