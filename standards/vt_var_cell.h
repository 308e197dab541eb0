#pragma once
#include "platform/acad/acad_status.h"
#include "platform/core/krv_string.h"
#include "standards/vt_value_type.h"

class Krv_Spread;
class VtSSMapping;
class VtDlgStandardsData;
class VtVarCells;
class VtCalcSS;

// VtVarCell: one variable declaration of a standards sheet ("Double L1" in
// a cell of the Input, Output or Local section) with the variable's current
// value as text. The value lives in the declaration cell itself: once
// written, the cell shows the value instead of the declaration.
class VtVarCell {
 public:
  VtVarCell() = default;
  virtual ~VtVarCell() = default;
  VtVarCell(const VtVarCell&) = default;
  VtVarCell& operator=(const VtVarCell&) = default;

  // Makes the cell at (column, row) a variable cell of the given kind. The
  // value text of that cell, stripped of blanks at its ends, must start
  // with "Int", "Double" or "String" (ignoring case, tested in that order);
  // the name is what follows the first blank (empty without a blank). The
  // value stays as it was. eInvalidInput when the sheet cannot be read
  // there or the text starts with no type word (cell unchanged then).
  Acad::ErrorStatus initialize(Krv_Spread& sheet, const int& column, const int& row,
                               const VtCellType& kind);
  // The macro's value of the variable, through the mapping.
  Acad::ErrorStatus setValueFromMacro(VtSSMapping& mapping, VtDlgStandardsData& data);
  // Writes the value into the macro, through the mapping.
  Acad::ErrorStatus setValueToMacro(VtSSMapping& mapping, VtDlgStandardsData& data);
  // Takes the other cell's value and writes it into this cell of the sheet.
  Acad::ErrorStatus setValueFromOther(Krv_Spread& sheet, const VtVarCell& other);

  bool isInput() const { return mCellType == Input; }
  bool isOutput() const { return mCellType == Output; }
  bool isLocal() const { return mCellType == Local; }

  const Krv_String& name() const { return mName; }
  VtCellType cellType() const { return mCellType; }
  const Krv_String& value() const { return mValue; }
  VtValueType valueType() const { return mValueType; }
  int column() const { return mColumn; }
  int row() const { return mRow; }
  // For records built without a sheet (child calls, tests).
  void set(const Krv_String& name, VtCellType kind, VtValueType type, const Krv_String& value,
           int column = 0, int row = 0) {
    mName = name, mCellType = kind, mValueType = type, mValue = value, mColumn = column, mRow = row;
  }

 private:
  friend class VtVarCells;
  friend class VtCalcSS;

  // Replaces the value; the sheet is not touched.
  Acad::ErrorStatus setNewValue(const Krv_String& value);
  // Replaces the value and writes it into the sheet.
  Acad::ErrorStatus setNewValue(Krv_Spread& sheet, const Krv_String& value);
  // Writes the cell format of the value type (Int: number with 0 decimals,
  // Double: number with 7 decimals, both between -99999999999999 and
  // 99999999999999 without thousands separator; String: edit text of at
  // most 9999 characters) and the value into the sheet.
  Acad::ErrorStatus setValueToSS(Krv_Spread& sheet);
  // The value text of the cell at (column, row).
  Acad::ErrorStatus getCurrentValue(Krv_Spread& sheet, Krv_String& value);

  Krv_String mName;
  VtCellType mCellType = Input;
  Krv_String mValue;
  VtValueType mValueType = String;
  int mColumn = 0;
  int mRow = 0;
};
