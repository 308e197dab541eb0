#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/base/status.h"
#include "platform/sheet/cell_address.h"
#include "platform/sheet/cell_grid.h"
#include "platform/sheet/custom_function.h"
#include "platform/sheet/evaluator.h"
#include "platform/sheet/formula_code.h"

namespace krv::sheet {

// The cell document of the spreadsheet control: a sheet of maxCols x
// maxRows cells (columns and rows from 1), each holding a value and
// optionally a formula, plus the formula engine that keeps the values of
// formula cells up to date.
//
// * A formula set into a cell is parsed once and evaluated at once, also
//   while automatic calculation is off; a formula that cannot be parsed is
//   refused and the cell keeps its previous content.
// * With automatic calculation on, every change recalculates the formulas
//   that depend on the changed cell, in dependency order.
// * A circular reference gives #REF! in every formula of the cycle (never a
//   hang): a formula that refers to its own cell, and every formula of a
//   cycle found by a recalculation. A reference that is the whole argument
//   of ROW, COLUMN, ROWS or COLUMNS is read for its position only and makes
//   no dependency, so =ROW(A1) in A1 is no cycle.
// * References outside the sheet's current size give #REF!.
class CellDocument {
 public:
  explicit CellDocument(int32_t maxCols = kMaxColumnLimit, int32_t maxRows = kMaxRowLimit);
  ~CellDocument();
  CellDocument(const CellDocument&) = delete;
  CellDocument& operator=(const CellDocument&) = delete;

  // ---- size and settings ----------------------------------------------
  int32_t maxCols() const { return mMaxCols; }
  int32_t maxRows() const { return mMaxRows; }
  // Sets the count (0 .. 16384 columns, 0 .. 1048576 rows); cells beyond a
  // smaller count are removed. False for a count outside those limits.
  bool setMaxCols(int32_t count);
  bool setMaxRows(int32_t count);

  ReferenceStyle referenceStyle() const { return mStyle; }
  // The style in which formulas set afterwards are read (0, 1 or 2).
  void setReferenceStyle(ReferenceStyle style) { mStyle = style; }

  bool autoCalc() const { return mAutoCalc; }
  void setAutoCalc(bool on) { mAutoCalc = on; }

  // ---- content ----------------------------------------------------------
  // Enters text as a person types it into a cell: "=..." is a formula;
  // a number ("12.5", "1,000", "5%") a number; TRUE/FALSE a boolean; an
  // error text such as "#N/A" that error; an empty text empties the cell;
  // anything else is text. An error (cell unchanged) for a cell outside the
  // sheet or a formula that cannot be parsed.
  krv::base::Status setCellText(int32_t col, int32_t row, std::string_view text);
  // Stores a value (removing any formula). False outside the sheet.
  bool setValue(int32_t col, int32_t row, Value value);
  // Sets a formula; the leading "=" is optional. See the class comment.
  // An error (cell unchanged) outside the sheet or for a formula that
  // cannot be parsed.
  krv::base::Status setFormula(int32_t col, int32_t row, std::string_view formula);
  // Empties a cell (value and formula). False outside the sheet.
  bool clearCell(int32_t col, int32_t row);

  bool contains(int32_t col, int32_t row) const {
    return col >= 1 && row >= 1 && col <= mMaxCols && row <= mMaxRows;
  }
  // The cell's value (empty for an empty cell or a cell outside the sheet).
  const Value& value(int32_t col, int32_t row) const { return mGrid.value(col, row); }
  // The value as the cell shows it: through the value formatter when one
  // is set, else in the General format (numbers with up to 15 significant
  // digits, TRUE/FALSE, error texts).
  std::string valueText(int32_t col, int32_t row) const;
  bool hasFormula(int32_t col, int32_t row) const;
  // The formula as set, with a leading "="; empty without a formula.
  std::string formulaText(int32_t col, int32_t row) const;
  // Whether the last evaluation of the cell's formula had a custom
  // function report failure.
  bool lastEvaluationFailed(int32_t col, int32_t row) const;

  // ---- rows and columns -------------------------------------------------
  // Moves whole rows or columns (see LineShift): the cells of moved lines
  // go to their new places, the cells of deleted lines are removed, and the
  // references of every formula of the sheet follow their lines (each
  // formula is read in the reference style it was written in). Values are
  // recalculated afterwards. The sheet's size stays: the caller grows it
  // before inserting and shrinks it after deleting. Costs one pass over
  // the cells plus one over the formulas.
  void moveLines(const LineShift& shift);

  // ---- calculation ------------------------------------------------------
  // Recalculates one formula cell (and, with automatic calculation on, its
  // dependents). False when the cell holds no formula.
  bool recalcCell(int32_t col, int32_t row);
  // Recalculates every formula in dependency order.
  void recalcAll();

  // ---- custom functions -------------------------------------------------
  // Registers a function for the formulas of this document; see
  // CustomFunctionTable for names and flags. A formula that calls a name
  // unknown when it runs gives #NAME?.
  bool registerCustomFunction(std::string name, int minArgs, int maxArgs, CustomCallback callback,
                              uint32_t flags = 0);
  CustomFunctionTable& customFunctions() { return mCustom; }

  // ---- display hook -----------------------------------------------------
  // Formats a cell's value for valueText (cell formats plug in here).
  using ValueFormatter = std::function<std::string(int32_t col, int32_t row, const Value& value)>;
  void setValueFormatter(ValueFormatter formatter) { mFormatter = std::move(formatter); }

  // ---- inspection ---------------------------------------------------------
  const CellGrid& grid() const { return mGrid; }
  size_t formulaCount() const { return mFormulas.size() - mFreeIds.size(); }
  // Bytes held by cell blocks and formulas (an estimate for the memory checks).
  size_t memoryBytes() const;

 private:
  struct Formula {
    int32_t col = 0, row = 0;
    std::string source;
    ReferenceStyle style = ReferenceStyle::Default;  // the style the source is written in
    FormulaCode code;
    bool selfReference = false;
    bool customFailed = false;
  };
  struct RangeDep {
    int32_t c1, r1, c2, r2;
    uint32_t id;
  };

  static uint64_t key(int32_t col, int32_t row) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(col)) << 32) | static_cast<uint32_t>(row);
  }
  Formula* formula(uint32_t id) {
    return id && id <= mFormulas.size() ? mFormulas[id - 1].get() : nullptr;
  }
  const Formula* formula(uint32_t id) const {
    return id && id <= mFormulas.size() ? mFormulas[id - 1].get() : nullptr;
  }
  void removeFormulaOf(Cell& cell);
  void freeFormula(uint32_t id);
  bool refersToItself(const Formula& f) const;
  void addDependencies(uint32_t id);
  void removeDependencies(uint32_t id);
  void dependentsOf(int32_t col, int32_t row, std::vector<uint32_t>& out) const;
  void evaluate(uint32_t id);
  void setCircular(uint32_t id);
  void afterChange(int32_t col, int32_t row);
  void recalcDependents(int32_t col, int32_t row);
  void buildOrder();
  void clipArea(const AreaRef& a, int32_t& c1, int32_t& r1, int32_t& c2, int32_t& r2) const;

  int32_t mMaxCols;
  int32_t mMaxRows;
  ReferenceStyle mStyle = ReferenceStyle::Default;
  bool mAutoCalc = false;
  CellGrid mGrid;
  std::vector<std::unique_ptr<Formula>> mFormulas;  // id = index + 1
  std::vector<uint32_t> mFreeIds;
  std::vector<std::unique_ptr<Formula>> mRetired;  // removed while evaluating
  int mEvalDepth = 0;

  std::unordered_map<uint64_t, std::vector<uint32_t>> mCellDeps;
  std::vector<std::vector<RangeDep>> mColumnRangeDeps;  // narrow ranges, per column
  std::vector<RangeDep> mWideRangeDeps;

  uint64_t mGraphVersion = 1;
  uint64_t mOrderVersion = 0;
  std::vector<uint32_t> mOrder;
  std::vector<uint32_t> mCircular;

  CustomFunctionTable mCustom;
  Evaluator mEvaluator;
  ValueFormatter mFormatter;
};

}  // namespace krv::sheet
