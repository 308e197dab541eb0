#include "spread/dlg_ss_options.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform/win/person.h"
#include "spread/spread_test_support.h"

namespace {

using krv::win::Person;

class SheetOptionsTest : public krv::test::SheetOnDialog {
 protected:
  void SetUp() override {
    SheetOnDialog::SetUp();
    attach(3, 4);
    sheet.setCellData(2, krv::sheet::kHeaderIndex, L"Profile");
    sheet.setCellData(krv::sheet::kHeaderIndex, 1, L"first");
    sheet.document().setColWidth(0, 50);
    sheet.document().setRowHeight(0, 24);
    sheet.setCellData(1, 1, L"kept");
  }
  static CDlgSSOptions& options(CDialog& d) { return dynamic_cast<CDlgSSOptions&>(d); }
  static std::wstring cell(Krv_Spread& s, int col, int row) {
    Krv_String t;
    s.getCellString(col, row, t, Value);
    return t.str();
  }
  std::wstring header(int col, int row) { return cell(sheet, col, row); }
  // Types a count into its edit and leaves the edit with Tab.
  static void enterCount(CDialog& d, int edit, const std::wstring& text) {
    Person::replaceText(d.GetDlgItem(edit), text);
    Person::pressKey(&d, VK_TAB);
  }
};

TEST_F(SheetOptionsTest, OpensFilledFromTheSheetAndCancelChangesNothing) {
  ui->onModal(
      [](CDialog& d) {
        auto& o = options(d);
        EXPECT_EQ(d.GetWindowText(), dialString(1369).str());
        EXPECT_EQ(d.GetDlgItemText(CDlgSSOptions::kSummaryLabel),
                  dialString(1370).str() + L"\n" + dialString(1371).str());
        EXPECT_EQ(d.GetDlgItemText(CDlgSSOptions::kColumnHeadersLabel), dialString(1373).str());
        EXPECT_EQ(d.GetDlgItemText(CDlgSSOptions::kRowHeadersLabel), dialString(1375).str());
        EXPECT_EQ(d.GetDlgItemText(CDlgSSOptions::kColumnsEdit), L"3");
        EXPECT_EQ(d.GetDlgItemText(CDlgSSOptions::kRowsEdit), L"4");
        EXPECT_EQ(d.GetDlgItemText(CDlgSSOptions::kHeaderWidthEdit), L"50");
        EXPECT_EQ(d.GetDlgItemText(CDlgSSOptions::kHeaderHeightEdit), L"24");

        Krv_Spread& cols = o.columnEditor();
        ASSERT_TRUE(cols.isCreated());
        EXPECT_EQ(cols.GetDlgCtrlID(), CDlgSSOptions::kColumnHeaderFrame);
        EXPECT_EQ(cols.getMaxCols(), 3);
        EXPECT_EQ(cols.getMaxRows(), 1);
        EXPECT_EQ(cols.document().colWidth(0), 50);
        EXPECT_TRUE(cols.getBoolOption(10));
        EXPECT_FALSE(cols.getBoolOption(11));
        EXPECT_FALSE(cols.getBoolOption(3));
        EXPECT_FALSE(cols.getBoolOption(4));
        EXPECT_EQ(cell(cols, 1, 1), L"A");
        EXPECT_EQ(cell(cols, 2, 1), L"Profile");
        EXPECT_EQ(cell(cols, 3, 1), L"C");

        Krv_Spread& rows = o.rowEditor();
        ASSERT_TRUE(rows.isCreated());
        EXPECT_EQ(rows.getMaxCols(), 1);
        EXPECT_EQ(rows.getMaxRows(), 4);
        EXPECT_EQ(rows.document().rowHeight(0), 24);
        EXPECT_FALSE(rows.getBoolOption(10));
        EXPECT_TRUE(rows.getBoolOption(11));
        EXPECT_EQ(cell(rows, 1, 1), L"first");
        EXPECT_EQ(cell(rows, 1, 4), L"4");

        // A person's changes, then Cancel.
        Person::replaceText(d.GetDlgItem(CDlgSSOptions::kColumnsEdit), L"7");
        Person::replaceText(d.GetDlgItem(CDlgSSOptions::kHeaderWidthEdit), L"90");
        Person::click(&d, IDCANCEL);
      },
      CDlgSSOptions::IDD);
  EXPECT_FALSE(editSheetOptions(sheet, &dialogWnd));
  EXPECT_EQ(sheet.getMaxCols(), 3);
  EXPECT_EQ(sheet.document().colWidth(0), 50);
  EXPECT_FALSE(sheet.getBoolOption(krv::spread::kOptionChanged));
}

TEST_F(SheetOptionsTest, LoweringAndRaisingACountBringsBackTypedAndFirstGivenTexts) {
  ui->onModal(
      [](CDialog& d) {
        auto& o = options(d);
        Krv_Spread& cols = o.columnEditor();
        cols.setActiveCell(1, 1);
        Person::type(&cols, L"Mark");
        Person::pressKey(&cols, VK_RETURN);
        cols.setActiveCell(2, 1);
        Person::type(&cols, L"Mass");  // left open in the cell's editor
        enterCount(d, CDlgSSOptions::kColumnsEdit, L"1");
        EXPECT_EQ(cols.getMaxCols(), 1);
        EXPECT_EQ(cell(cols, 1, 1), L"Mark");
        enterCount(d, CDlgSSOptions::kColumnsEdit, L"5");
        ASSERT_EQ(cols.getMaxCols(), 5);
        EXPECT_EQ(cell(cols, 1, 1), L"Mark");
        EXPECT_EQ(cell(cols, 2, 1), L"Mass");
        EXPECT_EQ(cell(cols, 3, 1), L"C") << "first-given text where nothing was typed";
        EXPECT_EQ(cell(cols, 4, 1), L"");
        EXPECT_EQ(cell(cols, 5, 1), L"");
        cols.setActiveCell(4, 1);
        Person::type(&cols, L"Remark");
        Person::pressKey(&cols, VK_RETURN);

        // The same for rows, and a text that is not yet a count changes nothing.
        Krv_Spread& rows = o.rowEditor();
        rows.setActiveCell(1, 2);
        Person::type(&rows, L"second");
        Person::pressKey(&rows, VK_RETURN);
        enterCount(d, CDlgSSOptions::kRowsEdit, L"");
        EXPECT_EQ(rows.getMaxRows(), 4);
        Person::replaceText(d.GetDlgItem(CDlgSSOptions::kRowsEdit), L"1");
        EXPECT_EQ(rows.getMaxRows(), 4) << "only leaving the edit applies the count";
        Person::pressKey(&d, VK_TAB);
        EXPECT_EQ(rows.getMaxRows(), 1);
        enterCount(d, CDlgSSOptions::kRowsEdit, L"6");
        EXPECT_EQ(cell(rows, 1, 1), L"first");
        EXPECT_EQ(cell(rows, 1, 2), L"second");
        EXPECT_EQ(cell(rows, 1, 3), L"3");
        Person::click(&d, IDOK);
      },
      CDlgSSOptions::IDD);
  ASSERT_TRUE(editSheetOptions(sheet, &dialogWnd));
  EXPECT_EQ(sheet.getMaxCols(), 5);
  EXPECT_EQ(sheet.getMaxRows(), 6);
  EXPECT_EQ(header(1, 0), L"Mark");
  EXPECT_EQ(header(2, 0), L"Mass");
  EXPECT_EQ(header(3, 0), L"C");
  EXPECT_FALSE(sheet.document().hasHeaderText(3, 0)) << "an unchanged default label stays default";
  EXPECT_EQ(header(4, 0), L"Remark");
  EXPECT_FALSE(sheet.document().hasHeaderText(5, 0));
  EXPECT_EQ(header(5, 0), L"E");
  EXPECT_EQ(header(0, 1), L"first");
  EXPECT_EQ(header(0, 2), L"second");
  EXPECT_EQ(header(0, 6), L"6");
  EXPECT_EQ(cell(sheet, 1, 1), L"kept");
  EXPECT_TRUE(sheet.getBoolOption(krv::spread::kOptionChanged));
}

TEST_F(SheetOptionsTest, HeaderSizesApplyToTheEditorsAtOnceAndToTheSheetOnOk) {
  ui->onModal(
      [](CDialog& d) {
        auto& o = options(d);
        Person::replaceText(d.GetDlgItem(CDlgSSOptions::kHeaderWidthEdit), L"80");
        EXPECT_EQ(o.columnEditor().document().colWidth(0), 80);
        Person::replaceText(d.GetDlgItem(CDlgSSOptions::kHeaderHeightEdit), L"31");
        EXPECT_EQ(o.rowEditor().document().rowHeight(0), 31);
        Person::click(&d, IDOK);
      },
      CDlgSSOptions::IDD);
  ASSERT_TRUE(editSheetOptions(sheet, &dialogWnd));
  EXPECT_EQ(sheet.document().colWidth(0), 80);
  EXPECT_EQ(sheet.document().rowHeight(0), 31);
  EXPECT_EQ(sheet.getMaxCols(), 3);
  EXPECT_EQ(header(2, 0), L"Profile");
}

TEST_F(SheetOptionsTest, AnEmptySheetGetsItsFirstLinesAndHeaders) {
  sheet.setMaxCols(0);
  sheet.setMaxRows(0);
  ui->onModal(
      [](CDialog& d) {
        auto& o = options(d);
        EXPECT_EQ(o.columnEditor().getMaxCols(), 0);
        EXPECT_EQ(o.rowEditor().getMaxRows(), 0);
        enterCount(d, CDlgSSOptions::kColumnsEdit, L"2");
        enterCount(d, CDlgSSOptions::kRowsEdit, L"1");
        Krv_Spread& cols = o.columnEditor();
        cols.setActiveCell(2, 1);
        Person::type(&cols, L"Grade");
        Person::click(&d, IDOK);  // the open entry is read back too
      },
      CDlgSSOptions::IDD);
  ASSERT_TRUE(editSheetOptions(sheet, &dialogWnd));
  EXPECT_EQ(sheet.getMaxCols(), 2);
  EXPECT_EQ(sheet.getMaxRows(), 1);
  EXPECT_EQ(header(1, 0), L"A");
  EXPECT_EQ(header(2, 0), L"Grade");
}

TEST_F(SheetOptionsTest, BadValuesAreRefusedWithAMessageAndTheDialogStaysOpen) {
  ui->onModal(
      [this](CDialog& d) {
        auto& o = options(d);
        struct Case {
          int edit;
          const wchar_t* text;
          int message;
        };
        for (Case c : {Case{CDlgSSOptions::kColumnsEdit, L"abc", 1380},
                       Case{CDlgSSOptions::kColumnsEdit, L"-2", 1380},
                       Case{CDlgSSOptions::kColumnsEdit, L"16385", 1380},
                       Case{CDlgSSOptions::kRowsEdit, L"99999999999", 1381},
                       Case{CDlgSSOptions::kRowsEdit, L"2.5", 1381},
                       Case{CDlgSSOptions::kHeaderWidthEdit, L"", 1382},
                       Case{CDlgSSOptions::kHeaderHeightEdit, L"x", 1382}}) {
          const std::wstring before = d.GetDlgItemText(c.edit);
          Person::replaceText(d.GetDlgItem(c.edit), c.text);
          ui->answerMessageBox(IDOK, dialString(c.message).str());
          Person::click(&d, IDOK);
          EXPECT_TRUE(o.isRunningModal()) << c.text;
          EXPECT_EQ(CWnd::GetFocus(), d.GetDlgItem(c.edit)) << c.text;
          Person::replaceText(d.GetDlgItem(c.edit), before);
        }
        EXPECT_EQ(o.columnEditor().getMaxCols(), 3);
        EXPECT_EQ(o.rowEditor().getMaxRows(), 4);
        Person::click(&d, IDCANCEL);
      },
      CDlgSSOptions::IDD);
  EXPECT_FALSE(editSheetOptions(sheet, &dialogWnd));
  EXPECT_EQ(sheet.getMaxCols(), 3);
  EXPECT_EQ(sheet.getMaxRows(), 4);
}

TEST_F(SheetOptionsTest, AHundredThousandRowsAreEditedQuickly) {
  sheet.setMaxRows(100000);
  sheet.setCellData(krv::sheet::kHeaderIndex, 99999, L"last but one");
  const auto start = std::chrono::steady_clock::now();
  ui->onModal(
      [](CDialog& d) {
        auto& o = options(d);
        EXPECT_EQ(o.rowEditor().getMaxRows(), 100000);
        EXPECT_EQ(cell(o.rowEditor(), 1, 99999), L"last but one");
        enterCount(d, CDlgSSOptions::kRowsEdit, L"100001");
        Person::click(&d, IDOK);
      },
      CDlgSSOptions::IDD);
  ASSERT_TRUE(editSheetOptions(sheet, &dialogWnd));
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(sheet.getMaxRows(), 100001);
  EXPECT_EQ(header(0, 99999), L"last but one");
  EXPECT_EQ(header(0, 100001), L"100001");
  EXPECT_LT(seconds, 2.0);
}

}  // namespace
