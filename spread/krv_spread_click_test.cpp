#include <gtest/gtest.h>

#include <vector>

#include "platform/sheet/ss_api.h"
#include "platform/win/person.h"
#include "spread/dyn_menu.h"
#include "spread/krv_spread.h"
#include "spread/spread_test_support.h"

namespace {

using krv::win::Person;

// A parent that records the command notifications of its children, with
// the control's active cell at the moment each arrives.
class RecordingParent : public CWnd {
 public:
  struct Note {
    int id;
    UINT code;
    LPARAM from;
    int col, row;
  };
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    int col = 0, row = 0;
    if (sheet) sheet->getActiveCell(col, row);
    notes.push_back({LOWORD(wParam), HIWORD(wParam), lParam, col, row});
    if (destroyOnNote && sheet) sheet->DestroyWindow();
    return TRUE;
  }
  Krv_Spread* sheet = nullptr;
  bool destroyOnNote = false;
  std::vector<Note> notes;
};

// The sheet has 300 x 200 client units; cells are 40 wide and 20 high
// after a header column of 30 and a header row of 20, so column c spans
// 30 + 40 (c - 1) .. + 40 and row r 20 r .. 20 r + 20.
class SheetClicks : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.Create(L"#32770", L"Dialog", WS_POPUP | WS_VISIBLE,
                              CRect(100, 100, 600, 400), nullptr, 0));
    parent.sheet = &sheet;
    ASSERT_TRUE(sheet.createInParent(&parent, CRect(10, 10, 310, 210), 500));
    sheet.setMaxCols(5);
    sheet.setMaxRows(6);
    auto& d = sheet.document();
    d.setColWidth(-1, 40);
    d.setColWidth(0, 30);
    d.setRowHeight(-1, 20);
  }
  void TearDown() override {
    sheet.DestroyWindow();
    parent.DestroyWindow();
  }
  // The middle of the place where cell (col, row) shows when nothing is
  // hidden or scrolled.
  static CPoint middleOf(int col, int row) {
    return CPoint(col == 0 ? 15 : 30 + 40 * (col - 1) + 20, 20 * row + 10);
  }
  void click(int col, int row, bool shift = false) {
    Person::clickAt(&sheet, middleOf(col, row), shift);
  }
  std::vector<int> active() {
    int c = 0, r = 0;
    sheet.getActiveCell(c, r);
    return {c, r};
  }
  std::vector<int> selection() {
    int c1, r1, c2, r2;
    sheet.getSelection(c1, r1, c2, r2);
    return {c1, r1, c2, r2};
  }
  Krv_String data(int col, int row) {
    Krv_String t;
    sheet.getCellString(col, row, t, Data);
    return t;
  }

  krv::win::ScriptedUserInterfaceGuard ui;
  RecordingParent parent;
  Krv_Spread sheet;
};

TEST_F(SheetClicks, APressMakesTheCellActiveAndShiftExtendsTheSelection) {
  click(2, 3);
  EXPECT_EQ(active(), (std::vector<int>{2, 3}));
  EXPECT_EQ(selection(), (std::vector<int>{2, 3, 2, 3}));
  EXPECT_EQ(CWnd::GetFocus(), &sheet);
  // Shift reaches back from the active cell; the active cell stays.
  click(1, 1, true);
  EXPECT_EQ(active(), (std::vector<int>{2, 3}));
  EXPECT_EQ(selection(), (std::vector<int>{1, 1, 2, 3}));
  // A plain press starts over.
  click(4, 2);
  EXPECT_EQ(selection(), (std::vector<int>{4, 2, 4, 2}));
  // Hidden row 2 and narrow column 1: the place of (2, 3) now shows (3, 4).
  sheet.document().setRowHidden(2, true);
  sheet.document().setColWidth(1, 0);
  click(2, 3);
  EXPECT_EQ(active(), (std::vector<int>{3, 4}));
  // A scrolled view: the first place shows the top-left cell.
  ASSERT_TRUE(sheet.SetTopLeftCell(2, 5));
  click(1, 1);
  EXPECT_EQ(active(), (std::vector<int>{2, 5}));
  EXPECT_TRUE(parent.notes.empty());
}

TEST_F(SheetClicks, HeadersSelectWholeLinesAndPressesOutsideChangeNothing) {
  click(3, 0);
  EXPECT_EQ(selection(), (std::vector<int>{3, -1, 3, -1}));
  EXPECT_EQ(active(), (std::vector<int>{3, 1}));
  click(1, 0, true);
  EXPECT_EQ(selection(), (std::vector<int>{1, -1, 3, -1}));
  click(0, 4);
  EXPECT_EQ(selection(), (std::vector<int>{-1, 4, -1, 4}));
  EXPECT_EQ(active(), (std::vector<int>{1, 4}));
  click(0, 0);
  EXPECT_EQ(selection(), (std::vector<int>{-1, -1, -1, -1}));

  click(2, 2);
  // Right of the last column, below the last row, on the scroll bar.
  Person::clickAt(&sheet, CPoint(235, 30));
  Person::clickAt(&sheet, CPoint(50, 145));
  Person::clickAt(&sheet, CPoint(290, 30));
  EXPECT_EQ(active(), (std::vector<int>{2, 2}));
  EXPECT_EQ(selection(), (std::vector<int>{2, 2, 2, 2}));
}

TEST_F(SheetClicks, CheckBoxesToggleAndMarkTheSheetChangedUnlessLocked) {
  sheet.setCheckBoxFormat(2, 1, 2, -1);
  sheet.setCellData(2, 2, L"1");
  ASSERT_FALSE(sheet.getBoolOption(krv::spread::kOptionChanged));
  click(2, 1);
  EXPECT_EQ(data(2, 1), L"1");
  EXPECT_TRUE(sheet.getBoolOption(krv::spread::kOptionChanged));
  click(2, 1);
  EXPECT_EQ(data(2, 1), L"0");
  click(2, 2);
  EXPECT_EQ(data(2, 2), L"0");
  // Extending the selection over a check box does not press it.
  click(2, 3, true);
  EXPECT_EQ(data(2, 3), L"");
  // A cell that is not a check box keeps its text.
  sheet.setCellData(1, 1, L"1");
  click(1, 1);
  EXPECT_EQ(data(1, 1), L"1");

  sheet.setBoolOption(krv::spread::kOptionChanged, false);
  sheet.document().changeAttributes(2, 4, 2, 4,
                                    [](krv::sheet::CellAttributes& a) { a.locked = true; });
  click(2, 4);
  EXPECT_EQ(active(), (std::vector<int>{2, 4}));
  EXPECT_EQ(data(2, 4), L"");
  // Read-only rows: a press selects the row and leaves the box alone.
  sheet.setIntOption(krv::spread::kIntOptionMode, kSpreadModeReadOnlyRows);
  click(2, 5);
  EXPECT_EQ(selection(), (std::vector<int>{-1, 5, -1, 5}));
  EXPECT_EQ(data(2, 5), L"");
  EXPECT_FALSE(sheet.getBoolOption(krv::spread::kOptionChanged));
}

TEST_F(SheetClicks, AButtonCellTellsTheParentWithThePressedCellActive) {
  SS_CELLTYPE type;
  SSSetTypeButton(sheet.GetSafeHwnd(), &type, 0, L"...");
  SSSetCellTypeRange(sheet.GetSafeHwnd(), 5, 1, 5, 6, &type);
  click(1, 1);
  click(5, 3);
  ASSERT_EQ(parent.notes.size(), 1u);
  EXPECT_EQ(parent.notes[0].id, 500);
  EXPECT_EQ(parent.notes[0].code, kSpreadNotifyButtonClicked);
  EXPECT_EQ(parent.notes[0].from, reinterpret_cast<LPARAM>(sheet.GetSafeHwnd()));
  EXPECT_EQ(parent.notes[0].col, 5);
  EXPECT_EQ(parent.notes[0].row, 3);
  // No notification when extending, on a locked button, or on the header.
  click(5, 4, true);
  click(5, 0);
  sheet.document().changeAttributes(5, 6, 5, 6,
                                    [](krv::sheet::CellAttributes& a) { a.locked = true; });
  click(5, 6);
  EXPECT_EQ(parent.notes.size(), 1u);
  // A parent that closes the control on the notification.
  parent.destroyOnNote = true;
  click(5, 2);
  EXPECT_EQ(parent.notes.size(), 2u);
  EXPECT_FALSE(sheet.GetSafeHwnd());
}

TEST_F(SheetClicks, ADoubleClickSelectsWithoutPressingTwice) {
  sheet.setCheckBoxFormat(2, 1, 2, -1);
  sheet.setEditFormat(1, 1, 1, -1);
  const LPARAM box = MAKELPARAM(middleOf(2, 2).x, middleOf(2, 2).y);
  sheet.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, box);
  sheet.SendMessage(WM_LBUTTONUP, 0, box);
  sheet.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, box);
  sheet.SendMessage(WM_LBUTTONUP, 0, box);
  EXPECT_EQ(data(2, 2), L"1");
  const LPARAM edit = MAKELPARAM(middleOf(1, 4).x, middleOf(1, 4).y);
  sheet.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, edit);
  EXPECT_EQ(active(), (std::vector<int>{1, 4}));
  sheet.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(280, 190));
  EXPECT_EQ(active(), (std::vector<int>{1, 4}));
  // A person's double click on a check box toggles it once: the control's
  // class takes double clicks.
  krv::win::Person::doubleClickAt(&sheet, middleOf(2, 3));
  EXPECT_EQ(data(2, 3), L"1");
}

TEST_F(SheetClicks, ARightPressOutsideTheSelectionMovesTheActiveCellBeforeTheMenu) {
  sheet.setContextMenu(Krv_Array<int>{krv::spread::kMenuDeleteRow});
  for (int r = 1; r <= 6; ++r) sheet.setCellData(1, r, Krv_String(L"row ") + std::to_wstring(r));
  click(1, 1);
  ui->answerPopupMenu(0);
  Person::rightClickAt(&sheet, middleOf(3, 4));
  EXPECT_EQ(sheet.getMaxRows(), 5);
  EXPECT_EQ(data(1, 4), L"row 5");
  EXPECT_EQ(data(1, 1), L"row 1");
  // Inside a block the block and the active cell stay.
  click(1, 1);
  click(3, 3, true);
  ui->answerPopupMenu(-1);  // the menu is dismissed
  Person::rightClickAt(&sheet, middleOf(2, 2));
  EXPECT_EQ(active(), (std::vector<int>{1, 1}));
  EXPECT_EQ(selection(), (std::vector<int>{1, 1, 3, 3}));
}

}  // namespace
