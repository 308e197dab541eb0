#pragma once
// Krv_ListOutputCallback: the receiver of a list (a bill of material, a
// parts or assembly list) that the product walks and feeds row by row. An
// output derives from it and lays the fed rows out, for example in a
// spreadsheet document.
//
// A feed calls, in this order: onStartFeed once; then any sequence of
// onAddRow, onAddSubTotals, onNewPage and onAddSeperation; then onEndFeed
// once. When onStartFeed fails nothing else is called. The base class does
// nothing and succeeds, so an output overrides only what it uses.
//
// Each column of a list has a kind that says how its cells are laid out;
// the kinds are the values of Krv_ListColumnKind, and any other value
// means a column without a particular cell type.
#include <vector>

#include "platform/acad/acad_status.h"
#include "platform/core/krv_array.h"

enum Krv_ListColumnKind : int {
  kListColumnInteger = 1,  // a number without decimals
  kListColumnDecimal = 2,  // a number with one decimal
  kListColumnText = 3,     // a text of at most kListTextLimit characters
};
inline constexpr int kListTextLimit = 200;
// The bounds of the numbers of a number column.
inline constexpr double kListNumberMin = -99999999999999.0;
inline constexpr double kListNumberMax = 99999999999999.0;

// The decimals a column of `kind` shows: 0 or 1 for the number kinds, -1
// for every other kind (not a number column).
int listColumnDecimals(int kind);

class Krv_ListOutputCallback {
 public:
  Krv_ListOutputCallback() = default;
  Krv_ListOutputCallback(const Krv_ListOutputCallback&) = default;
  Krv_ListOutputCallback& operator=(const Krv_ListOutputCallback&) = default;
  virtual ~Krv_ListOutputCallback() = default;

  // Before the first row; anything but eOk stops the feed.
  virtual Acad::ErrorStatus onStartFeed() { return Acad::eOk; }
  // After the last row; its result is the feed's.
  virtual Acad::ErrorStatus onEndFeed() { return Acad::eOk; }
  // The list starts a new page.
  virtual void onNewPage() {}
  // One list row: one text per column, column 1 first.
  virtual void onAddRow(const Krv_StringArray& cells) { (void)cells; }
  // A sub-total row: `cells` holds the totals (one text per column, empty
  // where a column has none); `groupCells` the row that names the group
  // that the totals close, `grandTotal` whether they close the whole list,
  // and `level` the nesting level of that group (1 the outermost).
  virtual void onAddSubTotals(const Krv_StringArray& cells, const Krv_StringArray& groupCells,
                              bool grandTotal, int level) {
    (void)cells, (void)groupCells, (void)grandTotal, (void)level;
  }
  // A separation between two parts of the list.
  virtual void onAddSeperation() {}
};

// One fed entry of a list, as the product's list walker produces them.
struct Krv_ListEntry {
  enum Kind { kRow, kSubTotals, kNewPage, kSeparation };
  Kind kind = kRow;
  Krv_StringArray cells;       // kRow, kSubTotals
  Krv_StringArray groupCells;  // kSubTotals
  bool grandTotal = false;     // kSubTotals
  int level = 0;               // kSubTotals
};

// Feeds `entries` to `output` in the order above and gives onEndFeed's
// result; when onStartFeed fails, its result, and nothing else is called.
Acad::ErrorStatus feedList(Krv_ListOutputCallback& output,
                           const std::vector<Krv_ListEntry>& entries);
