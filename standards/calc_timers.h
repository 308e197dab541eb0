#pragma once
// The timers of the calculation engine. Each phase of an evaluation runs
// between start() and end() of one of these process-wide timers, so that a
// report can say where the time of slow standards goes. They add up over
// all evaluations until reset.
#include <vector>

#include "frame/exported_functions.h"
#include "platform/core/krv_timer.h"

// Loading the sheet (standards dialog).
extern KRV_SS_EXPORT Krv_Timer gLoadFile;
// Main mode: general variables taken over and variable cells collected;
// values fetched from the macro; written into the sheet; general variables
// replaced; calculation and reading back; values stored in the macro.
extern KRV_SS_EXPORT Krv_Timer gInitSSForInput;
extern KRV_SS_EXPORT Krv_Timer gSSSGetFromMacro;
extern KRV_SS_EXPORT Krv_Timer gSetMacroValuelsToSS;
extern KRV_SS_EXPORT Krv_Timer gSSSreplaceGenVars;
extern KRV_SS_EXPORT Krv_Timer gCalcMain;
extern KRV_SS_EXPORT Krv_Timer gSetToMacro;
// Child mode: preparation from the passed variables, calculation, outputs
// copied back to the passed variables.
extern KRV_SS_EXPORT Krv_Timer gGetFromVars;
extern KRV_SS_EXPORT Krv_Timer gCalcChild;
extern KRV_SS_EXPORT Krv_Timer gSetToVars;
// Calculation: registering the custom functions, the duplicate check, all
// equation cells.
extern KRV_SS_EXPORT Krv_Timer gRegisterFuntions;
extern KRV_SS_EXPORT Krv_Timer gFindDuplicates;
extern KRV_SS_EXPORT Krv_Timer gCalcCells;
// Per equation cell.
extern KRV_SS_EXPORT Krv_Timer gCalcCellSplitSymbol;
extern KRV_SS_EXPORT Krv_Timer gCalcCellFindVarCell;
extern KRV_SS_EXPORT Krv_Timer gCalcCellFindFunctions;
extern KRV_SS_EXPORT Krv_Timer gCalcCellCalcNativeFunctions;
extern KRV_SS_EXPORT Krv_Timer gCalcCellCalcFunctionsPrepare;
extern KRV_SS_EXPORT Krv_Timer gCalcCellCalcFunctions;
// Replacing variable names by cell references.
extern KRV_SS_EXPORT Krv_Timer gCalcCellGetVarNames;
extern KRV_SS_EXPORT Krv_Timer gCalcCellGetVarCoords;
extern KRV_SS_EXPORT Krv_Timer gCalcCellGetVarCoordName;
extern KRV_SS_EXPORT Krv_Timer gCalcCellReplaceVariables;

namespace krv::standards {

// Every timer of a standards evaluation, in the order of its phases: the
// ones above and the mapping timers of the variable cells (gInitMapping,
// gInitFromMacro) after gSSSGetFromMacro.
const std::vector<Krv_Timer*>& standardsTimers();
// Resets all of them.
void resetStandardsTimers();

}  // namespace krv::standards
