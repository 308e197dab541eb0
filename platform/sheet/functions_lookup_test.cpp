#include <gtest/gtest.h>

#include <string>

#include "platform/sheet/cell_document.h"

namespace krv::sheet {
namespace {

std::string evaluated(CellDocument& doc, int32_t col, int32_t row, const std::string& formula) {
  EXPECT_TRUE(doc.setFormula(col, row, formula)) << formula;
  return doc.valueText(col, row);
}

TEST(Index, ASingleValueIsATableOfOneCell) {
  CellDocument doc;
  struct Case {
    const char* formula;
    const char* shown;
    const char* why;
  } cases[] = {
      {"=INDEX(42,1,1)", "42", "the only cell"},
      {"=INDEX(42,1)", "42", "one index on one cell"},
      {"=INDEX(42,0,0)", "42", "0 picks the whole (single) row and column"},
      {"=INDEX(42,2,1)", "#REF!", "row 2 lies outside one row"},
      {"=INDEX(42,1,2)", "#REF!", "column 2 lies outside one column"},
      {"=INDEX(42,2)", "#REF!", "row 2 lies outside one row"},
      {"=INDEX(42,-1,1)", "#VALUE!", "a negative index is no index"},
      {"=INDEX(42,1,-1)", "#VALUE!", "a negative index is no index"},
      {"=INDEX(\"a\",1,1)", "a", "a text is a single value too"},
      {"=INDEX(1/0,1,1)", "#DIV/0!", "an error value propagates"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(evaluated(doc, 1, 1, c.formula), c.shown) << c.formula << ": " << c.why;
}

TEST(PositionFunctions, OwnCellIsNoCircularReference) {
  CellDocument doc;
  EXPECT_EQ(evaluated(doc, 1, 1, "=ROW(A1)"), "1");
  EXPECT_EQ(evaluated(doc, 3, 2, "=COLUMN(C2)"), "3");
  EXPECT_EQ(evaluated(doc, 2, 2, "=ROWS(A1:B4)"), "4")
      << "the range holds the formula's own cell B2";
  EXPECT_EQ(evaluated(doc, 2, 2, "=COLUMNS(A1:C4)*10+ROW($B$2)"), "32");
  // Reading the own cell's value is still a cycle.
  EXPECT_EQ(evaluated(doc, 1, 5, "=ROW(A5)+A5"), "#REF!") << "the second A5 reads the value";
  EXPECT_EQ(evaluated(doc, 1, 6, "=ROW(A6+0)"), "#REF!")
      << "the argument is a value, not a reference";
}

TEST(PositionFunctions, PositionArgumentsMakeNoDependency) {
  // A1 reads B1's position and B1 reads A1's value: no cycle, and
  // recalculation orders B1 after A1.
  CellDocument doc;
  EXPECT_TRUE(doc.setFormula(2, 1, "=A1+1"));
  EXPECT_TRUE(doc.setFormula(1, 1, "=ROW(B1)*5"));
  doc.recalcAll();
  EXPECT_EQ(doc.valueText(1, 1), "5");
  EXPECT_EQ(doc.valueText(2, 1), "6");
  // A real value dependency through the same cells still updates.
  CellDocument live;
  live.setAutoCalc(true);
  EXPECT_TRUE(live.setCellText(1, 1, "2"));
  EXPECT_TRUE(live.setFormula(2, 1, "=A1*ROWS(A1:B3)"));
  EXPECT_EQ(live.valueText(2, 1), "6");
  EXPECT_TRUE(live.setCellText(1, 1, "3"));
  EXPECT_EQ(live.valueText(2, 1), "9");
}

TEST(PositionFunctions, MovedLinesUpdateTheReadPosition) {
  CellDocument doc;
  ASSERT_TRUE(doc.setFormula(1, 2, "=ROW(A2)"));
  doc.moveLines(LineShift::insert(true, 1, 1));
  EXPECT_EQ(doc.formulaText(1, 3), "=ROW(A3)");
  EXPECT_EQ(doc.valueText(1, 3), "3")
      << "the formula moved with its reference and still reads its own row";
}

}  // namespace
}  // namespace krv::sheet
