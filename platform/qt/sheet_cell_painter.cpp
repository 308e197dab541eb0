#include "platform/qt/sheet_cell_painter.h"

#include <QFontMetrics>
#include <QPolygon>
#include <algorithm>

#include "platform/qt/qt_convert.h"
#include "platform/win/gdi.h"
#include "platform/win/win_messages.h"

namespace krv::qt {

using krv::sheet::CellAttributes;
using krv::sheet::kColorDefault;

namespace {

const QColor kGridColour(208, 208, 208);
const QColor kHeaderEdgeColour(160, 160, 160);
const QColor kHighlightColour(0, 120, 215);
const QColor kEditSelectionColour(153, 201, 239);
const QColor kArrowColour(96, 96, 96);

QColor colourOr(uint32_t colour, const QColor& fallback) {
  return colour == kColorDefault ? fallback : toQColor(static_cast<COLORREF>(colour));
}

QColor blend(const QColor& under, const QColor& over, double amount) {
  auto mix = [amount](int a, int b) { return static_cast<int>(a + (b - a) * amount + 0.5); };
  return QColor(mix(under.red(), over.red()), mix(under.green(), over.green()),
                mix(under.blue(), over.blue()));
}

// The pen of a cell border style: 1 dashed, 2 dotted, 3 dash-dot, 4
// dash-dot-dot, anything else solid.
QPen borderPen(const CellAttributes& a, bool colours) {
  QPen pen(colours ? toQColor(static_cast<COLORREF>(a.borderColor)) : QColor(Qt::black));
  static const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                        Qt::DashDotDotLine};
  pen.setStyle(a.borderStyle >= 0 && a.borderStyle < 5 ? styles[a.borderStyle] : Qt::SolidLine);
  return pen;
}

}  // namespace

void drawArrowMark(QPainter& p, const QRect& box, int dx, int dy) {
  const QPoint c = box.center();
  const int s = std::max(2, std::min(box.width(), box.height()) / 4);
  QPolygon tri;
  if (dy != 0)
    tri << QPoint(c.x() - s, c.y() - dy * s / 2) << QPoint(c.x() + s, c.y() - dy * s / 2)
        << QPoint(c.x(), c.y() + dy * s / 2 + dy);
  else
    tri << QPoint(c.x() - dx * s / 2, c.y() - s) << QPoint(c.x() - dx * s / 2, c.y() + s)
        << QPoint(c.x() + dx * s / 2 + dx, c.y());
  p.setPen(Qt::NoPen);
  p.setBrush(kArrowColour);
  p.drawPolygon(tri);
  p.setBrush(Qt::NoBrush);
}

void drawRaisedFace(QPainter& p, const QRect& r, const QColor& face) {
  p.fillRect(r, face);
  p.setPen(Qt::white);
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(kHeaderEdgeColour);
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
}

SheetCellPainter::SheetCellPainter(QPainter& painter, const krv::sheet::ControlDocument& doc,
                                   const QFont& baseFont, CellPaintOptions options)
    : p(painter), d(doc), mBaseFont(baseFont), mOptions(options) {
  const krv::sheet::ControlLook& look = d.look();
  mHeaderFace = mOptions.colours ? colourOr(look.shadowColor, toQColor(GetSysColor(COLOR_BTNFACE)))
                                 : QColor(Qt::white);
  mHeaderText = mOptions.colours ? colourOr(look.shadowTextColor, Qt::black) : QColor(Qt::black);
}

void SheetCellPainter::paintCell(int32_t col, int32_t row, const QRect& r) {
  paintBack(col, row, r);
  paintFront(col, row, r);
}

SheetCellPainter::CellColours SheetCellPainter::coloursOf(int32_t col, int32_t row,
                                                          const CellAttributes& a) const {
  const bool active = mOptions.showState && col == d.activeCol() && row == d.activeRow();
  const bool editing = active && d.editing();
  const bool selected = mOptions.showState && !active && d.isSelected(col, row);
  const QColor window = toQColor(GetSysColor(COLOR_WINDOW));
  CellColours c;
  c.editing = editing;
  c.back = colourOr(a.backColor, a.locked ? toQColor(GetSysColor(COLOR_BTNFACE)) : window);
  c.fore = colourOr(a.foreColor, Qt::black);
  if (editing) c.back = window;
  if (selected) {
    c.back = d.look().selBackColor != kColorDefault ? toQColor(d.look().selBackColor)
                                                    : blend(c.back, kHighlightColour, 0.22);
    c.fore = colourOr(d.look().selForeColor, c.fore);
  }
  if (!mOptions.colours) {
    c.back = Qt::white;
    c.fore = Qt::black;
  }
  return c;
}

void SheetCellPainter::paintBack(int32_t col, int32_t row, const QRect& r) {
  const QColor back = coloursOf(col, row, d.attributes(col, row)).back;
  // On white paper a white cell needs no fill.
  if (!(mOptions.whitePaper && back == QColor(Qt::white))) p.fillRect(r, back);
  if (mOptions.gridLines) {
    p.setPen(mOptions.colours ? kGridColour : QColor(Qt::black));
    const QPoint edge[] = {r.topRight(), r.bottomRight(), r.bottomLeft()};
    p.drawPolyline(edge, 3);
  }
}

void SheetCellPainter::paintFront(int32_t col, int32_t row, const QRect& r) {
  const CellAttributes& a = d.attributes(col, row);
  // The content lies inside the grid lines.
  const QRect inner = r.adjusted(0, 0, -1, -1);
  if (inner.isEmpty()) return;
  const CellColours colours = coloursOf(col, row, a);
  p.setFont(fontFor(a));
  p.setPen(colours.fore);
  if (colours.editing) {
    paintEditor(inner);
  } else {
    switch (a.type) {
      case krv::sheet::kCellTypeCheckBox:
        paintCheckBox(col, row, a, inner, colours.fore);
        break;
      case krv::sheet::kCellTypeComboBox:
        paintCombo(col, row, inner, colours.fore);
        break;
      case krv::sheet::kCellTypeButton:
        paintButton(col, row, a, inner);
        break;
      case krv::sheet::kCellTypePicture:
        paintPicture(a, inner);
        break;
      default:
        paintText(col, row, a, inner);
        break;
    }
  }
  paintBorders(a, r);
}

void SheetCellPainter::paintText(int32_t col, int32_t row, const CellAttributes& a,
                                 const QRect& inner) {
  const std::wstring text = d.valueText(col, row).value_or(std::wstring());
  if (text.empty()) return;
  // Number cells, and numbers in general cells, lie to the right.
  const bool generalNumber =
      a.type == krv::sheet::kCellTypeGeneral && d.engine().value(col, row).isNumber();
  const bool right = a.type == krv::sheet::kCellTypeNumber || generalNumber;
  QRect box = inner.adjusted(2, 0, -2, 0);
  QString shown = toQString(text);
  if (!right && !d.spanAt(col, row)) {
    // A text too long for its cell runs on over the empty cells to its
    // right, as in a spreadsheet program, so that a sheet of notes and
    // equations reads on screen and on paper.
    const int needed = p.fontMetrics().horizontalAdvance(shown) - box.width();
    if (needed > 0) box.setRight(box.right() + overflowRoom(col, row, needed));
  }
  if (right) {
    const QFontMetrics metrics = p.fontMetrics();
    if (generalNumber && metrics.horizontalAdvance(shown) > box.width()) {
      // A number without a format of its own is rounded to the digits
      // that fit, as a spreadsheet shows it.
      const double value = d.engine().value(col, row).number();
      for (int digits = 15; digits >= 1; --digits) {
        const QString rounded = QString::number(value, 'g', digits);
        if (metrics.horizontalAdvance(rounded) <= box.width()) {
          shown = rounded;
          break;
        }
      }
    }
    // A number cut short would read as another number: one that still
    // does not fit shows as a row of '#'.
    if (metrics.horizontalAdvance(shown) > box.width())
      shown = QString(std::max(1, box.width() / std::max(1, metrics.horizontalAdvance('#'))),
                      QChar('#'));
  }
  p.drawText(box,
             Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::TextSingleLine |
                 noClipWhenFits(shown, box),
             shown);
}

int SheetCellPainter::overflowRoom(int32_t col, int32_t row, int needed) const {
  int room = 0;
  for (int32_t c = col + 1; c <= d.maxCols() && room < needed; ++c) {
    if (d.spanAt(c, row)) break;
    const int type = d.cellType(c, row);
    if (type != krv::sheet::kCellTypeGeneral && type != krv::sheet::kCellTypeEdit) break;
    if (!d.valueText(c, row).value_or(std::wstring()).empty()) break;
    if (d.editing() && d.activeCol() == c && d.activeRow() == row && mOptions.showState) break;
    room += static_cast<int>(d.shownColWidth(c));
  }
  return room;
}

int SheetCellPainter::noClipWhenFits(const QString& text, const QRect& box) const {
  // The line height of a font may exceed a low row while its letters fit;
  // cutting them then changes nothing but costs a clip (a state change a
  // PDF writes out), so only text too wide for its box is cut.
  return p.fontMetrics().horizontalAdvance(text) <= box.width() ? Qt::TextDontClip : 0;
}

void SheetCellPainter::paintEditor(const QRect& inner) {
  const QString text = toQString(d.editText());
  const QFontMetrics metrics(p.font());
  const QRect box = inner.adjusted(2, 0, -2, 0);
  const int length = static_cast<int>(text.size());
  const int from = std::clamp(d.editSelStart(), 0, length);
  const int to = std::clamp(d.editSelEnd(), from, length);
  const int textTop = box.top() + (box.height() - metrics.height()) / 2;
  auto xAt = [&](int i) { return box.left() + metrics.horizontalAdvance(text.left(i)); };
  if (to > from)
    p.fillRect(QRect(xAt(from), textTop, xAt(to) - xAt(from), metrics.height()),
               kEditSelectionColour);
  p.drawText(box, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text);
  // The caret, at the end of the selection.
  const int caret = std::min(xAt(to), box.right());
  p.setPen(Qt::black);
  p.drawLine(caret, textTop, caret, textTop + metrics.height() - 1);
}

void SheetCellPainter::paintCheckBox(int32_t col, int32_t row, const CellAttributes& a,
                                     const QRect& inner, const QColor& fore) {
  const int size = std::min(13, inner.height() - 2);
  const QRect box(inner.left() + 3, inner.top() + (inner.height() - size) / 2, size, size);
  // Only a box wider than its cell needs cutting (a clip costs a state
  // change on every device).
  const bool cut = box.right() > inner.right();
  if (cut) {
    p.save();
    p.setClipRect(inner, Qt::IntersectClip);
  }
  p.fillRect(box, Qt::white);
  p.setPen(mOptions.colours ? QColor(51, 51, 51) : QColor(Qt::black));
  p.drawRect(box.adjusted(0, 0, -1, -1));
  if (d.data(col, row).value_or(L"") == L"1") {
    QPen tick(Qt::black, 2);
    p.setPen(tick);
    const QRect t = box.adjusted(3, 3, -3, -3);
    p.drawPolyline(QPolygon() << QPoint(t.left(), t.center().y())
                              << QPoint(t.left() + t.width() / 3, t.bottom())
                              << QPoint(t.right(), t.top()));
  }
  if (!a.typeText.empty()) {
    p.setPen(fore);
    p.drawText(inner.adjusted(box.width() + 7, 0, -2, 0),
               Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, toQString(a.typeText));
  }
  if (cut) p.restore();
}

void SheetCellPainter::paintCombo(int32_t col, int32_t row, const QRect& inner,
                                  const QColor& fore) {
  const int arrow = std::min(16, inner.height());
  const QRect button(inner.right() - arrow + 1, inner.top(), arrow, inner.height());
  const std::wstring text = d.valueText(col, row).value_or(std::wstring());
  p.setPen(fore);
  p.drawText(inner.adjusted(2, 0, -arrow - 2, 0),
             Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, toQString(text));
  drawRaisedFace(p, button, mOptions.colours ? toQColor(GetSysColor(COLOR_BTNFACE)) : Qt::white);
  drawArrowMark(p, button, 0, 1);
}

void SheetCellPainter::paintButton(int32_t col, int32_t row, const CellAttributes& a,
                                   const QRect& inner) {
  const QRect face = inner.adjusted(1, 1, -1, -1);
  if (face.isEmpty()) return;
  drawRaisedFace(p, face, mOptions.colours ? toQColor(GetSysColor(COLOR_BTNFACE)) : Qt::white);
  std::wstring text = a.typeText;
  if (text.empty()) text = d.valueText(col, row).value_or(std::wstring());
  p.setPen(mOptions.colours ? toQColor(GetSysColor(COLOR_BTNTEXT)) : QColor(Qt::black));
  p.drawText(face, Qt::AlignCenter | Qt::TextSingleLine, toQString(text));
}

void SheetCellPainter::paintPicture(const CellAttributes& a, const QRect& inner) {
  // The control holds the picture's name only: a framed place with it.
  const QRect frame = inner.adjusted(2, 2, -2, -2);
  if (frame.width() < 4 || frame.height() < 4) return;
  QPen pen(mOptions.colours ? kHeaderEdgeColour : QColor(Qt::black));
  pen.setStyle(Qt::DashLine);
  p.setPen(pen);
  p.drawRect(frame.adjusted(0, 0, -1, -1));
  p.setPen(mOptions.colours ? QColor(109, 109, 109) : QColor(Qt::black));
  p.drawText(frame, Qt::AlignCenter | Qt::TextSingleLine, toQString(a.typeText));
}

void SheetCellPainter::paintBorders(const CellAttributes& a, const QRect& r) {
  if (a.borderMask == 0) return;
  p.setPen(borderPen(a, mOptions.colours));
  if (a.borderMask & 1) p.drawLine(r.topLeft(), r.bottomLeft());
  if (a.borderMask & 2) p.drawLine(r.topRight(), r.bottomRight());
  if (a.borderMask & 4) p.drawLine(r.topLeft(), r.topRight());
  if (a.borderMask & 8) p.drawLine(r.bottomLeft(), r.bottomRight());
}

void SheetCellPainter::paintHeader(int32_t col, int32_t row, const QRect& r, bool marked) {
  p.fillRect(r, marked ? mHeaderFace.darker(112) : mHeaderFace);
  p.setPen(mOptions.colours ? kHeaderEdgeColour : QColor(Qt::black));
  p.drawLine(r.topRight(), r.bottomRight());
  p.drawLine(r.bottomLeft(), r.bottomRight());
  const std::wstring text = d.data(col, row).value_or(std::wstring());
  if (text.empty()) return;
  p.setFont(fontFor(d.attributes(col, row)));
  p.setPen(mHeaderText);
  const QRect box = r.adjusted(1, 0, -2, -1);
  const QString shown = toQString(text);
  p.drawText(box, Qt::AlignCenter | Qt::TextSingleLine | noClipWhenFits(shown, box), shown);
}

const QFont& SheetCellPainter::fontFor(const CellAttributes& a) {
  const auto key = std::make_tuple(a.fontName, a.fontHeight, a.fontWeight);
  auto it = mFonts.find(key);
  if (it != mFonts.end()) return it->second;
  QFont font = mBaseFont;
  if (!a.fontName.empty()) font.setFamily(toQString(a.fontName));
  if (a.fontHeight > 0) font.setPixelSize(a.fontHeight);
  font.setWeight(static_cast<QFont::Weight>(std::clamp(a.fontWeight, 100, 900)));
  return mFonts.emplace(key, font).first->second;
}

}  // namespace krv::qt
