#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sheet/cell_address.h"
#include "platform/sheet/cell_value.h"

namespace krv::sheet {

// A rectangle of values: an array constant such as {1,2;3,4} or the
// element-wise result of an operator on arrays. Row-major.
struct Matrix {
  int32_t rows = 0;
  int32_t cols = 0;
  std::vector<Value> values;
  const Value& at(int32_t r, int32_t c) const { return values[static_cast<size_t>(r) * cols + c]; }
};

// A reference written in a formula: one cell, or a rectangle between two
// corners. Whole columns (A:B) and whole rows (1:3) are rectangles that
// run to the last row or column of the sheet.
struct AreaRef {
  CellAddress first;
  CellAddress last;
  bool wholeColumns = false;
  bool wholeRows = false;
  // Only the position of the reference is read (the whole argument of ROW,
  // COLUMN, ROWS or COLUMNS), never its cells' values: the formula does not
  // depend on those cells, so referring to its own cell is no cycle.
  bool positionOnly = false;
  bool isSingleCell() const {
    return !wholeColumns && !wholeRows && first.col == last.col && first.row == last.row;
  }
};

// Instructions of a compiled formula, run on a value stack.
enum class Op : uint8_t {
  Number,   // push numbers[a]
  Text,     // push texts[a]
  Bool,     // push a != 0
  Error,    // push error a
  Missing,  // push an omitted argument
  Area,     // push the reference areas[a]
  Array,    // push arrays[a]
  Neg,
  Plus,
  Percent,
  Add,
  Sub,
  Mul,
  Div,
  Pow,
  Concat,
  Eq,
  Ne,
  Lt,
  Le,
  Gt,
  Ge,
  Intersect,     // intersection of two references (the blank operator)
  Call,          // built-in function a with argc arguments
  CallName,      // function by name texts[a] (custom, or unknown: #NAME?)
  JumpIfNot,     // pop a condition: error -> push it and jump to a; false -> jump to a
  Jump,          // jump to a
  JumpIfNoError  // keep the top and jump to a unless it is an error; else pop it
};

struct Instr {
  Op op;
  uint8_t arrayContext = 0;  // operators on ranges work element-wise
  uint16_t argc = 0;
  uint32_t a = 0;
};

// A parsed formula, ready to evaluate again and again.
struct FormulaCode {
  std::vector<Instr> code;
  std::vector<double> numbers;
  std::vector<std::string> texts;
  std::vector<AreaRef> areas;
  std::vector<std::shared_ptr<const Matrix>> arrays;
  bool usesVolatileNames = false;  // calls functions resolved by name at run time
};

}  // namespace krv::sheet
