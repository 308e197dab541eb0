#pragma once
// VtCalcSS: the calculation engine of connection standards. It is the
// spreadsheet control of a hidden standards dialog: it loads a standards
// sheet, collects the variable declarations of its Input, Output and Local
// sections, fills the inputs (from a macro, or from the variables a parent
// sheet passed), evaluates every cell of the Calc section in reading order
// and hands the outputs back.
//
// An equation cell is either "name = expression", evaluated by the control
// after the variable names in it were replaced by the references of their
// declaration cells, or a text containing "CallChild(child, var, ...)",
// which evaluates another standards sheet in a further pooled standards
// dialog, binding the passed variables to the child's inputs and then its
// outputs by position. A child call whose sheet is already being evaluated
// further up the chain, or that would nest deeper than kMaxNesting sheets,
// is refused.
//
// All operations giving Acad::ErrorStatus give eOk or eInvalidInput.
#include <functional>
#include <string>
#include <unordered_map>

#include "frame/exported_functions.h"
#include "platform/acad/acad_status.h"
#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"
#include "spread/krv_spread.h"
#include "standards/vt_calc_ss_words.h"
#include "standards/vt_dlg_standards_data.h"
#include "standards/vt_var_cells.h"

namespace krv::standards {

// One step of an evaluation, for tracing tools.
struct CalcTraceEvent {
  enum Kind { Equation, ChildStart, ChildEnd };
  Kind kind = Equation;
  int depth = 0;    // 0 for the sheet evaluated first, 1 for its children, ...
  Krv_String file;  // the sheet being evaluated (ChildStart/End: the child)
  int column = 0, row = 0;
  Krv_String target;      // the assigned variable; empty for a child call
  Krv_String expression;  // after the replacement of variable names
  Krv_String result;      // the value assigned, or why the cell (ChildEnd: the child) failed
  bool ok = true;
};
using CalcTraceSink = std::function<void(const CalcTraceEvent&)>;
// Installs the sink that receives every evaluated equation cell and child
// call (an empty sink: none) and gives the previous one.
CalcTraceSink setCalcTraceSink(CalcTraceSink sink);

// Why the last standards evaluation (StartDlgStandardsSS) failed, in
// words: the loader's reason, the missing section keyword, the binding of
// the passed variables, ... Empty after an evaluation that succeeded. The
// engine's messages stay as they are; this is for callers that report the
// failure themselves (a command-line tool, a trace).
const Krv_String& lastCalcFailure();
void setLastCalcFailure(const Krv_String& reason);

// The library folder's standards folders.
inline constexpr wchar_t kStandardsFolder[] = L"Connection Standards\\";

}  // namespace krv::standards

class KRV_SS_EXPORT VtCalcSS : public Krv_Spread {
 public:
  // The deepest chain of sheets evaluating one another.
  static constexpr int kMaxNesting = 32;

  VtCalcSS();
  // Copies the file name, the variable cells and the general variables;
  // the copy has no control window of its own.
  VtCalcSS(const VtCalcSS& other);
  ~VtCalcSS() override;

  // Loads a sheet: `name` when such a file exists (wildcards count when
  // anything matches), else the library's "Connection Standards\" + name +
  // ".vts". Automatic calculation and redraw go off, options 12 and 13 on.
  // On success mFileName is the path; on failure it keeps its old value.
  Acad::ErrorStatus loadFile(const Krv_String& name);
  // Rebuilds mVarCells (its mapping stays) from the Input, Output and
  // Local sections. Each section runs from the row below its keyword to the
  // next keyword's first data row, so that row is scanned twice when the
  // next section lies below. Fails when Input or Output is missing (the
  // sections found are still collected).
  Acad::ErrorStatus initVarCells();

  // Main mode: needs the record's macro and transaction; takes over the
  // general variables, collects the variable cells, fetches their values
  // from the macro, writes them into the sheet and replaces the general
  // variables in every cell.
  Acad::ErrorStatus initSSForInput(VtDlgStandardsData& data);
  // Main mode: calculates, reads the outputs back and stores them in the
  // macro.
  Acad::ErrorStatus calcMain(VtDlgStandardsData& data);
  // Child mode: takes over the general variables, collects the variable
  // cells, empties the locals and binds the record's variables to the
  // sheet's inputs and then outputs by position (surplus ones are
  // ignored). Fails when the sheet declares more inputs and outputs than
  // were passed, or when an output would be bound to a passed input.
  Acad::ErrorStatus getFromVars(VtDlgStandardsData& data);
  // Child mode: calculates and copies each output's value to the passed
  // variable at its position.
  Acad::ErrorStatus calcChild(VtVarCells& vars);

  // ---- the steps, for the dialog, the macro editor and tests -------------------
  // Registers the custom functions, removes duplicate variable names (with
  // a message naming them) and evaluates every cell of the Calc section in
  // reading order; a failing cell does not stop the others. Fails without
  // a Calc section.
  Acad::ErrorStatus calculate();
  // Evaluates one equation cell (see the class comment). Empty cells fail
  // silently; other failures show the equation message while the
  // calculation messages setting is on.
  Acad::ErrorStatus calcCell(int column, int row);
  Acad::ErrorStatus registerFunctions();
  // Replaces the names of the variable cells in `expression` by the cell
  // references of their declarations (whole words only).
  Acad::ErrorStatus replaceVariables(Krv_String& expression);
  // Replaces the general variables by their values in every cell's text
  // (texts quoted unless they are numbers); writes only changed cells.
  Acad::ErrorStatus replaceGenVars();
  // Replaces each whole-word occurrence of names[i] (ignoring case) by
  // values[i], pairs up to the shorter list, names in order. A word is a run
  // of ASCII letters, digits and "_". With `quote`, a value that is not a
  // number is inserted between double quotes. True when anything changed.
  static bool replaceWholeWords(Krv_String& text, const Krv_StringArray& names,
                                const Krv_StringArray& values, bool quote);
  // Evaluates the child call in `expression` for the program function
  // `function` ("CallChild").
  Acad::ErrorStatus callChild(const Krv_String& expression, const Krv_String& function);
  // The first existing of: the name; this sheet's folder + the name; the
  // library's "Connection Standards\", "...\Childs\", "...\Data\" and
  // "...\Parents\" + the name. The name itself when none exists.
  Krv_String findChildFile(const Krv_String& name) const;
  // The row below the first cell (row by row) whose value text is the
  // keyword (ignoring case); -1 and eInvalidInput when there is none.
  Acad::ErrorStatus findSectionStart(const Krv_String& keyword, int& row) const;
  // Appends the declarations of rows first..last (clamped to the sheet's
  // last row), columns 1..last, as variable cells of `kind`. Fails for a
  // first row of -1.
  Acad::ErrorStatus addVarCells(int first, int last, VtCellType kind);
  // Removes variable cell `index`; fails for an index outside the list.
  Acad::ErrorStatus removeVarCell(int index);

  // Why the last step of this engine that failed did so (see
  // krv::standards::lastCalcFailure); empty when none failed since clearFailure().
  const Krv_String& failureReason() const { return mFailure; }
  void clearFailure() { mFailure.setEmpty(); }

  // The text of the equation message for a failed cell.
  Krv_String equationMessageText(const Krv_String& target, const Krv_String& expression,
                                 int row) const;

  Krv_String mFileName;
  VtVarCells mVarCells;
  Krv_StringArray mGenVarNames;
  Krv_StringArray mGenVarValues;

 private:
  // Names and references of the variable cells, built once per calculation
  // (the list does not change while equations are evaluated).
  struct VarIndex {
    bool valid = false;
    Krv_StringArray names, references;
    // Lower-cased ASCII name -> first cell; used when every name is ASCII.
    std::unordered_map<std::wstring, int> byName;
    bool asciiNames = true;
  };
  void invalidateIndex() { mIndex.valid = false; }
  const VarIndex& varIndex();
  Acad::ErrorStatus findVar(const Krv_String& name, int& index);
  // Records why a step failed and gives eInvalidInput.
  Acad::ErrorStatus fail(const Krv_String& reason);
  void showEquationMessage(const Krv_String& target, const Krv_String& expression, int row) const;
  void trace(const Krv_String& target, const Krv_String& expression, int column, int row,
             const Krv_String& result, bool ok) const;

  VarIndex mIndex;
  krv::standards::WholeWordReplacer mReplacer;
  Krv_String mFailure;
};
