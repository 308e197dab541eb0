#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/sheet/cell_grid.h"
#include "platform/sheet/formula_code.h"

namespace krv::sheet {

class CustomFunctionTable;

// One entry of the evaluation stack: a value, a reference to a rectangle
// of cells, an array, or an omitted argument.
struct Item {
  enum Kind : uint8_t { Val, Area, Arr, Missing };
  Kind kind = Val;
  Value v;
  int32_t c1 = 0, r1 = 0, c2 = 0, r2 = 0;  // Area, inclusive
  std::shared_ptr<const Matrix> arr;       // Arr

  static Item value(Value val) {
    Item i;
    i.v = std::move(val);
    return i;
  }
  static Item area(int32_t c1, int32_t r1, int32_t c2, int32_t r2) {
    Item i;
    i.kind = Area;
    i.c1 = c1, i.r1 = r1, i.c2 = c2, i.r2 = r2;
    return i;
  }
  static Item array(std::shared_ptr<const Matrix> m) {
    Item i;
    i.kind = Arr;
    i.arr = std::move(m);
    return i;
  }
  bool isSingleCell() const { return kind == Area && c1 == c2 && r1 == r2; }
  int32_t rows() const { return kind == Area ? r2 - r1 + 1 : kind == Arr ? arr->rows : 1; }
  int32_t cols() const { return kind == Area ? c2 - c1 + 1 : kind == Arr ? arr->cols : 1; }
};

// What a formula sees while it runs: the cells, the sheet's size, the cell
// that holds the formula and the document's custom functions.
struct EvalContext {
  const CellGrid& grid;
  int32_t maxCols;
  int32_t maxRows;
  int32_t hostCol;
  int32_t hostRow;
  const CustomFunctionTable* customFunctions = nullptr;
  bool customFailed = false;  // set when a custom function reported failure

  // The value of an item in a place that wants one value: a single cell's
  // value, the implicit intersection of a range with the host's row or
  // column (#VALUE! when there is none), an array's first element.
  Value scalar(const Item& item) const;
  // The value at (r, c) inside an area or array item, counted from 0.
  const Value& cellOf(const Item& item, int32_t r, int32_t c) const;
};

// Runs compiled formulas. Reusable: keeps its stack between evaluations.
// Re-entrant: a custom function may evaluate formulas of this or another
// document while it runs.
class Evaluator {
 public:
  // The formula's result. An omitted or empty reference result is 0.
  Value evaluate(const FormulaCode& code, EvalContext& ctx);

 private:
  std::vector<Item> mStack;
};

}  // namespace krv::sheet
