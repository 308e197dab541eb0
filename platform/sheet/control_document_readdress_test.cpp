// References inside formulas follow the rows and columns they point at
// when lines are inserted, deleted or exchanged.
#include <gtest/gtest.h>

#include "platform/sheet/control_document.h"
#include "platform/sheet/formula_parser.h"

namespace krv::sheet {
namespace {

std::string shifted(const char* formula, const LineShift& shift, int32_t col = 8, int32_t row = 1,
                    ReferenceStyle style = ReferenceStyle::A1) {
  return readdressReferences(formula, style, col, row, shift).value_or("<unreadable>");
}

TEST(ReaddressText, InsertedRowsMoveReferencesAtAndBelowAndWidenRangesAcrossThem) {
  const LineShift at5 = LineShift::insert(true, 5, 2);
  EXPECT_EQ(shifted("=A5*2+A4", at5), "=A7*2+A4");
  EXPECT_EQ(shifted("=$B$9+B$5+$B5", at5), "=$B$11+B$7+$B7");
  EXPECT_EQ(shifted("=SUM(A1:A5)", at5), "=SUM(A1:A7)");  // straddles: grows
  EXPECT_EQ(shifted("=SUM(A5:B6)", at5), "=SUM(A7:B8)");  // starts at the insertion: moves
  EXPECT_EQ(shifted("=SUM(A1:A4)", at5), "=SUM(A1:A4)");  // ends above: unchanged
  EXPECT_EQ(shifted("=SUM(5:6)+SUM(A:A)", at5), "=SUM(7:8)+SUM(A:A)");
  // Unchanged references, names, texts and spacing stay exactly as written.
  EXPECT_EQ(shifted("=a1 + \"A5\" & b9", at5), "=a1 + \"A5\" & B11");
  // Inserting columns leaves row references alone.
  EXPECT_EQ(shifted("=A5+C5+SUM(B:C)+SUM(2:3)", LineShift::insert(false, 2, 1)),
            "=A5+D5+SUM(C:D)+SUM(2:3)");
  EXPECT_EQ(shifted("=1+", at5), "<unreadable>");
}

TEST(ReaddressText, DeletedRowsNarrowRangesAndLeaveRefErrorsWhereNothingRemains) {
  const LineShift rows3to4 = LineShift::remove(true, 3, 2);
  EXPECT_EQ(shifted("=A2+A5+$A$9", rows3to4), "=A2+A3+$A$7");
  EXPECT_EQ(shifted("=A3*2", rows3to4), "=#REF!*2");
  EXPECT_EQ(shifted("=A4+1", rows3to4), "=#REF!+1");
  EXPECT_EQ(shifted("=SUM(A1:A10)", rows3to4), "=SUM(A1:A8)");  // loses the middle
  EXPECT_EQ(shifted("=SUM(A3:A6)", rows3to4), "=SUM(A3:A4)");   // loses its top
  EXPECT_EQ(shifted("=SUM(A1:A4)", rows3to4), "=SUM(A1:A2)");   // loses its bottom
  EXPECT_EQ(shifted("=SUM(A3:C4)", rows3to4), "=SUM(#REF!)");   // entirely deleted
  EXPECT_EQ(shifted("=SUM(3:4)", rows3to4), "=SUM(#REF!)");
  EXPECT_EQ(shifted("=$C$1+D1+SUM(B:D)", LineShift::remove(false, 3, 1)), "=#REF!+C1+SUM(B:C)");
  EXPECT_EQ(shifted("=SUM(C:C)", LineShift::remove(false, 3, 1)), "=SUM(#REF!)");
}

TEST(ReaddressText, R1C1ReferencesAreWrittenAgainRelativeToTheMovedHost) {
  // Host B3: R[-1]C is B2, R2C1 is A2, R[2]C[1] is C5.
  auto r1c1 = [](const char* f, const LineShift& s) {
    return shifted(f, s, 2, 3, ReferenceStyle::R1C1);
  };
  // Rows inserted at 3: the host moves to row 4, B2 and A2 stay, C5 moves to C6.
  EXPECT_EQ(r1c1("=R[-1]C+R2C1+R[2]C[1]", LineShift::insert(true, 3, 1)), "=R[-2]C+R2C1+R[2]C[1]");
  // Rows inserted at 2: everything moves down by one, relative offsets stay.
  EXPECT_EQ(r1c1("=R[-1]C+R2C1", LineShift::insert(true, 2, 1)), "=R[-1]C+R3C1");
  EXPECT_EQ(r1c1("=R[-1]C*2", LineShift::remove(true, 2, 1)), "=#REF!*2");
  EXPECT_EQ(r1c1("=SUM(R1C:R[1]C)", LineShift::remove(true, 1, 1)), "=SUM(R1C:R[1]C)");
  // A column inserted before the host: the absolute column moves, the relative one keeps its
  // offset.
  EXPECT_EQ(r1c1("=RC1+RC[-1]", LineShift::insert(false, 1, 1)), "=RC2+RC[-1]");
}

TEST(ReaddressText, ExchangedRowsSwapTheirReferencesAndKeepWiderRanges) {
  const LineShift swap = LineShift::swap(true, 2, 3);
  EXPECT_EQ(shifted("=A2-A3+A4", swap), "=A3-A2+A4");
  EXPECT_EQ(shifted("=SUM(A2:C2)+SUM(A1:A3)", swap), "=SUM(A3:C3)+SUM(A1:A3)");
}

class ReaddressDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.setMaxCols(6);
    doc.setMaxRows(10);
    doc.setBoolOption(kOptionAutoCalc, true);
  }
  std::wstring formula(int c, int r) { return doc.formula(c, r).value_or(L"<none>"); }
  std::wstring value(int c, int r) { return doc.valueText(c, r).value_or(L"<none>"); }
  ControlDocument doc;
};

TEST_F(ReaddressDocument, InsertedRowsKeepEveryFormulaOnItsCellsAndTheLinksLive) {
  doc.setData(1, 5, L"3");
  doc.setData(1, 2, L"10");
  ASSERT_TRUE(doc.setFormula(2, 1, L"=A5*2"));
  ASSERT_TRUE(doc.setFormula(3, 7, L"=A2+A5"));       // moves itself
  ASSERT_TRUE(doc.setFormula(4, 1, L"=SUM(A1:A6)"));  // range across the insertion
  ASSERT_TRUE(doc.insertRows(3));
  EXPECT_EQ(formula(2, 1), L"=A6*2");
  EXPECT_EQ(value(2, 1), L"6");
  EXPECT_EQ(formula(3, 8), L"=A2+A6");
  EXPECT_EQ(value(3, 8), L"13");
  EXPECT_EQ(formula(3, 7), L"");
  EXPECT_EQ(formula(4, 1), L"=SUM(A1:A7)");
  doc.setData(1, 3, L"100");  // the new row lies inside the widened range
  EXPECT_EQ(value(4, 1), L"113");
  // A second insertion, this time between the formula and one reference.
  ASSERT_TRUE(doc.insertRows(5));
  EXPECT_EQ(formula(3, 9), L"=A2+A7");
  doc.setData(1, 7, L"4");  // the dependency follows the moved cell
  EXPECT_EQ(value(3, 9), L"14");
  EXPECT_EQ(value(2, 1), L"8");
}

TEST_F(ReaddressDocument, DeletedRowsGiveRefErrorsAndShrinkRanges) {
  for (int r = 1; r <= 6; ++r) doc.setData(1, r, std::to_wstring(r));
  ASSERT_TRUE(doc.setFormula(2, 1, L"=A3*2"));
  ASSERT_TRUE(doc.setFormula(2, 2, L"=SUM(A2:A6)"));
  ASSERT_TRUE(doc.setFormula(2, 8, L"=A6"));
  ASSERT_TRUE(doc.setFormula(2, 4, L"=A1"));  // its own row goes away
  ASSERT_TRUE(doc.setFormula(3, 1, L"=B4+1"));
  ASSERT_TRUE(doc.deleteRows(3, 2));
  EXPECT_EQ(formula(2, 1), L"=#REF!*2");
  EXPECT_EQ(value(2, 1), L"#REF!");
  EXPECT_EQ(formula(2, 2), L"=SUM(A2:A4)");
  EXPECT_EQ(value(2, 2), L"13");  // 2 + 5 + 6
  EXPECT_EQ(formula(2, 6), L"=A4");
  EXPECT_EQ(value(2, 6), L"6");
  EXPECT_EQ(formula(3, 1), L"=#REF!+1");
  EXPECT_EQ(doc.engine().formulaCount(), 4u);
  doc.setData(1, 4, L"60");
  EXPECT_EQ(value(2, 6), L"60");
  EXPECT_EQ(value(2, 2), L"67");
}

TEST_F(ReaddressDocument, ColumnsInsertedAndDeletedMoveColumnReferences) {
  doc.setData(1, 1, L"1");
  doc.setData(2, 1, L"2");
  doc.setData(3, 1, L"4");
  ASSERT_TRUE(doc.setFormula(1, 3, L"=SUM(A1:C1)*$C$1"));
  ASSERT_TRUE(doc.insertCols(2));
  EXPECT_EQ(formula(1, 3), L"=SUM(A1:D1)*$D$1");
  EXPECT_EQ(value(1, 3), L"28");
  ASSERT_TRUE(doc.deleteCols(4));
  EXPECT_EQ(formula(1, 3), L"=SUM(A1:C1)*#REF!");
  EXPECT_EQ(value(1, 3), L"#REF!");
}

TEST_F(ReaddressDocument, FormulasWrittenInR1C1KeepTheirStyleAfterTheSettingChanges) {
  doc.engine().setReferenceStyle(ReferenceStyle::R1C1);
  doc.setData(1, 2, L"5");
  ASSERT_TRUE(doc.setFormula(2, 3, L"=R[-1]C[-1]*2+R2C1"));
  doc.engine().setReferenceStyle(ReferenceStyle::A1);
  ASSERT_TRUE(doc.insertRows(1));
  EXPECT_EQ(formula(2, 4), L"=R[-1]C[-1]*2+R3C1");
  EXPECT_EQ(value(2, 4), L"15");
  ASSERT_TRUE(doc.insertRows(4));  // between the reference and its formula
  EXPECT_EQ(formula(2, 5), L"=R[-2]C[-1]*2+R3C1");
  EXPECT_EQ(value(2, 5), L"15");
}

TEST_F(ReaddressDocument, ExchangedRowsTakeTheirReferencesAlong) {
  doc.setData(1, 2, L"2");
  doc.setData(1, 3, L"3");
  ASSERT_TRUE(doc.setFormula(2, 1, L"=A2*10+A3"));
  ASSERT_TRUE(doc.setFormula(2, 2, L"=A2+1"));  // moves with its row
  ASSERT_TRUE(doc.swapRows(2, 3));
  EXPECT_EQ(formula(2, 1), L"=A3*10+A2");
  EXPECT_EQ(value(2, 1), L"23");
  EXPECT_EQ(formula(2, 3), L"=A3+1");
  EXPECT_EQ(value(2, 3), L"3");
}

}  // namespace
}  // namespace krv::sheet
