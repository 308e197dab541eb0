// A person's typing and pasting into the control's cells, with the limits of
// the cells' types.
#include <gtest/gtest.h>

#include <string>

#include "platform/sheet/ss_api.h"
#include "platform/sheet/tspread.h"
#include "platform/win/clipboard.h"
#include "platform/win/person.h"
#include "platform/win/user_interface_test_support.h"

namespace {

using krv::win::Person;

constexpr int kTextCol = 1, kNumberCol = 2, kPlainCol = 3;

// Column 1 holds edit cells of at most 10 characters, column 2 number cells
// from -1000 to 1000, column 3 general cells.
class SpreadTyping : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        parent.Create(L"#32770", L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
    ASSERT_TRUE(spread.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 7));
    auto& d = spread.document();
    d.setMaxCols(3);
    d.setMaxRows(4);
    SS_CELLTYPE t;
    SSSetTypeEdit(spread.m_hWnd, &t, 0, 10);
    ASSERT_TRUE(SSSetCellTypeRange(spread.m_hWnd, kTextCol, -1, kTextCol, -1, &t));
    SSSetTypeNumber(spread.m_hWnd, &t, 0, 0, -1000, 1000);
    ASSERT_TRUE(SSSetCellTypeRange(spread.m_hWnd, kNumberCol, -1, kNumberCol, -1, &t));
  }
  void TearDown() override {
    spread.DestroyWindow();
    parent.DestroyWindow();
  }
  void typeInto(int col, int row, const std::wstring& text) {
    ASSERT_TRUE(spread.document().setActiveCell(col, row));
    Person::type(&spread, text);
  }
  void enter() { Person::pressKey(&spread, VK_RETURN); }
  std::wstring data(int col, int row) const {
    return spread.document().data(col, row).value_or(L"(outside)");
  }

  krv::win::ScriptedUserInterfaceGuard ui;
  CWnd parent;
  TSpread spread;
};

TEST_F(SpreadTyping, TypedTextIsWrittenOnEnterAndSetsTheChangedMark) {
  spread.document().setData(kPlainCol, 1, L"old");
  typeInto(kPlainCol, 1, L"new");
  EXPECT_EQ(data(kPlainCol, 1), L"old") << "the cell keeps its content until the entry is finished";
  enter();
  EXPECT_EQ(data(kPlainCol, 1), L"new") << "the first character replaced what the cell showed";
  EXPECT_FALSE(spread.document().editing());
  EXPECT_TRUE(spread.document().boolOption(30));
}

TEST_F(SpreadTyping, EditCellKeepsNoMoreThanItsMaximumLength) {
  typeInto(kTextCol, 1, std::wstring(25, L'x'));
  enter();
  EXPECT_EQ(data(kTextCol, 1), std::wstring(10, L'x'));
}

TEST_F(SpreadTyping, NumberCellDropsDigitsThatPassItsBound) {
  typeInto(kNumberCol, 1, L"10000");
  enter();
  EXPECT_EQ(data(kNumberCol, 1), L"1000") << "the fifth digit would pass the maximum 1000";
  typeInto(kNumberCol, 2, L"12ab");
  enter();
  EXPECT_EQ(data(kNumberCol, 2), L"12") << "letters are not part of a number";
}

TEST_F(SpreadTyping, EntryOutsideTheBoundsIsRefusedWithAMessageAndStaysInTheEditor) {
  SS_CELLTYPE t;
  SSSetTypeNumber(spread.m_hWnd, &t, 0, 0, 10, 100);
  ASSERT_TRUE(SSSetCellType(spread.m_hWnd, kNumberCol, 3, &t));
  spread.document().setData(kNumberCol, 3, L"20");
  typeInto(kNumberCol, 3, L"5");
  ui->answerMessageBox(IDOK, L"10 to 100");
  enter();
  EXPECT_EQ(data(kNumberCol, 3), L"20") << "the cell keeps its value";
  ASSERT_TRUE(spread.document().editing());
  EXPECT_EQ(spread.document().editText(), L"5") << "the person's text is not lost";
  Person::type(&spread, L"0");
  enter();
  EXPECT_EQ(data(kNumberCol, 3), L"50");
}

TEST_F(SpreadTyping, EscapeDropsTheEntryAndBackspaceDeletes) {
  spread.document().setData(kPlainCol, 2, L"kept");
  typeInto(kPlainCol, 2, L"abc\b");
  EXPECT_EQ(spread.document().editText(), L"ab");
  Person::pressKey(&spread, VK_ESCAPE);
  EXPECT_FALSE(spread.document().editing());
  EXPECT_EQ(data(kPlainCol, 2), L"kept");
  EXPECT_FALSE(spread.document().boolOption(30));
}

TEST_F(SpreadTyping, CheckBoxesAndReadOnlyRowsTakeNoTyping) {
  SS_CELLTYPE t;
  SSSetTypeCheckBox(spread.m_hWnd, &t, 0, L"");
  ASSERT_TRUE(SSSetCellType(spread.m_hWnd, kPlainCol, 4, &t));
  typeInto(kPlainCol, 4, L"x");
  EXPECT_FALSE(spread.document().editing());
  spread.document().setIntOption(krv::sheet::kIntOptionMode, kSpreadModeReadOnlyRows);
  typeInto(kPlainCol, 1, L"x");
  EXPECT_FALSE(spread.document().editing());
}

TEST_F(SpreadTyping, PasteFitsEachFieldToItsCell) {
  ASSERT_TRUE(krv::win::setClipboardText(L"a long pasted text\t-250\tfree", spread.m_hWnd));
  spread.document().setActiveCell(kTextCol, 1);
  ASSERT_TRUE(spread.ClipboardPaste());
  EXPECT_EQ(data(kTextCol, 1), L"a long pas");
  EXPECT_EQ(data(kNumberCol, 1), L"-250");
  EXPECT_EQ(data(kPlainCol, 1), L"free");
}

TEST_F(SpreadTyping, PasteWithANumberOutOfBoundsIsRefusedWhole) {
  ASSERT_TRUE(krv::win::setClipboardText(L"text\t5\r\nmore\t1000000000000000", spread.m_hWnd));
  spread.document().setActiveCell(kTextCol, 1);
  ui->answerMessageBox(IDOK, L"B2");
  EXPECT_FALSE(spread.ClipboardPaste());
  EXPECT_EQ(data(kTextCol, 1), L"") << "nothing of a refused paste is written";
  EXPECT_EQ(data(kNumberCol, 2), L"");
}

TEST_F(SpreadTyping, PasteIntoTheOpenEditorGoesThroughItsLimit) {
  typeInto(kTextCol, 2, L"12345678");
  ASSERT_TRUE(krv::win::setClipboardText(L"abcdef", spread.m_hWnd));
  Person::pressKey(&spread, 'V', false, true);
  EXPECT_EQ(spread.document().editText(), L"12345678ab");
}

TEST_F(SpreadTyping, PressOnAnotherCellFinishesTheEntry) {
  typeInto(kPlainCol, 1, L"done");
  CRect cell;
  ASSERT_TRUE(spread.GetCellRect(kPlainCol, 2, cell));
  Person::clickAt(&spread, cell.CenterPoint());
  EXPECT_EQ(data(kPlainCol, 1), L"done");
  EXPECT_EQ(spread.document().activeRow(), 2);
}

TEST_F(SpreadTyping, ProgramWritesAreStoredWhole) {
  // Limits bound what a person enters; a program's value is never cut.
  ASSERT_TRUE(spread.document().setData(kTextCol, 1, std::wstring(25, L'y')));
  EXPECT_EQ(data(kTextCol, 1).size(), 25u);
  ASSERT_TRUE(spread.document().setData(kNumberCol, 1, L"1000000000000000"));
  EXPECT_EQ(data(kNumberCol, 1), L"1E+15");
}

}  // namespace
