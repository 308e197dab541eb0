#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace krv::sheet {

// Largest column and row numbers the formula language can write.
inline constexpr int32_t kMaxColumnLimit = 16384;  // XFD
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

// A move of whole rows (or columns) of a sheet: `count` lines inserted
// before line `first`, lines first .. first+count-1 deleted, or lines
// `first` and `other` exchanged. References follow their lines.
struct LineShift {
  enum class Kind { Insert, Delete, Swap };
  Kind kind = Kind::Insert;
  bool rows = true;  // rows, or columns when false
  int32_t first = 1;
  int32_t count = 1;
  int32_t other = 1;

  static LineShift insert(bool rows, int32_t at, int32_t count) {
    return {Kind::Insert, rows, at, count, 0};
  }
  static LineShift remove(bool rows, int32_t first, int32_t count) {
    return {Kind::Delete, rows, first, count, 0};
  }
  static LineShift swap(bool rows, int32_t a, int32_t b) { return {Kind::Swap, rows, a, 1, b}; }

  // The new index of line i (>= 1); 0 when the line is deleted. May exceed
  // the language's limits after an insertion.
  int32_t map(int32_t i) const;
  // The new bounds of the lines lo..hi taken as one block: an insertion
  // inside the block widens it, a deletion narrows it, an exchange moves
  // a one-line block and leaves wider blocks as they are. False when every
  // line of the block is deleted.
  bool mapBlock(int32_t& lo, int32_t& hi) const;
};

// Parses a whole text such as "B12" or "$AA$3" (A1 style).
std::optional<CellAddress> parseA1(std::string_view text);

// Writes an address in A1 style ("$B$12" when absolute) or in R1C1 style
// relative to the host cell ("R[-1]C2").
std::string formatA1(const CellAddress& a);
std::string formatR1C1(const CellAddress& a, int32_t hostCol, int32_t hostRow);

}  // namespace krv::sheet
