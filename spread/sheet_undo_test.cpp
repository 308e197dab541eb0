#include "spread/sheet_undo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

using krv::sheet::ControlDocument;

namespace {

class SheetUndoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.setMaxCols(4);
    doc.setMaxRows(5);
    doc.setData(1, 1, L"HEA 200");
    doc.setData(2, 1, L"12.5");
    ASSERT_TRUE(doc.setFormula(3, 1, L"=B1*2"));
    doc.setActiveCell(1, 1);
    undo.reset(doc);
  }
  std::wstring data(int c, int r) const { return doc.data(c, r).value_or(L"(outside)"); }

  ControlDocument doc;
  SheetUndo undo;
};

TEST_F(SheetUndoTest, EachKindOfChangeIsUndoneExactlyInReverseOrder) {
  const std::string start = SheetUndo::contentText(doc);
  doc.setData(1, 2, L"typed");
  EXPECT_TRUE(undo.checkpoint(doc));
  const std::string afterTyping = SheetUndo::contentText(doc);
  ASSERT_TRUE(doc.setFormula(2, 2, L"=B1+1"));
  doc.changeAttributes(2, 2, 2, 2, [](krv::sheet::CellAttributes& a) { a.fontWeight = 700; });
  EXPECT_TRUE(undo.checkpoint(doc));
  const std::string afterFormula = SheetUndo::contentText(doc);
  ASSERT_TRUE(doc.insertRows(1));
  EXPECT_TRUE(undo.checkpoint(doc));
  const std::string afterInsert = SheetUndo::contentText(doc);
  ASSERT_TRUE(doc.deleteCols(2));
  ASSERT_TRUE(doc.pasteBlock(1, 1, L"p\tq"));
  EXPECT_EQ(undo.steps(), 3) << "changes since the last checkpoint are not a step yet";

  // Undo takes the pending change as a step first and undoes it.
  ASSERT_TRUE(undo.undo(doc));
  EXPECT_EQ(SheetUndo::contentText(doc), afterInsert);
  EXPECT_EQ(doc.maxCols(), 4);
  EXPECT_EQ(data(3, 2), L"25") << "the formula works again after the column came back";
  ASSERT_TRUE(undo.undo(doc));
  EXPECT_EQ(SheetUndo::contentText(doc), afterFormula);
  EXPECT_EQ(doc.maxRows(), 5);
  EXPECT_EQ(doc.formula(2, 2).value_or(L""), L"=B1+1");
  ASSERT_TRUE(undo.undo(doc));
  EXPECT_EQ(SheetUndo::contentText(doc), afterTyping);
  EXPECT_EQ(doc.attributes(2, 2).fontWeight, 400);
  ASSERT_TRUE(undo.undo(doc));
  EXPECT_EQ(SheetUndo::contentText(doc), start);
  EXPECT_EQ(data(1, 2), L"");
  EXPECT_FALSE(undo.undo(doc));
  EXPECT_EQ(SheetUndo::contentText(doc), start);
}

TEST_F(SheetUndoTest, OptionsActiveCellAndSelectionAreNoStepsAndSurviveAnUndo) {
  doc.setBoolOption(krv::sheet::kOptionEditMode, true);
  doc.setActiveCell(3, 4);
  doc.setSelection(2, 3, 3, 4);
  EXPECT_FALSE(undo.checkpoint(doc));
  EXPECT_FALSE(undo.canUndo());

  doc.setData(4, 5, L"x");
  doc.setBoolOption(krv::sheet::kOptionChanged, false);
  ASSERT_TRUE(undo.undo(doc));
  EXPECT_EQ(data(4, 5), L"");
  EXPECT_TRUE(doc.boolOption(krv::sheet::kOptionEditMode));
  EXPECT_TRUE(doc.boolOption(krv::sheet::kOptionChanged)) << "an undo is a change";
  EXPECT_EQ(doc.activeCol(), 3);
  EXPECT_EQ(doc.activeRow(), 4);
  int32_t c1, r1, c2, r2;
  doc.selection(c1, r1, c2, r2);
  EXPECT_EQ(c1, 2);
  EXPECT_EQ(r2, 4);
}

TEST_F(SheetUndoTest, AnActiveCellBeyondTheRestoredSheetMovesIntoIt) {
  ASSERT_TRUE(doc.insertRows(6, 3));
  undo.checkpoint(doc);
  doc.setActiveCell(2, 8);
  ASSERT_TRUE(undo.undo(doc));
  EXPECT_EQ(doc.maxRows(), 5);
  EXPECT_EQ(doc.activeCol(), 2);
  EXPECT_EQ(doc.activeRow(), 5);
}

TEST(SheetUndoBounds, TheOldestStepsGoBeyondTheLevelsAndTooLargeDocumentsHaveNone) {
  ControlDocument doc;
  doc.setMaxCols(2);
  doc.setMaxRows(2);
  SheetUndo undo(3);
  undo.reset(doc);
  for (int i = 1; i <= 5; ++i) {
    doc.setData(1, 1, std::to_wstring(i));
    undo.checkpoint(doc);
  }
  EXPECT_EQ(undo.steps(), 3);
  while (undo.undo(doc)) {
  }
  EXPECT_EQ(doc.data(1, 1).value_or(L""), L"2") << "steps back to the third-last change";

  SheetUndo small(50, 600);
  small.reset(doc);
  doc.setData(2, 2, std::wstring(1000, L'w'));
  EXPECT_FALSE(small.checkpoint(doc));
  EXPECT_FALSE(small.canUndo());
  doc.setData(2, 2, L"");
  EXPECT_FALSE(small.checkpoint(doc)) << "the large state before it cannot be a step";
  doc.setData(2, 1, L"small again");
  EXPECT_TRUE(small.checkpoint(doc));
  EXPECT_TRUE(small.undo(doc));
  EXPECT_EQ(doc.data(2, 1).value_or(L"?"), L"");

  // Cells counted by the storage's blocks of 256 rows: two are allowed.
  SheetUndo fewCells(50, SheetUndo::kDefaultByteBound, 2 * 256);
  doc.setMaxCols(3);
  doc.setMaxRows(600);
  fewCells.reset(doc);
  doc.setData(3, 1, L"third column");
  EXPECT_TRUE(fewCells.checkpoint(doc));
  doc.setData(1, 600, L"a third block in column 1");
  EXPECT_FALSE(fewCells.checkpoint(doc));
  EXPECT_FALSE(fewCells.canUndo());
}

TEST(SheetUndoCost, ACheckpointOfTwoThousandFilledCellsIsQuick) {
  ControlDocument doc;
  doc.setMaxCols(10);
  doc.setMaxRows(200);
  for (int r = 1; r <= 200; ++r)
    for (int c = 1; c <= 10; ++c) doc.setData(c, r, L"cell " + std::to_wstring(r * 10 + c));
  SheetUndo undo;
  undo.reset(doc);
  const auto start = std::chrono::steady_clock::now();
  constexpr int kRounds = 20;
  for (int i = 0; i < kRounds; ++i) {
    doc.setData(1, 1, std::to_wstring(i));
    undo.checkpoint(doc);
  }
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() /
      kRounds;
  std::cout << "checkpoint of 2000 cells: " << ms << " ms, step " << undo.bytes() / kRounds
            << " bytes\n";
  EXPECT_EQ(undo.steps(), kRounds);
  EXPECT_LT(ms, 250.0) << "a checkpoint follows every cell move of a person";
}

}  // namespace
