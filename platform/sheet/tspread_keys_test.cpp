// A person's arrow and page keys move the control's active cell and scroll
// the view with it.
#include <gtest/gtest.h>

#include "platform/sheet/tspread.h"
#include "platform/win/person.h"
#include "platform/win/user_interface_test_support.h"

namespace {

using krv::win::Person;

// A 300 x 200 control of 6 columns and 40 rows: the header column is 30
// wide, columns 50; the header row and the rows 20 high. The cell area of
// 283 x 183 shows columns 1 to 5 and rows 1 to 8 whole.
class SpreadKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        parent.Create(L"#32770", L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
    ASSERT_TRUE(spread.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 7));
    auto& d = spread.document();
    d.setMaxCols(6);
    d.setMaxRows(40);
    d.setColWidth(-1, 50);
    d.setColWidth(0, 30);
    d.setRowHeight(-1, 20);
    d.setActiveCell(1, 1);
  }
  void TearDown() override {
    spread.DestroyWindow();
    parent.DestroyWindow();
  }
  void press(UINT key, int times = 1) {
    for (int i = 0; i < times; ++i) Person::pressKey(&spread, key);
  }
  std::pair<int, int> active() const {
    return {spread.document().activeCol(), spread.document().activeRow()};
  }

  krv::win::ScriptedUserInterfaceGuard ui;
  CWnd parent;
  TSpread spread;
};

TEST_F(SpreadKeys, ArrowsMoveTheActiveCellAndSelectionPastHiddenLinesWithinTheSheet) {
  auto& d = spread.document();
  d.setColHidden(2, true);
  d.setRowHeight(2, 0);
  press(VK_RIGHT);
  EXPECT_EQ(active(), std::make_pair(3, 1)) << "column 2 takes no room";
  press(VK_DOWN);
  EXPECT_EQ(active(), std::make_pair(3, 3)) << "row 2 takes no room";
  EXPECT_TRUE(d.isSelected(3, 3));
  EXPECT_FALSE(d.isSelected(3, 1)) << "the selection moves with the cell";
  press(VK_LEFT, 3);
  press(VK_UP, 3);
  EXPECT_EQ(active(), std::make_pair(1, 1)) << "the headers are no stop";
  press(VK_RIGHT, 10);
  EXPECT_EQ(active(), std::make_pair(6, 1));
}

TEST_F(SpreadKeys, MovingOutOfTheViewScrollsItTheLeast) {
  press(VK_DOWN, 7);
  EXPECT_EQ(active(), std::make_pair(1, 8));
  EXPECT_EQ(spread.GetTopRow(), 1) << "row 8 is shown whole";
  press(VK_DOWN);
  EXPECT_EQ(spread.GetTopRow(), 2);
  press(VK_RIGHT, 5);
  EXPECT_EQ(active(), std::make_pair(6, 9));
  EXPECT_EQ(spread.GetLeftCol(), 2);
  CRect r;
  ASSERT_TRUE(spread.GetCellRect(6, 9, r));
  EXPECT_EQ(r.Height(), 20);
  EXPECT_EQ(r.Width(), 50);
  press(VK_UP, 8);
  EXPECT_EQ(spread.GetTopRow(), 1);
}

TEST_F(SpreadKeys, PageKeysMoveByTheRowsShownWhole) {
  press(VK_NEXT);
  EXPECT_EQ(active(), std::make_pair(1, 9));
  EXPECT_EQ(spread.GetTopRow(), 2);
  press(VK_NEXT, 10);
  EXPECT_EQ(active(), std::make_pair(1, 40));
  EXPECT_EQ(spread.GetTopRow(), 33);
  press(VK_PRIOR);
  EXPECT_EQ(active(), std::make_pair(1, 32));
  EXPECT_EQ(spread.GetTopRow(), 32);
}

TEST_F(SpreadKeys, AnArrowFinishesTheEntryAndARefusedOneKeepsThePersonInTheCell) {
  Person::type(&spread, L"12");
  press(VK_DOWN);
  EXPECT_EQ(spread.document().data(1, 1), L"12");
  EXPECT_EQ(active(), std::make_pair(1, 2));
  EXPECT_FALSE(spread.document().editing());

  auto& d = spread.document();
  d.changeAttributes(1, 2, 1, 2, [](krv::sheet::CellAttributes& a) {
    a.type = krv::sheet::kCellTypeNumber;
    a.minValue = 10;
    a.maxValue = 100;
  });
  Person::type(&spread, L"5");
  ui->answerMessageBox(IDOK);
  press(VK_DOWN);
  EXPECT_EQ(active(), std::make_pair(1, 2)) << "the number is beyond the cell's bounds";
  EXPECT_TRUE(d.editing());
  EXPECT_EQ(d.editText(), L"5");
  EXPECT_EQ(d.data(1, 2), L"");
}

}  // namespace
