#include "platform/sheet/cell_document.h"

#include <gtest/gtest.h>

#include "platform/sheet/formula_parser.h"

namespace krv::sheet {
namespace {

TEST(CellDocument, FormulaIsEvaluatedAtOnceEvenWithoutAutomaticCalculation) {
  CellDocument doc;
  ASSERT_FALSE(doc.autoCalc());
  EXPECT_TRUE(doc.setCellText(1, 1, "4"));
  ASSERT_TRUE(doc.setFormula(2, 1, "A1*2"));  // leading "=" optional
  EXPECT_EQ(doc.valueText(2, 1), "8");
  EXPECT_EQ(doc.formulaText(2, 1), "=A1*2");
  // Without automatic calculation a changed input does not reach B1 ...
  EXPECT_TRUE(doc.setCellText(1, 1, "5"));
  EXPECT_EQ(doc.valueText(2, 1), "8");
  // ... until the cell or the sheet is recalculated.
  EXPECT_TRUE(doc.recalcCell(2, 1));
  EXPECT_EQ(doc.valueText(2, 1), "10");
  EXPECT_FALSE(doc.recalcCell(1, 1));
}

TEST(CellDocument, AutomaticCalculationUpdatesDependentsInOrder) {
  CellDocument doc;
  doc.setAutoCalc(true);
  EXPECT_TRUE(doc.setCellText(1, 1, "1"));
  EXPECT_TRUE(doc.setFormula(1, 3, "=A2*10"));  // refers to a formula set later
  EXPECT_TRUE(doc.setFormula(1, 2, "=A1+1"));
  EXPECT_TRUE(doc.setFormula(1, 4, "=SUM(A1:A3)"));
  EXPECT_EQ(doc.valueText(1, 3), "20");
  EXPECT_EQ(doc.valueText(1, 4), "23");
  EXPECT_TRUE(doc.setCellText(1, 1, "2"));
  EXPECT_EQ(doc.valueText(1, 2), "3");
  EXPECT_EQ(doc.valueText(1, 3), "30");
  EXPECT_EQ(doc.valueText(1, 4), "35");
  doc.clearCell(1, 2);  // removing a formula updates the range sum too
  EXPECT_EQ(doc.valueText(1, 3), "0");
  EXPECT_EQ(doc.valueText(1, 4), "2");
}

TEST(CellDocument, RecalcAllFollowsDependencyOrderNotCellOrder) {
  CellDocument doc;
  EXPECT_TRUE(doc.setCellText(1, 10, "1"));
  for (int r = 9; r >= 1; --r)
    EXPECT_TRUE(doc.setFormula(1, r, "=A" + std::to_string(r + 1) + "*2"));
  EXPECT_TRUE(doc.setCellText(1, 10, "3"));
  doc.recalcAll();
  EXPECT_EQ(doc.valueText(1, 1), std::to_string(3 * 512));
}

TEST(CellDocument, CircularReferencesGiveAnErrorNotAHang) {
  CellDocument doc;
  ASSERT_TRUE(doc.setFormula(1, 1, "=A1+1"));
  EXPECT_EQ(doc.valueText(1, 1), "#REF!");
  EXPECT_TRUE(doc.setFormula(2, 1, "=C1+1"));
  EXPECT_TRUE(doc.setFormula(3, 1, "=B1+1"));
  EXPECT_TRUE(doc.setFormula(4, 1, "=C1*2"));  // depends on the cycle
  EXPECT_TRUE(doc.setFormula(5, 1, "=7"));     // independent
  doc.recalcAll();
  EXPECT_EQ(doc.valueText(2, 1), "#REF!");
  EXPECT_EQ(doc.valueText(3, 1), "#REF!");
  EXPECT_EQ(doc.valueText(4, 1), "#REF!");
  EXPECT_EQ(doc.valueText(5, 1), "7");
  // Automatic calculation finds a cycle closed by a new formula.
  CellDocument autoDoc;
  autoDoc.setAutoCalc(true);
  EXPECT_TRUE(autoDoc.setFormula(1, 1, "=B1"));
  EXPECT_TRUE(autoDoc.setFormula(2, 1, "=A1"));
  EXPECT_EQ(autoDoc.valueText(1, 1), "#REF!");
  EXPECT_EQ(autoDoc.valueText(2, 1), "#REF!");
}

TEST(CellDocument, RejectedFormulaKeepsThePreviousContent) {
  CellDocument doc;
  EXPECT_TRUE(doc.setFormula(1, 1, "=1+2"));
  for (const char* bad :
       {"=1+", "=SUM(1", "=ROUND(1)", "=IF(1,2,3,4)", "=\"open", "=(1))", "=1 2", "="}) {
    const krv::base::Status set = doc.setFormula(1, 1, bad);
    EXPECT_FALSE(set) << bad;
    EXPECT_FALSE(set.message().empty()) << bad;
    EXPECT_EQ(doc.formulaText(1, 1), "=1+2") << bad;
    EXPECT_EQ(doc.valueText(1, 1), "3") << bad;
  }
  EXPECT_TRUE(doc.setCellText(2, 2, "text"));
  EXPECT_FALSE(doc.setCellText(2, 2, "=1+*2"));
  EXPECT_EQ(doc.valueText(2, 2), "text");
}

TEST(CellDocument, TypedTextIsInterpretedAsAPersonTypesIt) {
  CellDocument doc;
  EXPECT_TRUE(doc.setCellText(1, 1, "12.5"));
  EXPECT_TRUE(doc.setCellText(1, 2, "true"));
  EXPECT_TRUE(doc.setCellText(1, 3, "#N/A"));
  EXPECT_TRUE(doc.setCellText(1, 4, "12 apples"));
  EXPECT_TRUE(doc.setCellText(1, 5, "1,000"));
  EXPECT_TRUE(doc.value(1, 1).isNumber());
  EXPECT_TRUE(doc.value(1, 2).isBool());
  EXPECT_TRUE(doc.value(1, 3).isError());
  EXPECT_TRUE(doc.value(1, 4).isText());
  EXPECT_EQ(doc.value(1, 5).number(), 1000);
  EXPECT_TRUE(doc.setCellText(1, 1, ""));
  EXPECT_TRUE(doc.value(1, 1).isEmpty());
}

TEST(CellDocument, SheetSizeBoundsCellsAndReferences) {
  CellDocument doc(8, 10);
  EXPECT_FALSE(doc.setCellText(9, 1, "1"));
  EXPECT_FALSE(doc.setFormula(1, 11, "=1"));
  ASSERT_TRUE(doc.setFormula(1, 1, "=H10+1"));
  EXPECT_EQ(doc.valueText(1, 1), "1");
  ASSERT_TRUE(doc.setFormula(1, 2, "=I1+1"));  // beyond the last column
  EXPECT_EQ(doc.valueText(1, 2), "#REF!");
  ASSERT_TRUE(doc.setFormula(1, 3, "=SUM(A5:A11)"));
  EXPECT_EQ(doc.valueText(1, 3), "#REF!");
  EXPECT_TRUE(doc.setCellText(2, 9, "5"));
  EXPECT_TRUE(doc.setFormula(3, 9, "=B9"));
  ASSERT_TRUE(doc.setMaxRows(5));  // shrinking drops cells and formulas below
  EXPECT_TRUE(doc.value(2, 9).isEmpty());
  EXPECT_FALSE(doc.hasFormula(3, 9));
  doc.recalcAll();
  EXPECT_EQ(doc.valueText(1, 1), "#REF!");
  EXPECT_FALSE(doc.setMaxCols(-1));
  EXPECT_FALSE(doc.setMaxRows(kMaxRowLimit + 1));
}

TEST(CellDocument, R1C1ReferencesResolveAgainstTheFormulaCell) {
  CellDocument doc;
  EXPECT_TRUE(doc.setCellText(1, 1, "2"));
  EXPECT_TRUE(doc.setCellText(2, 1, "3"));
  doc.setReferenceStyle(ReferenceStyle::R1C1);
  ASSERT_TRUE(doc.setFormula(2, 2, "=R[-1]C[-1]*R1C2+SUM(R1C1:R1C2)"));
  EXPECT_EQ(doc.valueText(2, 2), "11");
  ASSERT_TRUE(doc.setFormula(1, 1 + 1, "=R[-5]C"));  // above row 1
  EXPECT_EQ(doc.valueText(1, 2), "#REF!");
  // In R1C1 style an A1 reference is just an unknown name.
  ASSERT_TRUE(doc.setFormula(3, 3, "=A1"));
  EXPECT_EQ(doc.valueText(3, 3), "#NAME?");
  doc.setReferenceStyle(ReferenceStyle::A1);
  ASSERT_TRUE(doc.setFormula(3, 3, "=A1+B1"));
  EXPECT_EQ(doc.valueText(3, 3), "5");
}

TEST(CellDocument, ValueFormatterShapesTheValueText) {
  CellDocument doc;
  EXPECT_TRUE(doc.setFormula(1, 1, "=1/3"));
  EXPECT_EQ(doc.valueText(1, 1), "0.333333333333333");
  doc.setValueFormatter(
      [](int32_t, int32_t, const Value& v) { return v.isNumber() ? std::string("num") : "x"; });
  EXPECT_EQ(doc.valueText(1, 1), "num");
}

TEST(CellDocument, MillionNumericCellsStayWellBelowTheMemoryBudget) {
  CellDocument doc;
  for (int c = 1; c <= 100; ++c)
    for (int r = 1; r <= 10000; ++r) doc.setValue(c, r, Value::number(r + c * 0.5));
  EXPECT_LT(doc.memoryBytes(), 150u * 1024 * 1024);
  EXPECT_EQ(doc.value(100, 10000).number(), 10050);
}

TEST(ReferenceStyleConversion, RewritesOnlyReferences) {
  auto r1c1 = convertReferenceStyle("=SUM(A1:B2)+$C$3&\"A1\"", ReferenceStyle::A1,
                                    ReferenceStyle::R1C1, 2, 2);
  ASSERT_TRUE(r1c1);
  EXPECT_EQ(*r1c1, "=SUM(R[-1]C[-1]:RC)+R3C3&\"A1\"");
  auto back = convertReferenceStyle(*r1c1, ReferenceStyle::R1C1, ReferenceStyle::A1, 2, 2);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, "=SUM(A1:B2)+$C$3&\"A1\"");
  EXPECT_FALSE(convertReferenceStyle("=1+", ReferenceStyle::A1, ReferenceStyle::R1C1, 1, 1));
}

}  // namespace
}  // namespace krv::sheet
