#include "platform/sheet/control_document.h"

#include <gtest/gtest.h>

namespace krv::sheet {
namespace {

class ControlDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.setMaxCols(4);
    doc.setMaxRows(5);
  }
  std::wstring data(int c, int r) { return doc.data(c, r).value_or(L"<none>"); }
  ControlDocument doc;
};

TEST_F(ControlDocumentTest, DataTextsReadBackExactlyAndNumbersComputeInFormulas) {
  for (const wchar_t* t :
       {L"12.5", L"12.50", L"1,000", L"007", L"=not a formula", L"TRUE", L" x "}) {
    ASSERT_TRUE(doc.setData(1, 1, t));
    EXPECT_EQ(data(1, 1), t);
  }
  doc.setData(1, 1, L"12.5");
  doc.setData(1, 2, L"12.50");
  ASSERT_TRUE(doc.setFormula(2, 1, L"=A1+A2"));
  EXPECT_EQ(data(2, 1), L"25");
  EXPECT_EQ(*doc.formula(2, 1), L"=A1+A2");
  EXPECT_FALSE(doc.setFormula(2, 2, L"=1+"));
  EXPECT_EQ(*doc.formula(2, 2), L"");
}

TEST_F(ControlDocumentTest, EditCellsKeepNumbersAsTextThatFormulasStillConvert) {
  doc.changeAttributes(1, 1, 1, 2, [](CellAttributes& a) { a.type = kCellTypeEdit; });
  ASSERT_TRUE(doc.setData(1, 1, L"8.8"));
  ASSERT_TRUE(doc.setData(2, 1, L"8.8"));  // a general cell stores the number
  ASSERT_TRUE(doc.setFormula(3, 1, L"=ISTEXT(A1)"));
  ASSERT_TRUE(doc.setFormula(3, 2, L"=ISTEXT(B1)"));
  ASSERT_TRUE(doc.setFormula(3, 3, L"=A1*2"));
  ASSERT_TRUE(doc.setFormula(3, 4, L"=A1&\";S235\""));
  EXPECT_EQ(data(1, 1), L"8.8");
  EXPECT_EQ(*doc.valueText(3, 1), L"TRUE");
  EXPECT_EQ(*doc.valueText(3, 2), L"FALSE");
  EXPECT_EQ(*doc.valueText(3, 3), L"17.6");
  EXPECT_EQ(*doc.valueText(3, 4), L"8.8;S235");
}

TEST_F(ControlDocumentTest, OutsideTheSheetIsRefusedAndHeadersAddressedByBothIndices) {
  EXPECT_FALSE(doc.data(5, 1).has_value());
  EXPECT_FALSE(doc.data(1, 6).has_value());
  EXPECT_FALSE(doc.setData(1, 6, L"x"));
  EXPECT_FALSE(doc.setData(-2, 1, L"x"));
  EXPECT_EQ(data(3, kHeaderIndex), L"C");
  EXPECT_EQ(data(0, 4), L"4");
  doc.setData(3, kHeaderIndex, L"Length");
  EXPECT_EQ(data(3, 0), L"Length");
  doc.setTag(0, 0, L"settings");
  EXPECT_EQ(*doc.tag(kHeaderIndex, kHeaderIndex), L"settings");
}

TEST_F(ControlDocumentTest, NumberFormatShapesTheValueTextButNotTheData) {
  doc.changeAttributes(2, 1, 2, -1, [](CellAttributes& a) {
    a.type = kCellTypeNumber;
    a.decimals = 2;
    a.style = kNumberStyleThousands;
  });
  doc.setData(2, 3, L"1234.5");
  EXPECT_EQ(*doc.valueText(2, 3), L"1,234.50");
  EXPECT_EQ(data(2, 3), L"1234.5");
  EXPECT_EQ(doc.cellType(2, 5), kCellTypeNumber);
  EXPECT_EQ(doc.cellType(1, 5), kCellTypeGeneral);
  // A cell changed on its own keeps the column's other attributes.
  doc.changeAttributes(2, 2, 2, 2, [](CellAttributes& a) { a.backColor = 0xFF; });
  EXPECT_EQ(doc.attributes(2, 2).type, kCellTypeNumber);
  EXPECT_EQ(doc.attributes(2, 2).backColor, 0xFFu);
  EXPECT_EQ(doc.attributes(2, 3).backColor, kColorDefault);
}

TEST_F(ControlDocumentTest, InsertAndDeleteRowsMoveEverythingBelow) {
  doc.setData(1, 2, L"a");
  doc.setData(1, 3, L"b");
  doc.setTag(2, 3, L"tag b");
  doc.setRowHeight(3, 30);
  doc.setData(0, 3, L"row b");
  ASSERT_TRUE(doc.insertRows(3));
  EXPECT_EQ(doc.maxRows(), 6);
  EXPECT_EQ(data(1, 3), L"");
  EXPECT_EQ(data(1, 4), L"b");
  EXPECT_EQ(*doc.tag(2, 4), L"tag b");
  EXPECT_EQ(doc.rowHeight(4), 30);
  EXPECT_EQ(data(0, 4), L"row b");
  ASSERT_TRUE(doc.deleteRows(2));
  EXPECT_EQ(doc.maxRows(), 5);
  EXPECT_EQ(data(1, 3), L"b");
  EXPECT_FALSE(doc.insertRows(8));
}

TEST_F(ControlDocumentTest, FormulasMoveWithTheirRowAndKeepComputing) {
  doc.setData(1, 1, L"2");
  EXPECT_TRUE(doc.setFormula(1, 3, L"=A1*10"));
  doc.insertRows(2);
  EXPECT_EQ(*doc.formula(1, 4), L"=A1*10");
  EXPECT_EQ(data(1, 4), L"20");
  doc.swapRows(1, 4);
  EXPECT_EQ(data(1, 4), L"2");
}

TEST_F(ControlDocumentTest, SpansMustFitAndNotOverlap) {
  EXPECT_TRUE(doc.addSpan(1, 1, 2, 2));
  EXPECT_FALSE(doc.addSpan(2, 2, 2, 1));  // overlaps
  EXPECT_FALSE(doc.addSpan(4, 1, 2, 1));  // beyond the last column
  EXPECT_FALSE(doc.addSpan(1, 5, 1, 2));  // beyond the last row
  EXPECT_TRUE(doc.spanAt(2, 2).has_value());
  EXPECT_FALSE(doc.spanAt(3, 3).has_value());
  EXPECT_TRUE(doc.removeSpan(1, 1));
  EXPECT_FALSE(doc.removeSpan(1, 1));
}

TEST_F(ControlDocumentTest, BlocksCopyAndPasteAsTabSeparatedText) {
  doc.setData(1, 1, L"x");
  doc.setData(2, 1, L"3");
  EXPECT_TRUE(doc.setFormula(1, 2, L"=B1*2"));
  std::wstring block = doc.copyBlock(1, 1, 2, 2);
  EXPECT_EQ(block, L"x\t3\r\n=B1*2\t\r\n");
  ASSERT_TRUE(doc.pasteBlock(3, 4, block));
  EXPECT_EQ(data(3, 4), L"x");
  EXPECT_EQ(data(4, 4), L"3");
  EXPECT_EQ(*doc.formula(3, 5), L"=B1*2");
}

TEST_F(ControlDocumentTest, AutomaticCalculationIsOptionSeven) {
  doc.setData(1, 1, L"1");
  EXPECT_TRUE(doc.setFormula(2, 1, L"=A1+1"));
  doc.setData(1, 1, L"5");
  EXPECT_EQ(data(2, 1), L"2");
  doc.setBoolOption(kOptionAutoCalc, true);
  EXPECT_EQ(data(2, 1), L"6");
  doc.setData(1, 1, L"7");
  EXPECT_EQ(data(2, 1), L"8");
}

TEST_F(ControlDocumentTest, BlockWithTabsAndLineBreaksInCellsPastesBackIntoTheSameCells) {
  doc.setData(1, 1, L"a\tb");
  doc.setData(2, 1, L"c");
  doc.setData(1, 2, L"line 1\r\nline 2");
  doc.setData(2, 2, L"d\ne");
  const std::wstring block = doc.copyBlock(1, 1, 2, 2);
  // A tab or line break inside a cell would start another field or line
  // and shift every cell after it.
  EXPECT_EQ(block, L"a b\tc\r\nline 1  line 2\td e\r\n")
      << "one line per row, one tab between cells";

  const int32_t pasteCol = 3, pasteRow = 3;
  ASSERT_TRUE(doc.pasteBlock(pasteCol, pasteRow, block));
  EXPECT_EQ(data(pasteCol, pasteRow), L"a b");
  EXPECT_EQ(data(pasteCol + 1, pasteRow), L"c");
  EXPECT_EQ(data(pasteCol, pasteRow + 1), L"line 1  line 2");
  EXPECT_EQ(data(pasteCol + 1, pasteRow + 1), L"d e");
  EXPECT_EQ(data(pasteCol, pasteRow + 2), L"")
      << "the block has two rows, nothing lands below them";
}

TEST_F(ControlDocumentTest, ResetGivesExactlyTheOptionsOfANewControl) {
  const ControlDocument fresh;
  ASSERT_TRUE(fresh.boolOption(kOptionRedraw)) << "a new control draws";
  for (int i = 0; i < ControlDocument::kOptionCount; ++i) {
    doc.setBoolOption(i, !fresh.boolOption(i));
    doc.setIntOption(i, i + 1);
  }
  doc.look().textTipDelay = 1;
  constexpr int32_t kAllLines = -1;
  doc.setRowHeight(kAllLines, 30.0);
  doc.setColWidth(kAllLines, 30.0);
  doc.reset();
  for (int i = 0; i < ControlDocument::kOptionCount; ++i) {
    EXPECT_EQ(doc.boolOption(i), fresh.boolOption(i)) << "boolean option " << i;
    EXPECT_EQ(doc.intOption(i), fresh.intOption(i)) << "integer option " << i;
  }
  EXPECT_EQ(doc.look(), fresh.look());
  EXPECT_EQ(doc.defaultRowHeight(), fresh.defaultRowHeight());
  EXPECT_EQ(doc.defaultColWidth(), fresh.defaultColWidth());
  EXPECT_EQ(doc.maxRows(), fresh.maxRows());
  EXPECT_EQ(doc.maxCols(), fresh.maxCols());
}

TEST_F(ControlDocumentTest, ClearCellEmptiesCellsAndHeadersInsideTheSheetOnly) {
  doc.setData(1, 1, L"x");
  EXPECT_TRUE(doc.setFormula(2, 1, L"=A1"));
  constexpr int32_t kHeader = 0;
  doc.setData(1, kHeader, L"Name");
  EXPECT_TRUE(doc.clearCell(1, 1));
  EXPECT_EQ(data(1, 1), L"");
  EXPECT_TRUE(doc.clearCell(2, 1));
  EXPECT_EQ(*doc.formula(2, 1), L"") << "a cleared formula cell holds nothing";
  EXPECT_TRUE(doc.clearCell(1, kHeader));
  EXPECT_EQ(data(1, kHeader), L"A") << "the column header is back to its letter";
  EXPECT_FALSE(doc.clearCell(doc.maxCols() + 1, 1));
  EXPECT_FALSE(doc.clearCell(1, doc.maxRows() + 1));
}

}  // namespace
}  // namespace krv::sheet
