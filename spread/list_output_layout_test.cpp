#include "spread/list_output_layout.h"

#include <gtest/gtest.h>

#include "platform/acad/command_line.h"
#include "platform/core/list_output.h"
#include "platform/win/person.h"
#include "spread/cformula.h"
#include "spread/spread_test_support.h"

namespace {

using krv::sheet::CellAttributes;
using Row = ListOutputRow;

class ListOutputTest : public krv::test::SheetOnDialog {
 protected:
  void SetUp() override {
    SheetOnDialog::SetUp();
    attach(1, 1);
    ASSERT_TRUE(templateSheet.createInParent(&dialogWnd, CRect(0, 0, 200, 100), 501));
  }
  void TearDown() override {
    templateSheet.DestroyWindow();
    SheetOnDialog::TearDown();
  }
  // Members of two groups, each closed by a total; a title above.
  static ListOutputDescription bill() {
    ListOutputDescription list;
    list.title = L"Bill of material";
    list.columnCount = 3;
    list.headers = {L"Profile", L"Count", L"Mass"};
    list.columnKinds.append(kListColumnText);
    list.columnKinds.append(kListColumnInteger);
    list.columnKinds.append(kListColumnDecimal);
    list.rows = {{Row::kMerged, {L"Columns"}},
                 {Row::kRegular, {L"HEA 200", L"2", L"190.4"}},
                 {Row::kRegular, {L"HEA 240", L"3", L"272.7"}},
                 {Row::kTotal, {L"Total", L"99", L"99"}},
                 {Row::kMerged, {L"Beams"}},
                 {Row::kRegular, {L"IPE 300", L"4", L"253.25"}},
                 {Row::kTotal, {L"Total"}},
                 {Row::kTotal, {L"Nothing to add up here"}}};
    return list;
  }
  std::wstring value(int col, int row) {
    Krv_String t;
    sheet.getCellString(col, row, t, Value);
    return t.str();
  }
  const CellAttributes& at(int col, int row) { return sheet.document().attributes(col, row); }

  Krv_Spread templateSheet;
  std::wstring error;
};

TEST_F(ListOutputTest, RowsColumnsFormatsAndTotalsOfTheGroups) {
  ASSERT_TRUE(ListOutputLayout::layOut(sheet, nullptr, bill(), error)) << error;
  EXPECT_EQ(sheet.getMaxCols(), 3);
  EXPECT_EQ(sheet.getMaxRows(), 9);
  EXPECT_EQ(value(2, 0), L"Count");
  EXPECT_EQ(value(1, 1), L"Bill of material");
  auto span = sheet.document().spanAt(3, 1);
  ASSERT_TRUE(span);
  EXPECT_EQ(span->numCols, 3);
  ASSERT_TRUE(sheet.document().spanAt(2, 6));
  EXPECT_FALSE(sheet.document().spanAt(2, 3));

  // Column types: text, whole number, one decimal, with the list bounds.
  EXPECT_EQ(at(1, 3).type, krv::sheet::kCellTypeEdit);
  EXPECT_EQ(at(1, 3).maxLength, ListOutputLayout::kMaxTextLength);
  EXPECT_EQ(at(2, 3).type, krv::sheet::kCellTypeNumber);
  EXPECT_EQ(at(2, 3).decimals, 0);
  EXPECT_EQ(at(3, 3).decimals, 1);
  EXPECT_EQ(at(3, 3).minValue, kListNumberMin);
  EXPECT_EQ(at(3, 3).maxValue, kListNumberMax);

  // Totals: the rows of their own group only, whatever the row's texts say.
  EXPECT_EQ(value(1, 5), L"Total");
  EXPECT_EQ(value(2, 5), L"5");
  EXPECT_EQ(value(3, 5), L"463.1");
  Krv_String formula;
  sheet.getCellString(2, 5, formula, Formula);
  EXPECT_TRUE(formula.equal(Krv_String(L"=SUM(B2:B4)"), false)) << formula.str();
  EXPECT_EQ(value(2, 8), L"4");
  EXPECT_EQ(value(3, 8), L"253.3");
  EXPECT_EQ(value(2, 9), L"0") << "a total right after a total closes an empty group";
  EXPECT_EQ(value(1, 9), L"Nothing to add up here");
  // Columns as wide as their texts need, at least the default width.
  const auto& d = sheet.document();
  EXPECT_GT(d.colWidth(1), d.defaultColWidth());
  EXPECT_EQ(d.colWidth(2), d.defaultColWidth());
  EXPECT_EQ(ListOutputLayout::totalFormula(28, 2, 14).str(), L"=sum(AB2:AB14)");
}

TEST_F(ListOutputTest, TheTemplateGivesEachKindOfRowItsLook) {
  ListOutputDescription list = bill();
  list.columnCount = 4;  // one column more than the template has
  list.templateFile = Krv_String(KRV_SOURCE_DIR "/examples/install/list_template.vts");
  ASSERT_TRUE(ListOutputLayout::layOut(sheet, &templateSheet, list, error)) << error;
  EXPECT_EQ(at(1, 1).fontHeight, 22);
  EXPECT_EQ(at(1, 1).fontWeight, 700);
  EXPECT_EQ(at(2, 0).backColor, 14737632u) << "column names";
  EXPECT_EQ(at(1, 3).borderMask, 15u) << "regular";
  EXPECT_EQ(at(1, 3).fontWeight, 400);
  EXPECT_EQ(at(4, 3).borderMask, 15u) << "a column beyond the template's takes its last one";
  EXPECT_EQ(at(1, 2).backColor, 16115415u) << "merged";
  EXPECT_EQ(at(1, 5).backColor, 13434879u) << "total";
  EXPECT_EQ(at(4, 8).borderMask, 4u);
  EXPECT_EQ(at(2, 3).type, krv::sheet::kCellTypeNumber) << "the template gives no types";
  // The template's merged and title rows span all its columns: all four.
  auto span = sheet.document().spanAt(1, 6);
  ASSERT_TRUE(span);
  EXPECT_EQ(span->numCols, 4);
  // Heights follow the fonts: the title's 22 pixel font, the rows' 15.
  EXPECT_EQ(sheet.document().rowHeight(1), 22 + ListOutputLayout::kRowMargin);
  EXPECT_EQ(sheet.document().rowHeight(3), 15 + ListOutputLayout::kRowMargin);
  EXPECT_EQ(sheet.document().rowHeight(2), 17 + ListOutputLayout::kRowMargin);
}

TEST_F(ListOutputTest, AMissingTemplateLeavesTheLayoutUnformattedAndSaysSo) {
  ListOutputDescription list = bill();
  list.templateFile = L"/nowhere/list_template.vts";
  acad::CommandLineCapture out;
  ASSERT_TRUE(ListOutputLayout::layOut(sheet, &templateSheet, list, error)) << error;
  EXPECT_NE(out.text().find(L"List template not loaded: /nowhere/list_template.vts"),
            std::wstring::npos)
      << out.text();
  EXPECT_EQ(value(2, 5), L"5");
  EXPECT_EQ(at(1, 3).borderMask, 0u);
}

TEST_F(ListOutputTest, AListWithoutColumnsIsRefusedAndTheSheetKept) {
  sheet.setCellData(1, 1, L"kept");
  ListOutputDescription list = bill();
  list.columnCount = 0;
  EXPECT_FALSE(ListOutputLayout::layOut(sheet, &templateSheet, list, error));
  EXPECT_EQ(error, L"The list has no columns.");
  EXPECT_EQ(value(1, 1), L"kept");
  list.columnCount = krv::sheet::kControlMaxCols + 1;
  EXPECT_FALSE(ListOutputLayout::layOut(sheet, &templateSheet, list, error));
  EXPECT_EQ(sheet.getMaxCols(), 1);
}

TEST_F(ListOutputTest, TheFormulaWindowShowsTheListOrEndsWithTheReason) {
  ListOutputDescription list = bill();
  list.templateFile = Krv_String(KRV_SOURCE_DIR "/examples/install/list_template.vts");
  CFormula window(&dialogWnd);
  window.mMode = CFormula::kListOutput;
  window.mListOutput = &list;
  ui->onModal(
      [](CDialog& d) {
        auto& w = dynamic_cast<CFormula&>(d);
        EXPECT_EQ(w.mSheet.getMaxRows(), 9);
        Krv_String t;
        w.mSheet.getCellString(3, 5, t, Value);
        EXPECT_EQ(t.str(), L"463.1");
        EXPECT_EQ(w.mSheet.document().attributes(1, 1).fontHeight, 22);
        EXPECT_FALSE(w.mTemplateSheet.IsWindowVisible());
        krv::win::Person::click(&d, IDOK);
      },
      CFormula::IDD);
  EXPECT_EQ(window.DoModal(), IDOK);

  ListOutputDescription empty;
  CFormula refused(&dialogWnd);
  refused.mMode = CFormula::kListOutput;
  refused.mListOutput = &empty;
  acad::CommandLineCapture out;
  EXPECT_EQ(refused.DoModal(), IDCANCEL);
  EXPECT_NE(out.text().find(L"The list has no columns."), std::wstring::npos) << out.text();
}

}  // namespace
