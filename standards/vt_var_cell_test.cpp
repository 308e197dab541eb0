#include "standards/vt_var_cell.h"

#include <gtest/gtest.h>

#include "spread/spread_test_support.h"
#include "standards/vt_var_cells.h"

namespace {

class VtVarCellSheet : public krv::test::SheetOnDialog {
 protected:
  void SetUp() override {
    SheetOnDialog::SetUp();
    attach(4, 6);
  }
  VtVarCell init(const Krv_String& text, Acad::ErrorStatus expected = Acad::eOk) {
    EXPECT_TRUE(sheet.setCellData(2, 3, text));
    VtVarCell c;
    EXPECT_EQ(c.initialize(sheet, 2, 3, Output), expected) << text.utf8();
    return c;
  }
};

TEST_F(VtVarCellSheet, DeclarationsGiveTypeAndName) {
  VtVarCell d = init(L"  Double Plate thickness ");
  EXPECT_EQ(d.valueType(), Double);
  EXPECT_EQ(d.name(), L"Plate thickness");
  EXPECT_EQ(d.column(), 2);
  EXPECT_EQ(d.row(), 3);
  EXPECT_TRUE(d.isOutput());
  EXPECT_EQ(init(L"String").valueType(), String);
  EXPECT_TRUE(init(L"String").name().isEmpty());
  EXPECT_EQ(init(L"integer N").valueType(), Int);  // only the start is tested
  EXPECT_EQ(init(L"Doubled X").name(), L"X");
  init(L"Real X", Acad::eInvalidInput);
  init(L"", Acad::eInvalidInput);
  VtVarCell c;
  EXPECT_EQ(c.initialize(sheet, 5, 1, Input), Acad::eInvalidInput);  // beyond the last column
  EXPECT_EQ(c.initialize(sheet, 1, 7, Input), Acad::eInvalidInput);  // beyond the last row
}

TEST_F(VtVarCellSheet, ValuesAreWrittenWithTheFormatOfTheirType) {
  VtVarCells cells;
  sheet.setCellData(1, 1, L"Int N");
  sheet.setCellData(1, 2, L"Double L");
  sheet.setCellData(1, 3, L"String S");
  VtVarCell scan;
  for (int row = 1; row <= 3; ++row) {
    ASSERT_EQ(scan.initialize(sheet, 1, row, Output), Acad::eOk);
    cells.append(scan);
  }
  cells[0].set(L"N", Output, Int, L"3.6");
  cells[1].set(L"L", Output, Double, L"2.5");
  cells[2].set(L"S", Output, String, L"IPE 300");
  // The cells still carry their positions after set(): (0, 0) would fail.
  for (int i = 0; i < 3; ++i)
    cells[i].set(cells[i].name(), Output, cells[i].valueType(), cells[i].value(), 1, i + 1);
  ASSERT_EQ(cells.setValuesToSS(sheet), Acad::eOk);
  Krv_String text;
  ASSERT_TRUE(sheet.getCellString(1, 1, text, Value));
  EXPECT_EQ(text, L"4");
  ASSERT_TRUE(sheet.getCellString(1, 2, text, Value));
  EXPECT_EQ(text, L"2.5000000");
  ASSERT_TRUE(sheet.getCellString(1, 3, text, Value));
  EXPECT_EQ(text, L"IPE 300");

  sheet.setCellData(1, 2, L"7");
  ASSERT_EQ(cells.getValuesFromSS(sheet), Acad::eOk);
  EXPECT_EQ(cells[1].value(), L"7.0000000");

  // A cell outside the sheet stops the writing there; earlier cells stay written.
  cells[1].set(L"L", Output, Double, L"1", 1, 99);
  cells[0].set(L"N", Output, Int, L"8", 1, 1);
  EXPECT_EQ(cells.setValuesToSS(sheet), Acad::eInvalidInput);
  ASSERT_TRUE(sheet.getCellString(1, 1, text, Value));
  EXPECT_EQ(text, L"8");
  EXPECT_EQ(cells.getValuesFromSS(sheet), Acad::eInvalidInput);
}

TEST_F(VtVarCellSheet, ValueFromOtherWritesIntoTheSheet) {
  VtVarCell target = init(L"Double L");
  VtVarCell source;
  source.set(L"X", Input, Double, L"12.25");
  ASSERT_EQ(target.setValueFromOther(sheet, source), Acad::eOk);
  EXPECT_EQ(target.value(), L"12.25");
  Krv_String text;
  ASSERT_TRUE(sheet.getCellString(2, 3, text, Value));
  EXPECT_EQ(text, L"12.2500000");
}

}  // namespace
