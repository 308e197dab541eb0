#pragma once
// The formula window's list output (CFormula mode 3): a list described by
// ListOutputDescription laid out in a spreadsheet window, then formatted
// after a template sheet.
//
// The layout:
// * the header row (row 0) holds the column names;
// * a title, when there is one, takes row 1 as one cell spanning all
//   columns; the list rows follow, one sheet row per list row;
// * each column gets the cell type of its kind (Krv_ListColumnKind): a
//   number with listColumnDecimals decimals between kListNumberMin and
//   kListNumberMax, else a text of at most kMaxTextLength characters;
// * a merged row is its first text in one cell spanning all columns (a
//   group heading);
// * a total row holds, in every number column, the formula
//   "=sum(#F:#L)" where '#' stands for the column's letters, F for the first
//   row of its group and L for the row above the total: the group is the
//   rows after the previous total row (or from the first list row on). A
//   total with no rows above it in its group holds 0. Its text columns hold
//   the row's own texts ("Total", say).
//
// The template sheet names its rows by their row header text (column 0):
// "Title", "Column Names", "Regular", "Merged" and "Total" (any case). Each
// such row gives the font, colours and borders of its cells (column by
// column; columns beyond the template's take its last column's) to the
// output rows of that kind, "Column Names" to the header row. A span
// anchored in the first column of the "Title" or "Merged" row gives the
// width of those rows' spans instead of all columns (a span over all the
// template's columns spans all the list's). Finally every row is made as
// high as the sample text "WygP" in the tallest font of the row, plus a
// margin, and every column as wide as its widest text (spanning cells
// aside) plus a margin, at least the default width.
#include <string>
#include <vector>

#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"

class Krv_Spread;

struct ListOutputRow {
  enum Kind { kRegular = 0, kMerged = 1, kTotal = 2 };
  Kind kind = kRegular;
  // One text per column, column 1 first; a merged row uses the first only;
  // a total row's texts in number columns are replaced by the formulas.
  Krv_StringArray cells;
};

struct ListOutputDescription {
  Krv_String title;            // empty: no title row
  int columnCount = 0;         // at least 1
  Krv_StringArray headers;     // the column names (fewer: the rest unnamed)
  Krv_Array<int> columnKinds;  // Krv_ListColumnKind per column (fewer: none)
  std::vector<ListOutputRow> rows;
  Krv_String templateFile;  // the template sheet file; empty: no formatting
};

class ListOutputLayout {
 public:
  static constexpr int kMaxTextLength = 9999;
  // The sample text whose height sets the row heights, and the room above
  // and below it.
  static constexpr const wchar_t* kSampleText = L"WygP";
  static constexpr int kRowMargin = 6;
  static constexpr int kColumnMargin = 8;

  // Whether a sheet can hold the list: at least one column, and no more
  // columns or rows than the control takes; else false with the reason.
  static bool check(const ListOutputDescription& list, std::wstring& error);
  // Lays `list` out in `sheet` (created) and formats it after the template
  // file, loaded into `templateSheet` (created; null: no formatting). A
  // description the sheet cannot hold (no columns, more columns or rows
  // than the control takes) is refused with the reason in `error`, and
  // the sheet is left as it was. A template file that cannot be loaded
  // leaves the layout unformatted and says so on the command line; that
  // is not a failure.
  static bool layOut(Krv_Spread& sheet, Krv_Spread* templateSheet,
                     const ListOutputDescription& list, std::wstring& error);

  // The formula of a total row's cell in column `col` over rows first..last.
  static Krv_String totalFormula(int col, int first, int last);
};
