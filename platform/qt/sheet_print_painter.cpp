#include "platform/qt/sheet_print_painter.h"

#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <vector>

#include "platform/qt/qt_convert.h"
#include "platform/qt/sheet_cell_painter.h"

namespace krv::qt {

using krv::sheet::CellSpan;
using krv::sheet::ControlDocument;
using krv::sheet::PrintBand;
using krv::sheet::SheetPages;

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kSheetDpi = 96.0;
constexpr double kDefaultPoints = 9.0;
constexpr double kPageNumberPoints = 8.0;

QImage loadPicture(const std::wstring& file) {
  if (file.empty()) return {};
  QImage image(toQString(file));
  return image.width() > 0 && image.height() > 0 ? image : QImage();
}

double aspectOf(const QImage& image) {
  return image.isNull() ? 0.0 : static_cast<double>(image.height()) / image.width();
}

}  // namespace

krv::base::Result<SheetPrintPainter> SheetPrintPainter::prepare(
    const ControlDocument& doc, const krv::sheet::PrintSettings& settings,
    const krv::sheet::PrintPaper& paper) {
  SheetPrintPainter painter(doc, settings);
  painter.mHeader = loadPicture(settings.headerFile);
  painter.mFooter = loadPicture(settings.footerFile);

  const double points = settings.fontHeight > 0 ? settings.fontHeight : kDefaultPoints;
  painter.mCellFont = QFont(toQString(settings.fontName.empty() ? L"Sans" : settings.fontName));
  painter.mCellFont.setPixelSize(
      std::max(1, static_cast<int>(std::lround(points * kSheetDpi / kPointsPerInch))));
  painter.mPageNumberFont = painter.mCellFont;
  painter.mPageNumberFont.setPixelSize(
      std::max(1, static_cast<int>(std::lround(kPageNumberPoints * paper.dpi / kPointsPerInch))));

  krv::sheet::PrintDecoration decoration;
  decoration.headerAspect = aspectOf(painter.mHeader);
  decoration.footerAspect = aspectOf(painter.mFooter);
  decoration.pageNumberHeight = QFontMetricsF(painter.mPageNumberFont).height();
  auto pages = SheetPages::layout(doc, settings, paper, decoration);
  if (!pages) return pages.status();
  painter.mPages = std::move(pages).value();
  return painter;
}

void SheetPrintPainter::paintPage(QPainter& painter, int page) const {
  if (page < 0 || page >= pageCount()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  auto rectOf = [](const krv::sheet::PrintRect& r) {
    return QRectF(r.left, r.top, r.width, r.height);
  };
  if (!mHeader.isNull()) painter.drawImage(rectOf(mPages.headerPicture()), mHeader);
  if (!mFooter.isNull()) painter.drawImage(rectOf(mPages.footerPicture()), mFooter);
  const krv::sheet::PrintRect& numberLine = mPages.pageNumberLine();
  if (numberLine.height > 0) {
    painter.setFont(mPageNumberFont);
    painter.setPen(Qt::black);
    painter.drawText(rectOf(numberLine), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                     QStringLiteral("Page %1 of %2").arg(page + 1).arg(pageCount()));
  }
  painter.restore();
  paintTable(painter, page);
}

void SheetPrintPainter::paintTable(QPainter& painter, int page) const {
  const ControlDocument& d = *mDoc;
  const PrintBand& cols = mPages.colBand(page);
  const PrintBand& rows = mPages.rowBand(page);
  const int hc = mPages.headerColWidth(), hr = mPages.headerRowHeight();

  painter.save();
  painter.translate(mPages.tableLeft(), mPages.tableTop());
  painter.scale(mPages.scale(), mPages.scale());
  // Everything of the table lies in sheet pixels from here on.
  const QRect table(0, 0, hc + cols.extent, hr + rows.extent);
  const QRect body(hc, hr, cols.extent, rows.extent);
  SheetCellPainter cells(painter, d, mCellFont,
                         {mSettings.colors, mSettings.cellSeparators, /*showState=*/false,
                          /*whitePaper=*/true});

  painter.save();
  painter.setClipRect(body);
  // Spans with a cell on this page: drawn once over their whole rectangle.
  // All backs first, then all fronts: the same picture with fewer changes
  // of pen, which a PDF writes out each time.
  std::unordered_set<uint64_t> covered;
  std::vector<std::pair<CellSpan, QRect>> spans;
  for (const CellSpan& span : d.spans()) {
    const auto box = mPages.spanBox(page, span);
    if (!box) continue;
    for (int32_t r = std::max(span.row, rows.first);
         r <= std::min(rows.last, span.row + span.numRows - 1); ++r)
      for (int32_t c = std::max(span.col, cols.first);
           c <= std::min(cols.last, span.col + span.numCols - 1); ++c)
        covered.insert(ControlDocument::key(c, r));
    spans.emplace_back(span, QRect(hc + box->x, hr + box->y, box->width, box->height));
  }
  for (const bool back : {true, false}) {
    auto paint = [&](int32_t c, int32_t r, const QRect& rect) {
      if (back)
        cells.paintBack(c, r, rect);
      else
        cells.paintFront(c, r, rect);
    };
    for (const auto& [span, rect] : spans) paint(span.col, span.row, rect);
    for (int32_t r = rows.first; r <= rows.last; ++r) {
      if (!mPages.rowShown(r)) continue;
      const int top = hr + mPages.rowStart(rows, r);
      const int bottom = hr + mPages.rowStart(rows, r + 1);
      for (int32_t c = cols.first; c <= cols.last; ++c) {
        if (!mPages.colShown(c)) continue;
        if (!covered.empty() && covered.count(ControlDocument::key(c, r))) continue;
        const int left = hc + mPages.colStart(cols, c);
        paint(c, r,
              QRect(QPoint(left, top), QPoint(hc + mPages.colStart(cols, c + 1) - 1, bottom - 1)));
      }
    }
  }
  painter.restore();

  // The header row and column, cut to their part of the table.
  if (hr > 0) {
    painter.save();
    painter.setClipRect(QRect(hc, 0, cols.extent, hr));
    for (int32_t c = cols.first; c <= cols.last; ++c)
      if (mPages.colShown(c))
        cells.paintHeader(c, 0,
                          QRect(QPoint(hc + mPages.colStart(cols, c), 0),
                                QPoint(hc + mPages.colStart(cols, c + 1) - 1, hr - 1)),
                          false);
    painter.restore();
  }
  if (hc > 0) {
    painter.save();
    painter.setClipRect(QRect(0, hr, hc, rows.extent));
    for (int32_t r = rows.first; r <= rows.last; ++r)
      if (mPages.rowShown(r))
        cells.paintHeader(0, r,
                          QRect(QPoint(0, hr + mPages.rowStart(rows, r)),
                                QPoint(hc - 1, hr + mPages.rowStart(rows, r + 1) - 1)),
                          false);
    painter.restore();
  }
  if (hc > 0 && hr > 0) cells.paintHeader(0, 0, QRect(0, 0, hc, hr), false);

  if (mSettings.border) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(table.adjusted(0, 0, -1, -1));
  }
  painter.restore();
}

}  // namespace krv::qt
