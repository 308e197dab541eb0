#pragma once
// SheetPrintPainter: paints the pages of a sheet document (laid out by
// SheetPages) with QPainter onto any paint device: a PDF writer, a
// printer, a preview, an image.
//
// A page shows, from the top: the header picture, the table (the column
// header row and the row header column when printed, the cells of the
// page's bands drawn as on screen by SheetCellPainter, a frame around the
// table when `border`), the "Page N of M" line at the bottom of the
// printable area, and the footer picture below it. The pictures are read
// from the settings' files (any picture format Qt reads, .bmp and .png
// among them; a relative name is taken from the working folder), scaled to
// the printable width keeping their aspect and at most 15 % of the paper's
// height; a file that cannot be read prints no picture. Cells without a
// font of their own print in the settings' font and height (points at
// 96 dpi sheet pixels; 0 or less: 9 points).
//
// No selection, active cell frame or cell editor is printed.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <optional>

#include "platform/base/status.h"
#include "platform/sheet/sheet_pages.h"

namespace krv::qt {

class SheetPrintPainter {
 public:
  // Lays out `doc` on paper of `width` x `height` device units at `dpi`.
  // An error when the paper leaves no room for the cells (see SheetPages).
  // The painter reads `doc` when it paints: the document must outlive it
  // and not change in between.
  static krv::base::Result<SheetPrintPainter> prepare(const krv::sheet::ControlDocument& doc,
                                                      const krv::sheet::PrintSettings& settings,
                                                      const krv::sheet::PrintPaper& paper);

  int pageCount() const { return mPages.pageCount(); }
  const krv::sheet::SheetPages& pages() const { return mPages; }

  // Paints page `page` (0 .. pageCount() - 1) with the painter's origin at
  // the paper's top-left corner, in the device units of the paper.
  void paintPage(QPainter& painter, int page) const;

 private:
  SheetPrintPainter(const krv::sheet::ControlDocument& doc,
                    const krv::sheet::PrintSettings& settings)
      : mDoc(&doc), mSettings(settings) {}
  void paintTable(QPainter& painter, int page) const;

  const krv::sheet::ControlDocument* mDoc;
  krv::sheet::PrintSettings mSettings;
  krv::sheet::SheetPages mPages;
  QImage mHeader, mFooter;
  QFont mCellFont, mPageNumberFont;
};

}  // namespace krv::qt
