#pragma once
// SheetCellPainter: draws one cell, or one header cell, of a sheet document
// as the spreadsheet control shows it, into a rectangle of a painter. The
// screen renderer (sheet_renderer.h) and printing (sheet_print_painter.h)
// both draw their cells with it, so a printed cell looks like the cell on
// screen.
//
// A cell: its back colour (locked cells on the dialog face colour), the
// grid lines on its right and bottom edge, its content by cell type (text
// left, numbers right as the cell formats them, a number that does not fit
// rounded and else shown as '#', a text too long running on over the empty
// cells to its right; check box; combo box with its arrow;
// button; the framed name of a picture), in its font and fore colour, and
// its borders. The rectangle is the whole cell (or span), grid lines
// included; content that does not fit is cut by the caller's clip. A text
// running on over its neighbours is drawn with the cell's front, so a caller
// draws the backs of a row's cells before the fronts.
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>

#include "platform/sheet/control_document.h"

namespace krv::qt {

struct CellPaintOptions {
  // Off: black text and lines on white, no fills (header cells too).
  bool colours = true;
  // The grid lines between cells.
  bool gridLines = true;
  // The selection and the editor of the active cell (the screen); off for print.
  bool showState = true;
  // The cells are drawn on white (paper): white cells are not filled.
  bool whitePaper = false;
};

class SheetCellPainter {
 public:
  // `baseFont` is the font of cells without a font of their own; cell
  // fonts are set in pixels, so the painter's transform scales them.
  SheetCellPainter(QPainter& painter, const krv::sheet::ControlDocument& doc, const QFont& baseFont,
                   CellPaintOptions options = {});

  // A cell of the sheet (col, row >= 1), or the anchor of a span over the
  // span's rectangle.
  void paintCell(int32_t col, int32_t row, const QRect& r);
  // The two halves of paintCell: the fill with the grid lines, then the
  // content with the borders. Each stays inside the cell's rectangle, so a
  // page may draw all backs first and then all fronts (fewer changes of
  // pen on devices where a change costs) and look the same.
  void paintBack(int32_t col, int32_t row, const QRect& r);
  void paintFront(int32_t col, int32_t row, const QRect& r);
  // A header cell (row 0 or column 0); `marked` when its line holds the selection.
  void paintHeader(int32_t col, int32_t row, const QRect& r, bool marked);
  // The font of cells with these attributes.
  const QFont& fontFor(const krv::sheet::CellAttributes& a);

 private:
  struct CellColours {
    QColor back, fore;
    bool editing = false;
  };
  CellColours coloursOf(int32_t col, int32_t row, const krv::sheet::CellAttributes& a) const;
  void paintText(int32_t col, int32_t row, const krv::sheet::CellAttributes& a, const QRect& inner);
  // The width of the empty cells right of (col, row) that a left-aligned
  // text too long for its cell runs on over: at least `needed` pixels when
  // there is that much, up to the first cell that holds something, is part
  // of a span, or has a look of its own (check box, combo box, button,
  // picture).
  int overflowRoom(int32_t col, int32_t row, int needed) const;
  // Qt::TextDontClip for a text as wide as its box or narrower, else 0.
  int noClipWhenFits(const QString& text, const QRect& box) const;
  void paintEditor(const QRect& inner);
  void paintCheckBox(int32_t col, int32_t row, const krv::sheet::CellAttributes& a,
                     const QRect& inner, const QColor& fore);
  void paintCombo(int32_t col, int32_t row, const QRect& inner, const QColor& fore);
  void paintButton(int32_t col, int32_t row, const krv::sheet::CellAttributes& a,
                   const QRect& inner);
  void paintPicture(const krv::sheet::CellAttributes& a, const QRect& inner);
  void paintBorders(const krv::sheet::CellAttributes& a, const QRect& r);

  QPainter& p;
  const krv::sheet::ControlDocument& d;
  QFont mBaseFont;
  CellPaintOptions mOptions;
  QColor mHeaderFace, mHeaderText;
  std::map<std::tuple<std::wstring, int, int>, QFont> mFonts;
};

// A small filled triangle pointing in the direction of (dx, dy).
void drawArrowMark(QPainter& p, const QRect& box, int dx, int dy);
// A raised face: light top and left edges, dark bottom and right ones.
void drawRaisedFace(QPainter& p, const QRect& r, const QColor& face);

}  // namespace krv::qt
