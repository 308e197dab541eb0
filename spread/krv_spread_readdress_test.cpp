// Formulas on the spreadsheet window keep pointing at their cells when the
// window's row and column commands move lines.
#include <gtest/gtest.h>

#include "spread/krv_spread.h"
#include "spread/spread_test_support.h"

namespace {

using krv::test::SheetOnDialog;

TEST_F(SheetOnDialog, InsertRowAndRowMovesReaddressFormulas) {
  attach(3, 6);
  sheet.setBoolOption(krv::spread::kOptionAutoCalc, true);
  sheet.setCellData(1, 5, L"21");
  ASSERT_TRUE(sheet.setCellFormula(2, 1, L"=A5*2"));
  ASSERT_TRUE(sheet.insertRow(3, false, true));
  Krv_String t;
  ASSERT_TRUE(sheet.getCellString(2, 1, t, Formula));
  EXPECT_EQ(t, L"=A6*2");
  sheet.getCellString(2, 1, t, Value);
  EXPECT_EQ(t, L"42");

  ASSERT_TRUE(sheet.deleteRow(6));
  sheet.getCellString(2, 1, t, Formula);
  EXPECT_EQ(t, L"=#REF!*2");

  // The current row moved down by the block move: references follow it.
  sheet.setCellData(1, 1, L"7");
  ASSERT_TRUE(sheet.setCellFormula(3, 4, L"=A1+1"));
  ASSERT_TRUE(sheet.setActiveCell(1, 1));
  ASSERT_TRUE(sheet.moveCurrentRowDown());
  sheet.getCellString(3, 4, t, Formula);
  EXPECT_EQ(t, L"=A2+1");
  sheet.getCellString(3, 4, t, Value);
  EXPECT_EQ(t, L"8");

  ASSERT_TRUE(sheet.insertColumn(1, true, true));
  sheet.getCellString(4, 4, t, Formula);
  EXPECT_EQ(t, L"=B2+1");
}

}  // namespace
