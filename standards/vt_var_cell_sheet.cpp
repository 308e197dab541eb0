// The operations of a variable cell on its sheet.
#include "platform/core/text_functions.h"
#include "platform/sheet/ss_api.h"
#include "spread/krv_spread.h"
#include "standards/vt_var_cell.h"

Acad::ErrorStatus VtVarCell::initialize(Krv_Spread& sheet, const int& column, const int& row,
                                        const VtCellType& kind) {
  Krv_String text;
  if (!sheet.getCellString(column, row, text, Value)) return Acad::eInvalidInput;
  stripSymbols(text, L' ', true, false);
  VtValueType type;
  if (text.startsWith(L"Int", false))
    type = Int;
  else if (text.startsWith(L"Double", false))
    type = Double;
  else if (text.startsWith(L"String", false))
    type = String;
  else
    return Acad::eInvalidInput;
  mValueType = type;
  mName = text.find(L' ') >= 0 ? getSubstrAfter(text, L" ", false) : Krv_String();
  mColumn = column;
  mRow = row;
  mCellType = kind;
  return Acad::eOk;
}

Acad::ErrorStatus VtVarCell::setValueFromOther(Krv_Spread& sheet, const VtVarCell& other) {
  return setNewValue(sheet, other.mValue);
}

Acad::ErrorStatus VtVarCell::setNewValue(Krv_Spread& sheet, const Krv_String& value) {
  mValue = value;
  return setValueToSS(sheet);
}

Acad::ErrorStatus VtVarCell::setValueToSS(Krv_Spread& sheet) {
  SS_CELLTYPE format;
  const HWND window = sheet.GetSafeHwnd();
  if (mValueType == String)
    SSSetTypeEdit(window, &format, 0, 9999);
  else
    SSSetTypeNumber(window, &format, 0, mValueType == Int ? 0 : 7, -99999999999999.0,
                    99999999999999.0);
  SSSetCellTypeRange(window, mColumn, mRow, mColumn, mRow, &format);
  return sheet.setCellValue(mColumn, mRow, mValue) ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus VtVarCell::getCurrentValue(Krv_Spread& sheet, Krv_String& value) {
  return sheet.getCellString(mColumn, mRow, value, Value) ? Acad::eOk : Acad::eInvalidInput;
}
