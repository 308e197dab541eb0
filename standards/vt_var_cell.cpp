// One variable declaration of a standards sheet and its value.
#include "standards/vt_var_cell.h"

#include "standards/vt_ss_mapping.h"

Acad::ErrorStatus VtVarCell::setValueFromMacro(VtSSMapping& mapping, VtDlgStandardsData& data) {
  return mapping.getMacroVarValue(mName, mValueType, mValue, data);
}

Acad::ErrorStatus VtVarCell::setValueToMacro(VtSSMapping& mapping, VtDlgStandardsData& data) {
  return mapping.setMacroVarValue(mName, mValueType, mValue, data);
}

Acad::ErrorStatus VtVarCell::setNewValue(const Krv_String& value) {
  mValue = value;
  return Acad::eOk;
}
