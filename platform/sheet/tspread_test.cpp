#include "platform/sheet/tspread.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using Cell = krv::sheet::ControlDocument::ViewCell;

// A 300 x 200 control: with the 17-unit scroll bars the cells have 283 x 183.
//   x: header 0..30, column 1 30..80, column 2 hidden, 3 80..120, 4 120..180
//   y: header 0..20, row 1 20..40, 2 40..60, 3 of height 0, 4 hidden,
//      5 60..90, 6 90..110
class SpreadGeometry : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.Create(L"#32770", L"", WS_POPUP, CRect(0, 0, 400, 300), nullptr, 0));
    ASSERT_TRUE(spread.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 7));
    auto& d = spread.document();
    d.setMaxCols(4);
    d.setMaxRows(6);
    d.setColWidth(-1, 40);
    d.setColWidth(0, 30);
    d.setColWidth(1, 50);
    d.setColHidden(2, true);
    d.setColWidth(4, 60);
    d.setRowHeight(-1, 20);
    d.setRowHeight(3, 0);
    d.setRowHidden(4, true);
    d.setRowHeight(5, 30);
  }
  void TearDown() override {
    spread.DestroyWindow();
    parent.DestroyWindow();
  }
  std::optional<Cell> at(int x, int y) const { return spread.CellFromPoint(CPoint(x, y)); }

  CWnd parent;
  TSpread spread;
};

TEST_F(SpreadGeometry, PointsFindCellsPastHeadersAndHiddenLines) {
  EXPECT_EQ(at(0, 0), (Cell{0, 0}));
  EXPECT_EQ(at(29, 19), (Cell{0, 0}));
  EXPECT_EQ(at(40, 10), (Cell{1, 0}));
  EXPECT_EQ(at(10, 45), (Cell{0, 2}));
  EXPECT_EQ(at(30, 20), (Cell{1, 1}));
  EXPECT_EQ(at(79, 39), (Cell{1, 1}));
  // Column 2 and rows 3 and 4 take no room.
  EXPECT_EQ(at(80, 40), (Cell{3, 2}));
  EXPECT_EQ(at(85, 60), (Cell{3, 5}));
  EXPECT_EQ(at(179, 109), (Cell{4, 6}));
  // Beyond the last column or row, and outside the window.
  EXPECT_FALSE(at(180, 50));
  EXPECT_FALSE(at(50, 110));
  EXPECT_FALSE(at(-1, 25));
  EXPECT_FALSE(at(50, 500));
  // Without a header column the first column starts at the edge.
  spread.document().setColHidden(0, true);
  EXPECT_EQ(at(0, 25), (Cell{1, 1}));
  EXPECT_EQ(at(10, 5), (Cell{1, 0}));
}

TEST_F(SpreadGeometry, ScrollBarsAndTheWindowEdgeCutOffCells) {
  auto& d = spread.document();
  d.setMaxCols(20);
  d.setMaxRows(40);
  // Column 7 spans 260..300 and row 10 170..190: only their parts before
  // the scroll bars (283, 183) are cells.
  EXPECT_EQ(at(282, 182), (Cell{7, 10}));
  EXPECT_FALSE(at(283, 100));
  EXPECT_FALSE(at(100, 183));
  CRect r;
  ASSERT_TRUE(spread.GetCellRect(7, 10, r));
  EXPECT_EQ(r, CRect(260, 170, 283, 183));
  EXPECT_FALSE(spread.GetCellRect(8, 1, r));
  EXPECT_FALSE(spread.GetCellRect(2, 1, r));  // hidden
  EXPECT_FALSE(spread.GetCellRect(21, 1, r));
}

TEST_F(SpreadGeometry, TheTopLeftCellShiftsCellsButNotHeaders) {
  EXPECT_EQ(spread.GetTopRow(), 1);
  ASSERT_TRUE(spread.SetTopLeftCell(3, 5));
  EXPECT_EQ(at(40, 25), (Cell{3, 5}));
  EXPECT_EQ(at(10, 25), (Cell{0, 5}));
  EXPECT_EQ(at(75, 10), (Cell{4, 0}));
  EXPECT_EQ(at(75, 55), (Cell{4, 6}));
  CRect r;
  EXPECT_FALSE(spread.GetCellRect(1, 1, r));  // scrolled off
  ASSERT_TRUE(spread.GetCellRect(0, 5, r));
  EXPECT_EQ(r, CRect(0, 20, 30, 50));
  EXPECT_FALSE(spread.SetTopLeftCell(5, 1));
  EXPECT_FALSE(spread.SetTopLeftCell(0, 1));
  EXPECT_EQ(spread.GetLeftCol(), 3);
  // A shrunken sheet shows its last row at the top; a reset starts over.
  spread.document().setMaxRows(2);
  EXPECT_EQ(spread.GetTopRow(), 2);
  spread.document().reset();
  spread.document().setMaxRows(6);
  EXPECT_EQ(spread.GetTopRow(), 1);
}

TEST_F(SpreadGeometry, ASpanAnswersWithItsAnchor) {
  ASSERT_TRUE(spread.document().addSpan(3, 5, 2, 2));
  EXPECT_EQ(at(150, 100), (Cell{3, 5}));
  EXPECT_EQ(at(150, 10), (Cell{4, 0}));
}

TEST_F(SpreadGeometry, CellRectanglesAgreeWithHitsAtEveryPoint) {
  // Fractional sizes: every point belongs to exactly the cell whose
  // rectangle holds it.
  auto& d = spread.document();
  d.setColWidth(1, 12.5);
  d.setColWidth(3, 7.25);
  d.setRowHeight(1, 10.5);
  d.setRowHeight(2, 3.3);
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 300; ++x) {
      auto cell = at(x, y);
      if (!cell) continue;
      CRect r;
      ASSERT_TRUE(spread.GetCellRect(cell->col, cell->row, r)) << x << "," << y;
      ASSERT_TRUE(r.PtInRect(CPoint(x, y)))
          << x << "," << y << " in " << cell->col << "," << cell->row;
    }
  }
}

}  // namespace
