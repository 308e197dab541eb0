#include "platform/sheet/ss_api.h"

#include <gtest/gtest.h>

#include "platform/sheet/tspread.h"

namespace {

class SsApiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.Create(L"#32770", L"", WS_POPUP, CRect(0, 0, 400, 300), nullptr, 0));
    ASSERT_TRUE(spread.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 7));
    spread.document().setMaxCols(4);
    spread.document().setMaxRows(6);
  }
  void TearDown() override {
    spread.DestroyWindow();
    parent.DestroyWindow();
  }
  CWnd parent;
  TSpread spread;
};

TEST_F(SsApiTest, HandlesThatAreNotSpreadsheetsFailCleanly) {
  std::wstring tag = L"old";
  EXPECT_FALSE(SSGetCellTag(&parent, 1, 1, tag));
  EXPECT_TRUE(tag.empty());
  EXPECT_FALSE(SSSetCellTag(nullptr, 1, 1, L"x"));
  EXPECT_FALSE(SSReset(&parent));
  EXPECT_EQ(SSGetCellSpan(&parent, 1, 1, nullptr, nullptr, nullptr, nullptr), SS_SPAN_NO);
  EXPECT_EQ(TSpread::fromHandle(&parent), nullptr);
  EXPECT_EQ(TSpread::fromHandle(&spread), &spread);
  EXPECT_EQ(spread.className(), L"fpUSpread70");
}

TEST_F(SsApiTest, SpansAnswerForAnchorAndCoveredCells) {
  ASSERT_TRUE(SSAddCellSpan(&spread, 2, 2, 2, 3));
  EXPECT_FALSE(SSAddCellSpan(&spread, 3, 5, 2, 3));  // beyond the last row
  long c = 0, r = 0, nc = 0, nr = 0;
  EXPECT_EQ(SSGetCellSpan(&spread, 2, 2, &c, &r, &nc, &nr), SS_SPAN_ANCHOR);
  EXPECT_EQ(SSGetCellSpan(&spread, 3, 4, &c, &r, &nc, &nr), SS_SPAN_YES);
  EXPECT_EQ(c, 2);
  EXPECT_EQ(nr, 3);
  EXPECT_EQ(SSGetCellSpan(&spread, 4, 4, &c, &r, &nc, &nr), SS_SPAN_NO);
  EXPECT_TRUE(SSRemoveCellSpan(&spread, 2, 2));
  EXPECT_EQ(SSGetCellSpan(&spread, 2, 2, &c, &r, &nc, &nr), SS_SPAN_NO);
}

TEST_F(SsApiTest, TagsOfTheCornerCellAndTheHeaderIndex) {
  ASSERT_TRUE(SSSetCellTag(&spread, SS_HEADER, SS_HEADER, L"settings"));
  std::wstring tag;
  ASSERT_TRUE(SSGetCellTag(&spread, 0, 0, tag));
  EXPECT_EQ(tag, L"settings");
  EXPECT_FALSE(SSGetCellTag(&spread, 1, 7, tag));
}

TEST_F(SsApiTest, CustomFunctionsReferenceStyleRecalcAndReset) {
  auto& d = spread.document();
  int calls = 0;
  ASSERT_TRUE(SSAddCustomFunctionExt(
      &spread, L"TWICE", 1, 1,
      [&](krv::sheet::FunctionValue& result, krv::sheet::FunctionValue* args, int16_t) {
        ++calls;
        result.setDouble(args[0].doubleValue * 2);
        return true;
      },
      0));
  d.setData(1, 1, L"4");
  ASSERT_TRUE(SSSetRefStyle(&spread, 2));
  ASSERT_TRUE(d.setFormula(2, 1, L"=TWICE(R1C1)"));
  EXPECT_EQ(*d.valueText(2, 1), L"8");
  d.setData(1, 1, L"5");
  ASSERT_TRUE(SSReCalcCell(&spread, 2, 1));
  EXPECT_EQ(*d.valueText(2, 1), L"10");
  EXPECT_FALSE(SSReCalcCell(&spread, 3, 1));  // no formula there
  EXPECT_EQ(calls, 2);
  d.setRowHidden(3, true);
  EXPECT_TRUE(SSIsRowHidden(&spread, 3));
  ASSERT_TRUE(SSReset(&spread));
  EXPECT_EQ(d.maxRows(), 0);
  EXPECT_FALSE(SSIsRowHidden(&spread, 3));
}

TEST_F(SsApiTest, CellTypeRecordsApplyToRanges) {
  SS_CELLTYPE t;
  SSSetTypeComboBoxEx(&spread, &t, 0, L"S235\tS355", 5, 20);
  ASSERT_TRUE(SSSetCellTypeRange(&spread, 3, -1, 3, -1, &t));
  EXPECT_EQ(spread.document().cellType(3, 6), krv::sheet::kCellTypeComboBox);
  EXPECT_EQ(spread.document().attributes(3, 2).typeText, L"S235\tS355");
  EXPECT_FALSE(SSSetCellType(&spread, 5, 1, &t));
  SSSetTypeNumber(&spread, &t, 0, 1, -10, 10);
  ASSERT_TRUE(SSSetCellType(&spread, 1, 1, &t));
  spread.document().setData(1, 1, L"2.25");
  EXPECT_EQ(*spread.document().valueText(1, 1), L"2.3");
}

}  // namespace
