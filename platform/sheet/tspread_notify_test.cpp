// What the control tells its parent about a person's moves and edits.
#include <gtest/gtest.h>

#include <vector>

#include "platform/sheet/tspread.h"
#include "platform/win/clipboard.h"
#include "platform/win/person.h"
#include "platform/win/user_interface_test_support.h"

namespace {

using krv::win::Person;

// A parent that keeps the codes of the control's change messages.
class RecordingParent : public CWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kSpreadChangeMessage) {
      codes.push_back(wParam);
      from = reinterpret_cast<HWND>(lParam);
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
  std::vector<WPARAM> codes;
  HWND from = nullptr;
};

class SpreadNotify : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        parent.Create(L"#32770", L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
    ASSERT_TRUE(spread.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 7));
    spread.document().setMaxCols(3);
    spread.document().setMaxRows(4);
    spread.document().setActiveCell(1, 1);
  }
  void TearDown() override {
    spread.DestroyWindow();
    parent.DestroyWindow();
  }
  // The client point inside cell (col, row).
  CPoint inside(int col, int row) {
    CRect r;
    EXPECT_TRUE(spread.GetCellRect(col, row, r));
    return CPoint(r.left + 3, r.top + 3);
  }

  krv::win::ScriptedUserInterfaceGuard ui;
  RecordingParent parent;
  TSpread spread;
};

TEST_F(SpreadNotify, MovesOfTheActiveCellAreToldOnceAndStayingPutIsNot) {
  Person::pressKey(&spread, VK_RIGHT);
  ASSERT_EQ(parent.codes, std::vector<WPARAM>{kSpreadActiveCellMoved});
  EXPECT_EQ(parent.from, spread.GetSafeHwnd());
  Person::clickAt(&spread, inside(3, 4));
  EXPECT_EQ(parent.codes.size(), 2u);
  EXPECT_EQ(spread.document().activeCol(), 3);
  // A press on the active cell and an arrow at the edge move nothing.
  Person::clickAt(&spread, inside(3, 4));
  Person::pressKey(&spread, VK_DOWN);
  EXPECT_EQ(parent.codes.size(), 2u);
  // A program's move through the document is not told.
  spread.document().setActiveCell(1, 1);
  EXPECT_EQ(parent.codes.size(), 2u);
}

TEST_F(SpreadNotify, FinishedEntriesPastesCutsAndToggledCheckBoxesAreToldAsEdits) {
  Person::type(&spread, L"12");
  EXPECT_TRUE(parent.codes.empty()) << "typing alone writes nothing yet";
  Person::pressKey(&spread, VK_RETURN);
  EXPECT_EQ(parent.codes, std::vector<WPARAM>{kSpreadCellsEdited});

  parent.codes.clear();
  krv::win::setClipboardText(L"a\tb", spread.GetSafeHwnd());
  Person::pressKey(&spread, 'V', false, true);
  EXPECT_EQ(parent.codes, std::vector<WPARAM>{kSpreadCellsEdited});
  EXPECT_EQ(spread.document().data(2, 1).value_or(L""), L"b");

  parent.codes.clear();
  spread.document().setSelection(1, 1, 2, 1);
  ASSERT_TRUE(spread.ClipboardCut());
  EXPECT_EQ(parent.codes, std::vector<WPARAM>{kSpreadCellsEdited});

  parent.codes.clear();
  spread.document().changeAttributes(
      3, 2, 3, 2, [](krv::sheet::CellAttributes& a) { a.type = krv::sheet::kCellTypeCheckBox; });
  spread.document().setActiveCell(3, 2);
  Person::clickAt(&spread, inside(3, 2));
  EXPECT_EQ(parent.codes, std::vector<WPARAM>{kSpreadCellsEdited});
  EXPECT_EQ(spread.document().data(3, 2).value_or(L""), L"1");
}

}  // namespace
