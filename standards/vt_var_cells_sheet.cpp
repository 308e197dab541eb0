// The transfers of the variable cells to and from their sheet.
#include "spread/krv_spread.h"
#include "standards/vt_var_cells.h"

Acad::ErrorStatus VtVarCells::getValuesFromSS(Krv_Spread& sheet) {
  for (auto& cell : mCells) {
    if (!cell.isOutput()) continue;
    Krv_String value;
    if (cell.getCurrentValue(sheet, value) != Acad::eOk) return Acad::eInvalidInput;
    cell.setNewValue(value);
  }
  return Acad::eOk;
}

Acad::ErrorStatus VtVarCells::setValuesToSS(Krv_Spread& sheet) {
  for (auto& cell : mCells)
    if (cell.setValueToSS(sheet) != Acad::eOk) return Acad::eInvalidInput;
  return Acad::eOk;
}
