#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "platform/sheet/cell_value.h"

namespace krv::sheet {

// One cell of the document: its value, the formula that computes it (an
// index into the document's formula table, 0 for none) and an index into
// a table of further attributes (0 for none) that formats, types and styles
// can use without growing every cell.
struct Cell {
  Value value;
  uint32_t formula = 0;
  uint32_t attributes = 0;
  bool isBlank() const { return value.isEmpty() && formula == 0 && attributes == 0; }
  // Holds a value or a formula (attributes alone do not fill a cell).
  bool isFilled() const { return !value.isEmpty() || formula != 0; }
};

// Sparse cell storage: per column a vector of blocks of consecutive rows,
// allocated when a cell in them is first written. Reading a cell that was
// never written costs two index look-ups; scanning a column runs through
// contiguous memory. Columns and rows count from 1.
class CellGrid {
 public:
  static constexpr int32_t kBlockRows = 256;

  // The cell, or null when its block was never allocated.
  const Cell* find(int32_t col, int32_t row) const {
    if (col < 1 || row < 1 || static_cast<size_t>(col) > mColumns.size()) return nullptr;
    const Column& c = mColumns[col - 1];
    size_t b = static_cast<size_t>(row - 1) / kBlockRows;
    if (b >= c.size() || !c[b]) return nullptr;
    return &(*c[b])[(row - 1) % kBlockRows];
  }
  Cell* find(int32_t col, int32_t row) {
    return const_cast<Cell*>(static_cast<const CellGrid*>(this)->find(col, row));
  }
  const Value& value(int32_t col, int32_t row) const {
    const Cell* c = find(col, row);
    return c ? c->value : emptyValue();
  }
  // The cell, allocating its block when needed. col and row must be >= 1.
  Cell& at(int32_t col, int32_t row);

  // Calls f(col, row, cell) for every allocated cell slot in the rectangle,
  // column by column, rows ascending. Slots of allocated blocks that were
  // never written are passed too (they are blank).
  template <class F>
  void forEachAllocated(int32_t c1, int32_t r1, int32_t c2, int32_t r2, F&& f) const {
    if (c1 < 1) c1 = 1;
    if (r1 < 1) r1 = 1;
    if (c2 > static_cast<int32_t>(mColumns.size())) c2 = static_cast<int32_t>(mColumns.size());
    for (int32_t col = c1; col <= c2; ++col) {
      const Column& c = mColumns[col - 1];
      int32_t lastRow = static_cast<int32_t>(c.size()) * kBlockRows;
      int32_t end = r2 < lastRow ? r2 : lastRow;
      for (int32_t row = r1; row <= end;) {
        size_t b = static_cast<size_t>(row - 1) / kBlockRows;
        int32_t blockEnd = static_cast<int32_t>((b + 1) * kBlockRows);
        int32_t stop = end < blockEnd ? end : blockEnd;
        if (!c[b]) {
          row = stop + 1;
          continue;
        }
        const Block& blk = *c[b];
        for (; row <= stop; ++row) f(col, row, blk[(row - 1) % kBlockRows]);
      }
    }
  }

  // Calls f(block, col) for every allocated block of the columns c1..c2,
  // column by column; block b holds the rows b * kBlockRows + 1 and on.
  template <class F>
  void forEachBlock(int32_t c1, int32_t c2, F&& f) const {
    if (c1 < 1) c1 = 1;
    if (c2 > static_cast<int32_t>(mColumns.size())) c2 = static_cast<int32_t>(mColumns.size());
    for (int32_t col = c1; col <= c2; ++col) {
      const Column& c = mColumns[col - 1];
      for (size_t b = 0; b < c.size(); ++b)
        if (c[b]) f(static_cast<int32_t>(b), col);
    }
  }

  // One past the highest column and row that have an allocated block.
  int32_t allocatedColumns() const { return static_cast<int32_t>(mColumns.size()); }
  int32_t allocatedRows() const;

  // Frees the blocks of columns or rows beyond the limits (after a sheet
  // shrinks). Does not touch formulas: the document does.
  void truncate(int32_t maxCols, int32_t maxRows);
  void clear() {
    mColumns.clear();
    ++mLayoutVersion;
  }
  size_t blockCount() const;
  static size_t blockBytes() { return sizeof(Block); }

  // Changes whenever a block is allocated or freed, so that a walk over the
  // blocks knows when to look at them again.
  uint64_t layoutVersion() const { return mLayoutVersion; }

  static const Value& emptyValue() {
    static const Value empty;
    return empty;
  }

 private:
  using Block = std::array<Cell, kBlockRows>;
  using Column = std::vector<std::unique_ptr<Block>>;
  std::vector<Column> mColumns;
  uint64_t mLayoutVersion = 0;
};

// Walks the filled cells of a rectangle in reading order: row by row, each
// row's columns ascending. Only allocated blocks are looked at, so the cost
// follows the cells a sheet holds, not the size it declares.
//
// The walk is live: the code between two steps may write to the grid (also
// allocating or freeing blocks), and the next step finds the first cell
// behind the current one that is filled at that moment. It therefore
// visits exactly the cells that a scan of every position of the rectangle
// would find filled when it reaches them.
class FilledCellWalk {
 public:
  FilledCellWalk(const CellGrid& grid, int32_t c1, int32_t r1, int32_t c2, int32_t r2);
  // Moves to the next filled cell; false when there is none.
  bool next(int32_t& col, int32_t& row);

 private:
  // (block, column) of every allocated block of the rectangle's columns, sorted.
  using Slot = std::pair<int32_t, int32_t>;
  void index();

  const CellGrid& mGrid;
  int32_t mC1, mC2, mR2;
  int32_t mRow, mCol;  // the current cell; mCol is mC1 - 1 before a row's first
  uint64_t mVersion;
  std::vector<Slot> mSlots;
};

}  // namespace krv::sheet
