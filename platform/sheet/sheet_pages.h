#pragma once
// SheetPages: how a sheet document falls onto printed pages. Pure
// geometry, no drawing: a renderer paints each page from it.
//
// What is printed: the used range, from cell (1, 1) to the last row and the
// last column that hold a value or a formula, grown to take in whole the
// spans anchored inside it. Hidden rows and columns (and lines of no size)
// take no room. A sheet with nothing filled has no pages: a printer says
// so instead of producing an empty page.
//
// Units: the paper and everything placed on it directly (margins, the
// header and footer pictures, the page number line, where the table
// starts) are in device units; the table itself is laid out in sheet
// pixels (column widths and row heights at 96 dpi), which `scale` turns
// into device units. Column and row edges are rounded up to whole sheet
// pixels from the start of their band, the way the control places them on
// screen, so a line owns the pixels [start, end).
//
// Page breaks fall only between rows and columns. A row (column) that does
// not fit on a page by itself gets a page of its own and is cut at the
// page's edge. With smartPrint the whole table (row header included) is
// scaled down, never up, so that all used columns fit the printable width:
// then pages break only between rows. The column header row and the row
// header column, when printed, are repeated on every page.
//
// Pages run down first, then across: all row bands of the first column
// band, then those of the next.
//
// Spans: a span is drawn on every page that shows one of its cells,
// laid out over its whole rectangle (which may reach beyond the page) and
// cut to the page, so each page shows the part of the span it holds.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/base/status.h"
#include "platform/sheet/control_document.h"
#include "platform/sheet/sheet_printer.h"

namespace krv::sheet {

// The paper a page is printed on, in device units at `dpi` device units an inch.
struct PrintPaper {
  double width = 0;
  double height = 0;
  double dpi = 96;
};

// What the renderer measured for the page decoration, in device units and
// ratios. A picture's aspect is its height divided by its width; 0 means
// no picture. `pageNumberHeight` is the height of the "Page N of M" line
// printed at the bottom of the printable area (0: none).
struct PrintDecoration {
  double headerAspect = 0;
  double footerAspect = 0;
  double pageNumberHeight = 0;
};

// A rectangle in device units.
struct PrintRect {
  double left = 0, top = 0, width = 0, height = 0;
  bool operator==(const PrintRect&) const = default;
};

// A run of rows or columns printed on the same pages: lines first..last
// (the first and last are shown; hidden ones between them take no room)
// and the sheet pixels they take, at most the room on a page.
struct PrintBand {
  int32_t first = 0;
  int32_t last = 0;
  int extent = 0;
  bool operator==(const PrintBand&) const = default;
};

// What is printed at most: the shown cells of the used range, and pages.
inline constexpr int64_t kMaxPrintedCells = 4'000'000;
inline constexpr int kMaxPrintedPages = 10'000;

class SheetPages {
 public:
  // Lays out the pages. An error when the margins, pictures and headers
  // leave no room for a cell on the paper, or the used range is beyond
  // kMaxPrintedCells or kMaxPrintedPages (one far cell of a sheet of the
  // largest size makes a range of 17 G cells).
  static base::Result<SheetPages> layout(const ControlDocument& doc, const PrintSettings& settings,
                                         const PrintPaper& paper,
                                         const PrintDecoration& decoration = {});

  int pageCount() const { return static_cast<int>(mColBands.size() * mRowBands.size()); }
  // The bands of page `page` (0 .. pageCount() - 1).
  const PrintBand& colBand(int page) const {
    return mColBands[static_cast<size_t>(page) / mRowBands.size()];
  }
  const PrintBand& rowBand(int page) const {
    return mRowBands[static_cast<size_t>(page) % mRowBands.size()];
  }
  const std::vector<PrintBand>& colBands() const { return mColBands; }
  const std::vector<PrintBand>& rowBands() const { return mRowBands; }

  // The used range; 0 for a sheet with nothing filled.
  int32_t lastCol() const { return mLastCol; }
  int32_t lastRow() const { return mLastRow; }

  // Device units per sheet pixel (the paper's dpi / 96, times the smart
  // print factor).
  double scale() const { return mScale; }
  // The smart print factor alone (1 when the table is not scaled down).
  double fitFactor() const { return mFit; }
  // Where the table starts on every page (the header corner, or the first
  // cell without headers), in device units.
  double tableLeft() const { return mTable.left; }
  double tableTop() const { return mTable.top; }
  // The room for the table on a page, in sheet pixels.
  double roomWidth() const { return mRoomWidth; }
  double roomHeight() const { return mRoomHeight; }
  // The printed header column's width and header row's height in sheet
  // pixels; 0 when not printed.
  int headerColWidth() const { return mHeaderColWidth; }
  int headerRowHeight() const { return mHeaderRowHeight; }

  // Where the pictures and the page number line go; empty (zero size) when
  // there is none.
  const PrintRect& headerPicture() const { return mHeaderPicture; }
  const PrintRect& footerPicture() const { return mFooterPicture; }
  const PrintRect& pageNumberLine() const { return mPageNumber; }

  // The pixels [start, end) of column (row) `index` from the start of the
  // band's first line, in sheet pixels. Lines outside the band give
  // positions before or after it (used for spans); the index must lie in
  // 1 .. lastCol() + 1 (lastRow() + 1), where the last is the end edge.
  int colStart(const PrintBand& band, int32_t col) const { return edge(mColEdges, band, col); }
  int rowStart(const PrintBand& band, int32_t row) const { return edge(mRowEdges, band, row); }
  // Whether a column (row) takes room.
  bool colShown(int32_t col) const { return mColEdges[col] < mColEdges[col + 1]; }
  bool rowShown(int32_t row) const { return mRowEdges[row] < mRowEdges[row + 1]; }

  // The rectangle of a cell or span in sheet pixels relative to the page's
  // first cell (x, y, width, height): laid out whole, possibly reaching
  // beyond the band. Nothing when none of its shown cells lie on the page.
  struct CellBox {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const CellBox&) const = default;
  };
  std::optional<CellBox> spanBox(int page, const CellSpan& span) const;

 private:
  static int edge(const std::vector<double>& edges, const PrintBand& band, int32_t index);
  // Splits lines 1..last into bands of at most `room` sheet pixels; all in
  // one band when `whole`.
  static std::vector<PrintBand> bands(const std::vector<double>& edges, int32_t last, double room,
                                      bool whole);

  int32_t mLastCol = 0, mLastRow = 0;
  // Edge i is where line i starts, in unrounded sheet pixels from line 1;
  // edge last + 1 is the end of the last line.
  std::vector<double> mColEdges, mRowEdges;
  std::vector<PrintBand> mColBands, mRowBands;
  double mScale = 1, mFit = 1;
  PrintRect mTable, mHeaderPicture, mFooterPicture, mPageNumber;
  double mRoomWidth = 0, mRoomHeight = 0;
  int mHeaderColWidth = 0, mHeaderRowHeight = 0;
};

}  // namespace krv::sheet
