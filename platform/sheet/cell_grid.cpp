#include "platform/sheet/cell_grid.h"

namespace krv::sheet {

Cell& CellGrid::at(int32_t col, int32_t row) {
  if (static_cast<size_t>(col) > mColumns.size()) mColumns.resize(col);
  Column& c = mColumns[col - 1];
  size_t b = static_cast<size_t>(row - 1) / kBlockRows;
  if (b >= c.size()) c.resize(b + 1);
  if (!c[b]) c[b] = std::make_unique<Block>();
  return (*c[b])[(row - 1) % kBlockRows];
}

int32_t CellGrid::allocatedRows() const {
  size_t blocks = 0;
  for (const Column& c : mColumns)
    if (c.size() > blocks) blocks = c.size();
  return static_cast<int32_t>(blocks) * kBlockRows;
}

void CellGrid::truncate(int32_t maxCols, int32_t maxRows) {
  if (maxCols < 0) maxCols = 0;
  if (static_cast<size_t>(maxCols) < mColumns.size()) mColumns.resize(maxCols);
  size_t keepBlocks = maxRows <= 0 ? 0 : (static_cast<size_t>(maxRows) + kBlockRows - 1) / kBlockRows;
  for (Column& c : mColumns) {
    if (c.size() > keepBlocks) c.resize(keepBlocks);
    if (!c.empty() && c.back() && maxRows % kBlockRows != 0 && c.size() == keepBlocks) {
      for (int32_t r = maxRows % kBlockRows; r < kBlockRows; ++r) (*c.back())[r] = Cell{};
    }
  }
}

size_t CellGrid::blockCount() const {
  size_t n = 0;
  for (const Column& c : mColumns)
    for (const auto& b : c)
      if (b) ++n;
  return n;
}

}  // namespace krv::sheet
