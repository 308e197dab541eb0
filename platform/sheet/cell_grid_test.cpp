#include "platform/sheet/cell_grid.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/sheet/cell_address.h"

namespace krv::sheet {
namespace {

using Positions = std::vector<std::pair<int32_t, int32_t>>;  // (col, row)

Positions walkAll(const CellGrid& grid, int32_t c1, int32_t r1, int32_t c2, int32_t r2) {
  Positions seen;
  FilledCellWalk walk(grid, c1, r1, c2, r2);
  for (int32_t col = 0, row = 0; walk.next(col, row);) seen.emplace_back(col, row);
  return seen;
}

TEST(FilledCellWalk, VisitsFilledCellsRowByRowWithinTheRectangle) {
  CellGrid grid;
  grid.at(3, 2).value = Value::number(1);
  grid.at(1, 2).value = Value::text("a");
  grid.at(2, 300).formula = 7;     // a formula fills a cell, also without a value
  grid.at(1, 300).attributes = 4;  // a format alone does not
  grid.at(5, 1).value = Value::number(2);
  grid.at(2, 700).value = Value::number(3);
  grid.at(4, 1000).value = Value::number(4);  // outside the rectangle's columns

  EXPECT_EQ(walkAll(grid, 1, 1, 3, 800), (Positions{{1, 2}, {3, 2}, {2, 300}, {2, 700}}))
      << "column 5 and row 1000 lie outside, (1, 300) only has a format";
  EXPECT_EQ(walkAll(grid, 2, 3, 5, 700), (Positions{{2, 300}, {2, 700}}));
  EXPECT_TRUE(walkAll(grid, 1, 701, 3, 999).empty());
}

TEST(FilledCellWalk, FollowsWritesMadeDuringTheWalk) {
  CellGrid grid;
  grid.at(1, 1).value = Value::number(1);
  grid.at(2, 5).value = Value::number(2);
  grid.at(1, 9).value = Value::number(3);
  Positions seen;
  FilledCellWalk walk(grid, 1, 1, kMaxColumnLimit, kMaxRowLimit);
  for (int32_t col = 0, row = 0; walk.next(col, row);) {
    seen.emplace_back(col, row);
    if (col == 1 && row == 1) {
      grid.at(1, 5).value = Value::number(9);       // before (2, 5) in the same row
      grid.at(40, 70000).value = Value::number(9);  // a new column and block further down
      grid.at(1, 9).value = Value();                // emptied before it is reached
      grid.at(5, 1).value = Value::number(9);       // behind the current cell in its row
    }
    if (col == 2 && row == 5) grid.at(1, 2).value = Value::number(9);  // already passed
  }
  EXPECT_EQ(seen, (Positions{{1, 1}, {5, 1}, {1, 5}, {2, 5}, {40, 70000}}))
      << "the walk sees the grid as it is when it gets there, as a scan of every cell would";
}

TEST(FilledCellWalk, CostFollowsTheFilledCellsNotTheDeclaredSize) {
  CellGrid grid;
  EXPECT_TRUE(walkAll(grid, 1, 1, kMaxColumnLimit, kMaxRowLimit).empty());
  grid.at(kMaxColumnLimit, kMaxRowLimit).value = Value::text("corner");
  grid.at(1, 1).value = Value::text("origin");
  // 17 G positions: visiting each would take minutes.
  EXPECT_EQ(walkAll(grid, 1, 1, kMaxColumnLimit, kMaxRowLimit),
            (Positions{{1, 1}, {kMaxColumnLimit, kMaxRowLimit}}));
  grid.truncate(kMaxColumnLimit - 1, kMaxRowLimit);
  EXPECT_EQ(walkAll(grid, 1, 1, kMaxColumnLimit, kMaxRowLimit), (Positions{{1, 1}}));
}

}  // namespace
}  // namespace krv::sheet
