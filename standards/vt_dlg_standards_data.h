#pragma once
#include "platform/acad/ac_db.h"
#include "platform/acad/acad_status.h"
#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"
#include "standards/vt_var_cells.h"

class Krv_DbMacro;
class MacroData;

// VtDlgStandardsData: the record of one standards evaluation. The caller
// fills it (standards name, macro, caller name, transaction, macro data,
// general variables) and the engine reads the macro through it and leaves
// the variable cells of the run in it. The record does not own the macro,
// the transaction or the macro data.
class VtDlgStandardsData {
 public:
  VtDlgStandardsData() = default;
  virtual ~VtDlgStandardsData() = default;
  VtDlgStandardsData(const VtDlgStandardsData&) = default;
  VtDlgStandardsData& operator=(const VtDlgStandardsData&) = default;

  // Sets up the record for a main evaluation: fails (record unchanged)
  // without a database macro or macro data. The module group becomes the
  // part of the caller name after its first "." when the name begins with
  // "Module." (ignoring case), else empty. The transaction, the general
  // variables and the variable cells are left as they are.
  Acad::ErrorStatus initialize(Krv_DbMacro* dbMacro, Krv_String standardsName,
                               Krv_String callerName, MacroData* macroData);

  // The record names a module group (the caller was a module group).
  bool hasModuleGroup() const { return !mModuleGroup.isEmpty(); }

  // The kind of evaluation; kLoadOnly (and any other value) loads the
  // standards sheet and evaluates nothing.
  static constexpr int kMainEvaluation = 0, kChildEvaluation = 1, kLoadOnly = 2;
  int mMode = kMainEvaluation;
  // The standards sheet: a name below "Connection Standards\" or a path.
  Krv_String mStandardsName;
  Krv_DbMacro* mDbMacro = nullptr;
  // The caller's name: the key of the mapping in the mapping file.
  Krv_String mCallerName;
  Krv_String mModuleGroup;
  AcTransaction* mTransaction = nullptr;
  MacroData* mMacroData = nullptr;
  Krv_StringArray mGenVarNames;
  Krv_StringArray mGenVarValues;
  VtVarCells mVarCells;
};
