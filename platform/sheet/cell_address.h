#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace krv::sheet {

// Largest column and row numbers the formula language can write.
inline constexpr int32_t kMaxColumnLimit = 16384;    // XFD
inline constexpr int32_t kMaxRowLimit = 1048576;

// The control's reference style setting: 0 default (A1), 1 A1, 2 R1C1.
enum class ReferenceStyle { Default = 0, A1 = 1, R1C1 = 2 };

// Column letters of a column number from 1 (1 -> A, 27 -> AA); empty for
// a number outside 1..16384.
std::string columnLetters(int32_t column);
// Column number of letters (case ignored); 0 when they are no column.
int32_t columnFromLetters(std::string_view letters);

// One reference as written: column and row from 1, each absolute or
// relative. A relative part of an R1C1 reference is already resolved
// against the cell that holds the formula, so col/row are always the
// addressed cell; they may be out of range (<1) when a relative offset
// points outside the sheet.
struct CellAddress {
  int32_t col = 0;
  int32_t row = 0;
  bool colAbs = false;
  bool rowAbs = false;
};

// Parses a whole text such as "B12" or "$AA$3" (A1 style).
std::optional<CellAddress> parseA1(std::string_view text);

// Writes an address in A1 style ("$B$12" when absolute) or in R1C1 style
// relative to the host cell ("R[-1]C2").
std::string formatA1(const CellAddress& a);
std::string formatR1C1(const CellAddress& a, int32_t hostCol, int32_t hostRow);

}  // namespace krv::sheet
