// Laying out a sheet's pages.
#include "platform/sheet/sheet_pages.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/sheet/cell_address.h"
#include "platform/sheet/cell_grid.h"

namespace krv::sheet {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kSheetDpi = 96.0;
// The largest part of the paper's height a header or footer picture takes.
constexpr double kPictureShare = 0.15;
// The room between a picture (or the page number line) and the table, in mm.
constexpr double kDecorationGapMm = 2.0;

// Rounds up, ignoring the error a sum of fractional sizes picks up.
int roundUp(double x) { return static_cast<int>(std::ceil(x - 1e-7)); }

std::vector<double> lineEdges(int32_t last, bool columns, const ControlDocument& doc) {
  std::vector<double> edges(static_cast<size_t>(last) + 2, 0.0);
  for (int32_t i = 1; i <= last; ++i)
    edges[i + 1] = edges[i] + std::max(0.0, columns ? doc.shownColWidth(i) : doc.shownRowHeight(i));
  return edges;
}

}  // namespace

int SheetPages::edge(const std::vector<double>& edges, const PrintBand& band, int32_t index) {
  return roundUp(edges[index] - edges[band.first]);
}

std::vector<PrintBand> SheetPages::bands(const std::vector<double>& edges, int32_t last,
                                         double room, bool whole) {
  auto shown = [&](int32_t i) { return edges[i] < edges[i + 1]; };
  std::vector<PrintBand> result;
  const int roomPixels = roundUp(room);
  int32_t i = 1;
  while (true) {
    while (i <= last && !shown(i)) ++i;
    if (i > last) break;
    const int32_t first = i;
    int32_t lastShown = i;
    for (int32_t next = i + 1; next <= last; ++next) {
      if (!shown(next)) continue;
      if (!whole && roundUp(edges[next + 1] - edges[first]) > roomPixels) break;
      lastShown = next;
    }
    const int extent = std::min(roundUp(edges[lastShown + 1] - edges[first]), roomPixels);
    result.push_back(PrintBand{first, lastShown, extent});
    i = lastShown + 1;
  }
  return result;
}

base::Result<SheetPages> SheetPages::layout(const ControlDocument& doc,
                                            const PrintSettings& settings, const PrintPaper& paper,
                                            const PrintDecoration& decoration) {
  if (!(paper.width > 0) || !(paper.height > 0) || !(paper.dpi > 0))
    return base::Status::error("The paper has no size");
  SheetPages pages;

  // The used range: the last filled row and column, grown by the spans
  // anchored inside it.
  FilledCellWalk walk(doc.engine().grid(), 1, 1, doc.maxCols(), doc.maxRows());
  for (int32_t c = 0, r = 0; walk.next(c, r);) {
    pages.mLastCol = std::max(pages.mLastCol, c);
    pages.mLastRow = r;
  }
  if (pages.mLastCol > 0) {
    const int32_t usedCols = pages.mLastCol, usedRows = pages.mLastRow;
    for (const CellSpan& span : doc.spans()) {
      if (span.col < 1 || span.row < 1 || span.col > usedCols || span.row > usedRows) continue;
      pages.mLastCol =
          std::max(pages.mLastCol, std::min(doc.maxCols(), span.col + span.numCols - 1));
      pages.mLastRow =
          std::max(pages.mLastRow, std::min(doc.maxRows(), span.row + span.numRows - 1));
    }
  }

  // The paper: margins, then the pictures and the page number line.
  const double perMm = paper.dpi / kMmPerInch;
  const double left = settings.marginLeft * perMm, top = settings.marginTop * perMm;
  const double width = paper.width - (settings.marginLeft + settings.marginRight) * perMm;
  const double height = paper.height - (settings.marginTop + settings.marginBottom) * perMm;
  if (!(width > 0) || !(height > 0))
    return base::Status::error("The margins leave no room on the paper");
  const double gap = kDecorationGapMm * perMm;
  auto picture = [&](double aspect) {
    if (!(aspect > 0)) return PrintRect{};
    const double h = std::min(width * aspect, kPictureShare * paper.height);
    return PrintRect{left, 0, h / aspect, h};
  };
  pages.mHeaderPicture = picture(decoration.headerAspect);
  if (pages.mHeaderPicture.height > 0) pages.mHeaderPicture.top = top;
  pages.mFooterPicture = picture(decoration.footerAspect);
  if (pages.mFooterPicture.height > 0)
    pages.mFooterPicture.top = top + height - pages.mFooterPicture.height;
  double tableTop = top, tableBottom = top + height;
  if (pages.mHeaderPicture.height > 0) tableTop += pages.mHeaderPicture.height + gap;
  if (pages.mFooterPicture.height > 0) tableBottom -= pages.mFooterPicture.height + gap;
  if (decoration.pageNumberHeight > 0) {
    pages.mPageNumber = PrintRect{left, tableBottom - decoration.pageNumberHeight, width,
                                  decoration.pageNumberHeight};
    tableBottom -= decoration.pageNumberHeight + gap;
  }
  if (!(tableBottom - tableTop > 0))
    return base::Status::error("The header and footer leave no room for the cells on the paper");
  pages.mTable = PrintRect{left, tableTop, width, tableBottom - tableTop};

  // The table: headers, the smart print factor, then the bands.
  pages.mHeaderColWidth =
      settings.rowHeader && !doc.isColHidden(0) ? std::max(0, roundUp(doc.colWidth(0))) : 0;
  pages.mHeaderRowHeight =
      settings.colHeader && !doc.isRowHidden(0) ? std::max(0, roundUp(doc.rowHeight(0))) : 0;
  pages.mColEdges = lineEdges(pages.mLastCol, true, doc);
  pages.mRowEdges = lineEdges(pages.mLastRow, false, doc);
  // Every shown cell of the used range is printed once, whatever the
  // scale: a range too large to print in reasonable time is refused.
  const auto shownLines = [](const std::vector<double>& edges) {
    int64_t n = 0;
    for (size_t i = 1; i + 1 < edges.size(); ++i) n += edges[i] < edges[i + 1] ? 1 : 0;
    return n;
  };
  const int64_t cells = shownLines(pages.mColEdges) * shownLines(pages.mRowEdges);
  if (cells > kMaxPrintedCells)
    return base::Status::error("The used range A1:" + columnLetters(pages.mLastCol) +
                               std::to_string(pages.mLastRow) + " shows " + std::to_string(cells) +
                               " cells, more than the " + std::to_string(kMaxPrintedCells) +
                               " that are printed");
  const double base = paper.dpi / kSheetDpi;
  const double roomAtFull = pages.mTable.width / base;
  const double usedWidth =
      pages.mHeaderColWidth + roundUp(pages.mColEdges[static_cast<size_t>(pages.mLastCol) + 1]);
  pages.mFit = settings.smartPrint && usedWidth > roomAtFull ? roomAtFull / usedWidth : 1.0;
  pages.mScale = base * pages.mFit;
  pages.mRoomWidth = pages.mTable.width / pages.mScale;
  pages.mRoomHeight = pages.mTable.height / pages.mScale;
  const double bodyWidth = pages.mRoomWidth - pages.mHeaderColWidth;
  const double bodyHeight = pages.mRoomHeight - pages.mHeaderRowHeight;
  if (bodyWidth < 1 || bodyHeight < 1)
    return base::Status::error("The header row or column leaves no room for the cells on a page");
  pages.mColBands = bands(pages.mColEdges, pages.mLastCol, bodyWidth, settings.smartPrint);
  pages.mRowBands = bands(pages.mRowEdges, pages.mLastRow, bodyHeight, false);
  if (pages.mColBands.size() * pages.mRowBands.size() > static_cast<size_t>(kMaxPrintedPages))
    return base::Status::error("The sheet would print on " +
                               std::to_string(pages.mColBands.size() * pages.mRowBands.size()) +
                               " pages, more than the " + std::to_string(kMaxPrintedPages) +
                               " that are printed");
  if (pages.mColBands.empty() || pages.mRowBands.empty()) {
    pages.mColBands.clear();
    pages.mRowBands.clear();
  }
  return pages;
}

std::optional<SheetPages::CellBox> SheetPages::spanBox(int page, const CellSpan& span) const {
  if (page < 0 || page >= pageCount()) return std::nullopt;
  const PrintBand& cols = colBand(page);
  const PrintBand& rows = rowBand(page);
  const int32_t c1 = span.col, r1 = span.row;
  const int32_t c2 = std::min(mLastCol, span.col + span.numCols - 1);
  const int32_t r2 = std::min(mLastRow, span.row + span.numRows - 1);
  if (c1 < 1 || r1 < 1 || c1 > c2 || r1 > r2) return std::nullopt;
  // The part of the span inside the page's bands must take room.
  const int32_t lc = std::max(c1, cols.first), hc = std::min(c2, cols.last);
  const int32_t lr = std::max(r1, rows.first), hr = std::min(r2, rows.last);
  if (lc > hc || lr > hr || !(mColEdges[lc] < mColEdges[hc + 1]) ||
      !(mRowEdges[lr] < mRowEdges[hr + 1]))
    return std::nullopt;
  const int x = colStart(cols, c1), y = rowStart(rows, r1);
  return CellBox{x, y, colStart(cols, c2 + 1) - x, rowStart(rows, r2 + 1) - y};
}

}  // namespace krv::sheet
