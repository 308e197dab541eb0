#pragma once
#include "platform/acad/acad_status.h"
#include "platform/core/krv_array.h"
#include "platform/core/krv_timer.h"
#include "standards/vt_ss_mapping.h"
#include "standards/vt_var_cell.h"

class Krv_Spread;
class VtDlgStandardsData;

// Time spent setting up the mapping and fetching the values from the
// macro, over all evaluations.
extern Krv_Timer gInitMapping;
extern Krv_Timer gInitFromMacro;

// VtVarCells: the variable cells of one standards sheet, in the order they
// were appended, and the mapping that ties their names to the macro.
class VtVarCells {
 public:
  VtVarCells() = default;
  virtual ~VtVarCells() = default;
  VtVarCells(const VtVarCells&) = default;
  VtVarCells& operator=(const VtVarCells&) = default;

  // Sets up the mapping (for the record's module group, or from the mapping
  // file for a macro) and fetches the value of every input and output from
  // the macro; locals are emptied. A value that cannot be fetched keeps the
  // cell's previous value and, while the calculation messages setting is
  // on, a warning names it. eInvalidInput only for a record with neither a
  // module group nor a macro; when the mapping cannot be set up the cells
  // stay untouched and the result is eOk.
  Acad::ErrorStatus getFromMacro(VtDlgStandardsData& data);
  // Writes every output into the macro; failures of single outputs are
  // ignored. Always eOk.
  Acad::ErrorStatus setToMacro(VtDlgStandardsData& data);
  // Reads every output's value text from the sheet; stops with
  // eInvalidInput at the first read that fails.
  Acad::ErrorStatus getValuesFromSS(Krv_Spread& sheet);
  // Writes every cell (format and value) into the sheet; stops with
  // eInvalidInput at the first write that fails.
  Acad::ErrorStatus setValuesToSS(Krv_Spread& sheet);
  // Every input of this list has a cell of the same name in the other list
  // (any kind) with the same value type and value text (ignoring case).
  bool hasSameInput(const VtVarCells& other) const;
  // The first cell of that name (ignoring case).
  Acad::ErrorStatus findVarCell(const Krv_String& name, int& index) const;

  int length() const { return mCells.length(); }
  const VtVarCell& operator[](int i) const { return mCells[i]; }
  VtVarCell& operator[](int i) { return mCells[i]; }
  int append(const VtVarCell& cell) { return mCells.append(cell); }
  void removeAt(int i) { mCells.removeAt(i); }
  // Empties the cells; the mapping stays.
  void resetVarCells() { mCells.removeAll(); }
  const VtSSMapping& mapping() const { return mMapping; }
  VtSSMapping& mapping() { return mMapping; }

 private:
  Krv_Array<VtVarCell> mCells;
  VtSSMapping mMapping;
};
