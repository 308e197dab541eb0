#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/status.h"
#include "platform/sheet/cell_address.h"
#include "platform/sheet/formula_code.h"

namespace krv::sheet {

class CustomFunctionTable;

// Limits that keep hostile formulas from exhausting memory or the stack.
inline constexpr size_t kMaxFormulaLength = 65536;  // bytes of source text
inline constexpr int kMaxNestingDepth = 128;        // parentheses, calls, unary operators

struct ParseOptions {
  ReferenceStyle style = ReferenceStyle::Default;
  int32_t hostCol = 1;  // the cell that holds the formula (R1C1 relative parts)
  int32_t hostRow = 1;
  const CustomFunctionTable* customFunctions = nullptr;
};

// Compiles a formula. A leading "=" is optional. An error saying why for
// text the language cannot parse: syntax errors,
// wrong argument counts of known functions, too long or too deeply nested
// formulas. Unknown names and functions compile (they give #NAME?), and
// references outside the sheet compile (they give #REF!).
krv::base::Result<FormulaCode> parseFormula(std::string_view text, const ParseOptions& options);

// Rewrites the references of a formula from one reference style into the
// other (texts, names and everything else stay as written); nullopt when
// the formula cannot be read.
std::optional<std::string> convertReferenceStyle(std::string_view text, ReferenceStyle from,
                                                 ReferenceStyle to, int32_t hostCol,
                                                 int32_t hostRow);

// Re-addresses the references of a formula, written in `style` in the cell
// (hostCol, hostRow), for rows or columns that were inserted, deleted or
// exchanged: a reference follows the line it points at, whether relative
// or absolute; a range widens when lines are inserted inside it and
// narrows when some of its lines are deleted; a reference whose lines are
// all deleted becomes #REF!. R1C1 relative parts are written relative to
// the place the host cell moves to. References that do not change keep
// their text as written. nullopt when the formula cannot be read.
std::optional<std::string> readdressReferences(std::string_view text, ReferenceStyle style,
                                               int32_t hostCol, int32_t hostRow,
                                               const LineShift& shift);

}  // namespace krv::sheet
