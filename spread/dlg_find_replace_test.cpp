#include "spread/dlg_find_replace.h"

#include <gtest/gtest.h>

#include "platform/core/dlg_size.h"
#include "platform/win/person.h"
#include "spread/spread_test_support.h"

namespace {

class FindReplaceTest : public krv::test::SheetOnDialog {
 protected:
  void SetUp() override {
    SheetOnDialog::SetUp();
    attach(3, 4);
    sheet.setCellData(2, 1, L"HEA 200");
    sheet.setCellData(1, 3, L"IPE 200 / IPE 240");
    sheet.setCellData(3, 4, L"plate");
    dlg = sheet.openFindDialog();
    ASSERT_NE(dlg, nullptr);
  }
  std::wstring cell(int c, int r) {
    Krv_String t;
    sheet.getCellString(c, r, t, Data);
    return t.str();
  }
  CDlgFindReplace* dlg = nullptr;
};

TEST_F(FindReplaceTest, OpensWithItsTextsAndEditOptionAndClosesRestoringIt) {
  EXPECT_EQ(dlg->GetWindowText(), dialString(1136).str());
  EXPECT_EQ(dlg->GetDlgItemText(1205), dialString(1141).str());
  EXPECT_TRUE(dlg->GetExStyle() & 0x8);  // always on top
  EXPECT_TRUE(sheet.getBoolOption(krv::spread::kOptionEditMode));
  EXPECT_FALSE(dlg->optionWasOn());
  dlg->MoveWindow(10, 10, 333, 144);
  krv::win::Person::click(dlg, IDCANCEL);
  EXPECT_EQ(sheet.findDialog(), nullptr);
  EXPECT_FALSE(sheet.getBoolOption(krv::spread::kOptionEditMode));
  int w = 0, h = 0;
  ASSERT_TRUE(getDlgSize(L"DLG_FINDREPLACE", w, h));
  EXPECT_EQ(w, 333);
  EXPECT_EQ(h, 144);
  // Opened again, it comes back with the stored size.
  CDlgFindReplace* again = sheet.openFindDialog();
  ASSERT_NE(again, nullptr);
  CRect r;
  again->GetWindowRect(&r);
  EXPECT_EQ(r.Width(), 333);
}

TEST_F(FindReplaceTest, FindNextWalksThroughOccurrencesAndSelectsThem) {
  dlg->setFindText(L"ipe");
  ASSERT_TRUE(dlg->findNext(true));
  auto& d = sheet.document();
  EXPECT_EQ(d.activeCol(), 1);
  EXPECT_EQ(d.activeRow(), 3);
  EXPECT_TRUE(d.editing());
  EXPECT_EQ(d.editSelStart(), 0);
  EXPECT_EQ(d.editSelEnd(), 3);
  // The next one is in the same cell.
  ASSERT_TRUE(dlg->findNext(true));
  EXPECT_EQ(d.editSelStart(), 10);
}

TEST_F(FindReplaceTest, AnEmptyFindTextFindsNothingAndLeavesTheSheetAlone) {
  sheet.setActiveCell(2, 2);
  dlg->setFindText(L"");
  EXPECT_FALSE(dlg->findNext(true)) << "an empty text would match everywhere";
  auto& d = sheet.document();
  EXPECT_EQ(d.activeCol(), 2);
  EXPECT_EQ(d.activeRow(), 2);
  EXPECT_FALSE(d.editing());
}

TEST_F(FindReplaceTest, TextOnlyAboveAsksToWrapYesFindsIt) {
  sheet.setActiveCell(1, 2);
  dlg->setFindText(L"hea");
  ui->answerMessageBox(IDYES, dialString(1143).str());
  ASSERT_TRUE(dlg->findNext(true));
  EXPECT_EQ(sheet.document().activeCol(), 2);
  EXPECT_EQ(sheet.document().activeRow(), 1);
}

TEST_F(FindReplaceTest, TextOnlyAboveAnsweredNoLeavesTheActiveCell) {
  sheet.setActiveCell(1, 4);
  dlg->setFindText(L"hea");
  ui->answerMessageBox(IDNO);
  EXPECT_FALSE(dlg->findNext(true));
  EXPECT_EQ(sheet.document().activeRow(), 4);
  // Without wrapping nothing is asked.
  EXPECT_FALSE(dlg->findNext(false));
}

TEST_F(FindReplaceTest, NothingAnywhereSaysSoAfterWrapping) {
  dlg->setFindText(L"nothing");
  ui->answerMessageBox(IDYES);
  ui->answerMessageBox(IDOK, dialString(1145).str());
  EXPECT_FALSE(dlg->findNext(true));
}

TEST_F(FindReplaceTest, ReplaceChangesTheSelectedOccurrenceAndSetsTheChangedMark) {
  dlg->setFindText(L"200");
  dlg->setReplaceText(L"300");
  ASSERT_TRUE(dlg->replace());
  EXPECT_EQ(cell(2, 1), L"HEA 300");
  EXPECT_TRUE(sheet.getBoolOption(krv::spread::kOptionChanged));
  ASSERT_TRUE(dlg->replace());
  EXPECT_EQ(cell(1, 3), L"IPE 300 / IPE 240");
}

TEST_F(FindReplaceTest, RepeatedReplaceReplacesEachMatchOnceAndGoesOnAfterTheInsertedText) {
  sheet.setCellData(1, 2, L"abc abc");
  sheet.setActiveCell(1, 2);
  dlg->setFindText(L"abc");
  dlg->setReplaceText(L"Z");
  ASSERT_TRUE(dlg->replace());
  ASSERT_TRUE(dlg->replace());
  EXPECT_EQ(cell(1, 2), L"Z Z") << "each press replaces one whole occurrence of the find text";
  EXPECT_TRUE(ui->messageBoxes().empty())
      << "both matches lie after the active cell: no wrap question";
}

TEST_F(FindReplaceTest, ReplacementHoldingTheFindTextIsNotSearchedAgain) {
  sheet.setCellData(1, 2, L"a a");
  sheet.setActiveCell(1, 2);
  dlg->setFindText(L"a");
  dlg->setReplaceText(L"aa");
  ASSERT_TRUE(dlg->replace());
  ASSERT_TRUE(dlg->replace());
  EXPECT_EQ(cell(1, 2), L"aa aa") << "the search goes on after the inserted text";
}

TEST_F(FindReplaceTest, ReplaceWithNothingFoundLeavesAStaleSelectionAlone) {
  sheet.setCellData(1, 2, L"abc");
  sheet.setActiveCell(1, 2);
  sheet.document().setEditing(true, 0, 2);  // "ab", selected by the person
  dlg->setFindText(L"xyz");
  ui->answerMessageBox(IDNO);
  EXPECT_FALSE(dlg->replace());
  EXPECT_EQ(cell(1, 2), L"abc")
      << "a selection that is not a match of the find text is never replaced";
}

TEST_F(FindReplaceTest, UnfinishedEntryIsWrittenBeforeTheSearch) {
  sheet.setActiveCell(2, 2);
  krv::win::Person::type(&sheet, L"new abc");
  dlg->setFindText(L"abc");
  dlg->setReplaceText(L"Z");
  ASSERT_TRUE(dlg->replace());
  EXPECT_EQ(cell(2, 2), L"new Z") << "the typed text was written, then searched";
}

TEST_F(FindReplaceTest, ReplaceAllCountsACellOnceAndReports) {
  sheet.setCellData(1, 1, L"IPE");
  dlg->setFindText(L"IPE");
  dlg->setReplaceText(L"HEB");
  ui->answerMessageBox(IDOK, L" 2 ");
  EXPECT_EQ(dlg->replaceAll(), 2);
  EXPECT_EQ(cell(1, 3), L"HEB 200 / HEB 240");
  EXPECT_EQ(cell(1, 1), L"HEB");
  EXPECT_TRUE(sheet.getBoolOption(krv::spread::kOptionChanged));
  ASSERT_EQ(ui->messageBoxes().size(), 1u);
  EXPECT_EQ(ui->messageBoxes()[0].caption, dialString(1149).str());
}

TEST_F(FindReplaceTest, KeysOnTheSheetRunFindAndReplaceWhenOpen) {
  dlg->setFindText(L"plate");
  dlg->setReplaceText(L"sheet");
  sheet.SetFocus();
  krv::win::Person::pressKey(&sheet, VK_F3);
  EXPECT_EQ(sheet.document().activeRow(), 4);
  sheet.setActiveCell(1, 1);
  krv::win::Person::pressKey(&sheet, VK_F5);
  EXPECT_EQ(cell(3, 4), L"sheet");
}

TEST_F(FindReplaceTest, DialogOfAVanishedSheetDoesNothing) {
  CDlgFindReplace orphan(nullptr);
  EXPECT_FALSE(orphan.findNext(true));
  EXPECT_FALSE(orphan.replace());
  EXPECT_EQ(orphan.replaceAll(), 0);
}

TEST_F(FindReplaceTest, AfterTheLastHitInTheCellFindNextGoesOnToTheNextCellWithTheText) {
  const int nextCol = 3, row = 3;
  sheet.setCellData(nextCol, row, L"2x IPE 300");
  const std::wstring find = L"ipe";
  dlg->setFindText(find);
  auto& d = sheet.document();
  ASSERT_TRUE(dlg->findNext(false));  // "IPE 200 / IPE 240" in (1, 3), first hit
  ASSERT_TRUE(dlg->findNext(false));  // its second and last hit
  const int lastHitInFirstCell = 10;  // after "IPE 200 / "
  ASSERT_EQ(d.editSelStart(), lastHitInFirstCell);
  ASSERT_TRUE(dlg->findNext(false));
  EXPECT_EQ(d.activeCol(), nextCol) << "the next cell in the same row holds the text";
  EXPECT_EQ(d.activeRow(), row);
  EXPECT_TRUE(d.editing());
  const int hitInNextCell = 3;  // after "2x "
  EXPECT_EQ(d.editSelStart(), hitInNextCell);
  EXPECT_EQ(d.editSelEnd(), hitInNextCell + static_cast<int>(find.size()));
  EXPECT_FALSE(dlg->findNext(false)) << "no further cell holds the text and wrapping is off";
}

}  // namespace
