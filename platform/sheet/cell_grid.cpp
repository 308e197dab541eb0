// The cells of a sheet, kept in blocks allocated only where something is stored.
#include "platform/sheet/cell_grid.h"

#include <algorithm>
#include <limits>

namespace krv::sheet {

Cell& CellGrid::at(int32_t col, int32_t row) {
  if (static_cast<size_t>(col) > mColumns.size()) mColumns.resize(col);
  Column& c = mColumns[col - 1];
  size_t b = static_cast<size_t>(row - 1) / kBlockRows;
  if (b >= c.size()) c.resize(b + 1);
  if (!c[b]) {
    c[b] = std::make_unique<Block>();
    ++mLayoutVersion;
  }
  return (*c[b])[(row - 1) % kBlockRows];
}

int32_t CellGrid::allocatedRows() const {
  size_t blocks = 0;
  for (const Column& c : mColumns)
    if (c.size() > blocks) blocks = c.size();
  return static_cast<int32_t>(blocks) * kBlockRows;
}

void CellGrid::truncate(int32_t maxCols, int32_t maxRows) {
  ++mLayoutVersion;
  if (maxCols < 0) maxCols = 0;
  if (static_cast<size_t>(maxCols) < mColumns.size()) mColumns.resize(maxCols);
  size_t keepBlocks =
      maxRows <= 0 ? 0 : (static_cast<size_t>(maxRows) + kBlockRows - 1) / kBlockRows;
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

FilledCellWalk::FilledCellWalk(const CellGrid& grid, int32_t c1, int32_t r1, int32_t c2, int32_t r2)
    : mGrid(grid),
      mC1(std::max(c1, 1)),
      mC2(c2),
      mR2(r2),
      mRow(std::max(r1, 1)),
      mCol(mC1 - 1),
      mVersion(grid.layoutVersion()) {
  index();
}

void FilledCellWalk::index() {
  mSlots.clear();
  mVersion = mGrid.layoutVersion();
  mGrid.forEachBlock(mC1, mC2,
                     [&](int32_t block, int32_t col) { mSlots.emplace_back(block, col); });
  std::sort(mSlots.begin(), mSlots.end());
}

bool FilledCellWalk::next(int32_t& col, int32_t& row) {
  if (mVersion != mGrid.layoutVersion()) index();
  constexpr int32_t kBefore = std::numeric_limits<int32_t>::min();
  while (mRow <= mR2) {
    const int32_t block = (mRow - 1) / CellGrid::kBlockRows;
    auto it = std::lower_bound(mSlots.begin(), mSlots.end(), Slot{block, mCol + 1});
    for (; it != mSlots.end() && it->first == block; ++it) {
      const Cell* cell = mGrid.find(it->second, mRow);
      if (cell && cell->isFilled()) {
        mCol = col = it->second;
        row = mRow;
        return true;
      }
    }
    // The row is done: on to the next row, past blocks that no column has.
    mCol = mC1 - 1;
    if (mRow == std::numeric_limits<int32_t>::max()) return false;
    ++mRow;
    const int32_t nextBlock = (mRow - 1) / CellGrid::kBlockRows;
    auto ahead = std::lower_bound(mSlots.begin(), mSlots.end(), Slot{nextBlock, kBefore});
    if (ahead == mSlots.end()) return false;
    if (ahead->first > nextBlock) mRow = ahead->first * CellGrid::kBlockRows + 1;
  }
  return false;
}

}  // namespace krv::sheet
