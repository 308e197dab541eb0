#include "platform/sheet/sheet_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ostream>
#include <string>

namespace krv::sheet {

void PrintTo(const PrintBand& b, std::ostream* os) {
  *os << "{" << b.first << ".." << b.last << ", " << b.extent << "}";
}
void PrintTo(const SheetPages::CellBox& b, std::ostream* os) {
  *os << "{" << b.x << ", " << b.y << ", " << b.width << " x " << b.height << "}";
}
void PrintTo(const PrintRect& r, std::ostream* os) {
  *os << "{" << r.left << ", " << r.top << ", " << r.width << " x " << r.height << "}";
}

namespace {

// At 96 dpi a device unit is a sheet pixel; without margins the table
// room is the paper.
PrintSettings plain() {
  PrintSettings s;
  s.marginLeft = s.marginRight = s.marginTop = s.marginBottom = 0;
  s.smartPrint = false;
  return s;
}

// A sheet of `cols` x `rows` filled cells, 64 x 20 pixels, with a header
// column 40 wide and a header row 20 high.
void fill(ControlDocument& doc, int32_t cols, int32_t rows) {
  doc.setMaxCols(std::max(doc.maxCols(), 20));
  doc.setMaxRows(std::max(doc.maxRows(), rows + 20));
  doc.setColWidth(0, 40);
  doc.setRowHeight(0, 20);
  for (int32_t r = 1; r <= rows; ++r)
    for (int32_t c = 1; c <= cols; ++c) doc.setData(c, r, std::to_wstring(c * 1000 + r));
}

SheetPages layout(const ControlDocument& doc, const PrintSettings& s, PrintPaper paper,
                  PrintDecoration decoration = {}) {
  auto pages = SheetPages::layout(doc, s, paper, decoration);
  EXPECT_TRUE(pages.ok()) << pages.status().message();
  return pages.ok() ? std::move(pages).value() : SheetPages{};
}

TEST(SheetPages, PagesBreakAtLineBoundariesDownThenAcross) {
  ControlDocument doc;
  fill(doc, 7, 12);
  // Room for exactly 3 columns and 5 rows beside and below the headers.
  const SheetPages exact = layout(doc, plain(), {40 + 3 * 64, 20 + 5 * 20, 96});
  EXPECT_EQ(exact.lastCol(), 7);
  EXPECT_EQ(exact.lastRow(), 12);
  EXPECT_EQ(exact.colBands(), (std::vector<PrintBand>{{1, 3, 192}, {4, 6, 192}, {7, 7, 64}}));
  EXPECT_EQ(exact.rowBands(), (std::vector<PrintBand>{{1, 5, 100}, {6, 10, 100}, {11, 12, 40}}));
  ASSERT_EQ(exact.pageCount(), 9);
  EXPECT_EQ(exact.colBand(1).first, 1) << "the second page is below the first";
  EXPECT_EQ(exact.rowBand(1).first, 6);
  EXPECT_EQ(exact.colBand(3).first, 4) << "the fourth page is right of the first";
  EXPECT_EQ(exact.rowBand(3).first, 1);
  EXPECT_EQ(exact.colStart(exact.colBand(3), 5), 64);
  EXPECT_EQ(exact.rowStart(exact.rowBand(1), 8), 40);

  // One pixel less and the last line of each page moves to the next.
  const SheetPages tight = layout(doc, plain(), {40 + 3 * 64 - 1, 20 + 5 * 20 - 1, 96});
  EXPECT_EQ(tight.colBands().front(), (PrintBand{1, 2, 128}));
  EXPECT_EQ(tight.rowBands().front(), (PrintBand{1, 4, 80}));
  EXPECT_EQ(tight.pageCount(), 4 * 3);

  // Without headers their room goes to the cells.
  PrintSettings bare = plain();
  bare.colHeader = bare.rowHeader = false;
  const SheetPages noHeaders = layout(doc, bare, {40 + 3 * 64, 20 + 5 * 20, 96});
  EXPECT_EQ(noHeaders.headerColWidth(), 0);
  EXPECT_EQ(noHeaders.headerRowHeight(), 0);
  EXPECT_EQ(noHeaders.colBands().front(), (PrintBand{1, 3, 192})) << "232 is not 4 columns";
  EXPECT_EQ(noHeaders.rowBands().front(), (PrintBand{1, 6, 120}));
}

TEST(SheetPages, HiddenAndFractionalLines) {
  ControlDocument doc;
  fill(doc, 2, 14);
  doc.setRowHidden(2, true);
  doc.setRowHidden(3, true);
  doc.setRowHidden(7, true);   // would start the second page
  doc.setRowHidden(14, true);  // the last filled row
  doc.setColWidth(1, 10.5);
  doc.setColWidth(2, 10.5);
  const SheetPages pages = layout(doc, plain(), {400, 20 + 3 * 20, 96});
  EXPECT_EQ(pages.lastRow(), 14);
  EXPECT_EQ(pages.rowBands(),
            (std::vector<PrintBand>{{1, 5, 60}, {6, 9, 60}, {10, 12, 60}, {13, 13, 20}}))
      << "hidden rows take no room and no page starts or ends on one";
  EXPECT_FALSE(pages.rowShown(7));
  EXPECT_EQ(pages.rowStart(pages.rowBands()[0], 4), 20);
  EXPECT_EQ(pages.rowStart(pages.rowBands()[1], 8), 20) << "hidden row 7 inside the band";
  // Fractional widths: edges rounded up from the band's start.
  EXPECT_EQ(pages.colStart(pages.colBands()[0], 2), 11);
  EXPECT_EQ(pages.colStart(pages.colBands()[0], 3), 21);
  EXPECT_EQ(pages.colBands().front().extent, 21);

  // A hidden header takes no room either.
  doc.setColHidden(0, true);
  EXPECT_EQ(layout(doc, plain(), {400, 80, 96}).headerColWidth(), 0);
}

TEST(SheetPages, ALineLargerThanAPageGetsAPageOfItsOwnCut) {
  ControlDocument doc;
  fill(doc, 3, 8);
  doc.setRowHeight(3, 500);
  doc.setColWidth(2, 1000);
  const SheetPages pages = layout(doc, plain(), {40 + 3 * 64, 20 + 5 * 20, 96});
  EXPECT_EQ(pages.rowBands(), (std::vector<PrintBand>{{1, 2, 40}, {3, 3, 100}, {4, 8, 100}}));
  EXPECT_EQ(pages.colBands(), (std::vector<PrintBand>{{1, 1, 64}, {2, 2, 192}, {3, 3, 64}}));
}

TEST(SheetPages, SmartPrintScalesTheColumnsDownToThePageWidthButNeverUp) {
  ControlDocument doc;
  fill(doc, 20, 100);
  PrintSettings smart = plain();
  smart.smartPrint = true;
  const PrintPaper paper{40 + 3 * 64, 20 + 5 * 20, 192};  // device units at 2 per pixel
  const SheetPages fitted = layout(doc, smart, paper);
  const double used = 40 + 20 * 64;
  EXPECT_DOUBLE_EQ(fitted.fitFactor(), paper.width / 2 / used);
  EXPECT_DOUBLE_EQ(fitted.scale(), 2 * fitted.fitFactor());
  ASSERT_EQ(fitted.colBands().size(), 1u) << "all columns on one page";
  EXPECT_EQ(fitted.colBands().front(), (PrintBand{1, 20, 20 * 64}));
  // The rows get the scaled page height: 120 device units are 60 / factor pixels.
  const int rowsPerPage = static_cast<int>((paper.height / fitted.scale() - 20) / 20);
  EXPECT_EQ(fitted.rowBands().front().last, rowsPerPage);
  EXPECT_GT(rowsPerPage, 20);
  EXPECT_EQ(fitted.pageCount(), (100 + rowsPerPage - 1) / rowsPerPage);

  ControlDocument narrow;
  fill(narrow, 2, 3);
  const SheetPages unscaled = layout(narrow, smart, {500, 300, 192});
  EXPECT_DOUBLE_EQ(unscaled.fitFactor(), 1.0);
  EXPECT_DOUBLE_EQ(unscaled.scale(), 2.0);
  EXPECT_EQ(unscaled.pageCount(), 1);
}

TEST(SheetPages, MarginsPicturesAndThePageNumberLineTakeTheirRoom) {
  ControlDocument doc;
  fill(doc, 2, 2);
  PrintSettings s;                       // margins 9, 5, 5, 5 mm
  const PrintPaper a4{2100, 2970, 254};  // 10 device units a millimetre
  const SheetPages bare = layout(doc, s, a4);
  EXPECT_DOUBLE_EQ(bare.tableLeft(), 90);
  EXPECT_DOUBLE_EQ(bare.tableTop(), 50);
  EXPECT_DOUBLE_EQ(bare.roomWidth() * bare.scale(), 1960);
  EXPECT_DOUBLE_EQ(bare.roomHeight() * bare.scale(), 2870);
  EXPECT_EQ(bare.headerPicture(), PrintRect{});

  // A wide header picture takes the printable width; a tall footer picture
  // at most 15 % of the paper's height, keeping its aspect.
  const SheetPages decorated = layout(doc, s, a4, {0.1, 1.0, 40});
  EXPECT_EQ(decorated.headerPicture(), (PrintRect{90, 50, 1960, 196}));
  EXPECT_EQ(decorated.footerPicture(), (PrintRect{90, 2920 - 445.5, 445.5, 445.5}));
  EXPECT_EQ(decorated.pageNumberLine(), (PrintRect{90, 2920 - 445.5 - 20 - 40, 1960, 40}));
  EXPECT_DOUBLE_EQ(decorated.tableTop(), 50 + 196 + 20);
  EXPECT_DOUBLE_EQ(decorated.roomHeight() * decorated.scale(),
                   decorated.pageNumberLine().top - 20 - decorated.tableTop());
}

TEST(SheetPages, NoRoomIsAnErrorAndAnEmptySheetHasNoPages) {
  ControlDocument doc;
  fill(doc, 2, 2);
  PrintSettings wide;
  wide.marginLeft = wide.marginRight = 150;
  EXPECT_FALSE(SheetPages::layout(doc, wide, {2100, 2970, 254}).ok());
  doc.setRowHeight(0, 400);
  const auto tallHeader = SheetPages::layout(doc, plain(), {300, 300, 96});
  ASSERT_FALSE(tallHeader.ok());
  EXPECT_NE(tallHeader.status().message().find("header"), std::string::npos);
  EXPECT_FALSE(SheetPages::layout(doc, plain(), {0, 300, 96}).ok());

  // Nothing filled: colours, tags and widths alone print nothing.
  ControlDocument empty;
  empty.setMaxCols(5);
  empty.setMaxRows(5);
  empty.changeAttributes(1, 1, 3, 3, [](CellAttributes& a) { a.backColor = 0xFF; });
  empty.setTag(2, 2, L"tag");
  const SheetPages none = layout(empty, plain(), {300, 300, 96});
  EXPECT_EQ(none.pageCount(), 0);
  EXPECT_EQ(none.lastRow(), 0);
  // Filled cells on hidden rows only: nothing shows.
  ControlDocument hidden;
  fill(hidden, 1, 2);
  hidden.setRowHidden(1, true);
  hidden.setRowHidden(2, true);
  EXPECT_EQ(layout(hidden, plain(), {300, 300, 96}).pageCount(), 0);
}

TEST(SheetPages, SpansGrowTheUsedRangeAndShowOnEveryPageTheyReach) {
  ControlDocument doc;
  fill(doc, 3, 12);
  ASSERT_TRUE(doc.addSpan(1, 4, 2, 3));    // rows 4..6 across the break after row 5
  ASSERT_TRUE(doc.addSpan(3, 11, 3, 4));   // reaches beyond the last filled column and row
  ASSERT_TRUE(doc.addSpan(15, 20, 2, 2));  // anchored outside the used range
  const SheetPages pages = layout(doc, plain(), {40 + 3 * 64, 20 + 5 * 20, 96});
  EXPECT_EQ(pages.lastCol(), 5);
  EXPECT_EQ(pages.lastRow(), 14);
  ASSERT_EQ(pages.rowBands().size(), 3u);
  const CellSpan across{1, 4, 2, 3};
  EXPECT_EQ(pages.spanBox(0, across), (SheetPages::CellBox{0, 60, 128, 60}));
  EXPECT_EQ(pages.spanBox(1, across), (SheetPages::CellBox{0, -40, 128, 60}));
  EXPECT_EQ(pages.spanBox(2, across), std::nullopt);
  EXPECT_EQ(pages.spanBox(3, across), std::nullopt) << "the next column band";
  // The far span: columns 3..5 on the first and second column band.
  const CellSpan far{3, 11, 3, 4};
  EXPECT_EQ(pages.spanBox(2, far), (SheetPages::CellBox{128, 0, 192, 80}));
  EXPECT_EQ(pages.spanBox(5, far), (SheetPages::CellBox{-64, 0, 192, 80}));
  EXPECT_EQ(pages.spanBox(2, CellSpan{15, 20, 2, 2}), std::nullopt);
  // A span whose cells on a page are all hidden is not on that page.
  doc.setRowHidden(6, true);
  const SheetPages hidden = layout(doc, plain(), {40 + 3 * 64, 20 + 5 * 20, 96});
  EXPECT_EQ(hidden.rowBands()[1].first, 7);
  EXPECT_EQ(hidden.spanBox(1, across), std::nullopt);
}

TEST(SheetPages, ALargeSheetIsLaidOutInTimeLinearInItsLines) {
  // 10,000 rows, and a sheet of the largest size with one far cell.
  ControlDocument doc;
  fill(doc, 5, 10000);
  const auto start = std::chrono::steady_clock::now();
  const SheetPages pages = layout(doc, plain(), {40 + 5 * 64, 20 + 50 * 20, 96});
  EXPECT_EQ(pages.pageCount(), 200);
  int32_t next = 1;
  for (const PrintBand& band : pages.rowBands()) {
    EXPECT_EQ(band.first, next);
    next = band.last + 1;
  }
  EXPECT_EQ(next, 10001);

  ControlDocument largest;
  ASSERT_TRUE(largest.setMaxCols(5));
  ASSERT_TRUE(largest.setMaxRows(kControlMaxRows));
  largest.setData(1, kControlMaxRows, L"far");
  const SheetPages far = layout(largest, plain(), {300, 20 + 1000 * 20, 96});
  EXPECT_EQ(far.pageCount(), (kControlMaxRows + 999) / 1000);
  // One far cell of the largest sheet: refused, in a moment.
  ASSERT_TRUE(largest.setMaxCols(kControlMaxCols));
  largest.setData(kControlMaxCols, 1, L"corner");
  const auto huge = SheetPages::layout(largest, plain(), {300, 300, 96});
  ASSERT_FALSE(huge.ok());
  EXPECT_NE(huge.status().message().find("A1:XFD1048576 shows 17179869184 cells"),
            std::string::npos)
      << huge.status().message();
  // Without smart print 3000 rows of 5 columns on pages of one cell: too many pages.
  ControlDocument many;
  fill(many, 5, 3000);
  const auto tooMany = SheetPages::layout(many, plain(), {40 + 64, 20 + 20, 96});
  ASSERT_FALSE(tooMany.ok());
  EXPECT_NE(tooMany.status().message().find("15000 pages"), std::string::npos);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 5.0) << "a million rows are laid out one pass each";
}

}  // namespace
}  // namespace krv::sheet
