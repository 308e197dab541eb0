#include "platform/qt/sheet_renderer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWheelEvent>
#include <algorithm>
#include <atomic>
#include <unordered_set>

#include "platform/qt/mirror_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/sheet_cell_painter.h"
#include "platform/qt/sheet_layout.h"
#include "platform/sheet/tspread.h"
#include "platform/win/event_loop.h"
#include "platform/win/gdi.h"
#include "platform/win/person.h"

namespace krv::qt {

using krv::sheet::ControlDocument;
using krv::sheet::kColorDefault;

namespace {

std::atomic<std::uint64_t> gPaintedCells{0};

const QColor kGrayAreaColour(171, 171, 171);
const QColor kBorderColour(122, 122, 122);
const QColor kScrollTrackColour(233, 233, 233);
const QColor kScrollThumbColour(194, 194, 194);

QColor colourOr(uint32_t colour, const QColor& fallback) {
  return colour == kColorDefault ? fallback : toQColor(static_cast<COLORREF>(colour));
}

// Draws one frame of a sheet into a painter whose origin is the client area.
class SheetPainter {
 public:
  SheetPainter(QPainter& painter, const TSpread& sheet, const QFont& baseFont)
      : p(painter), d(sheet.document()), mLayout(sheet), mCells(painter, d, baseFont) {
    mGrayArea = colourOr(d.look().grayAreaBackColor, kGrayAreaColour);
    d.selection(mSel[0], mSel[1], mSel[2], mSel[3]);
  }

  void paint() {
    const QRect area = mLayout.cellArea();
    p.save();
    p.setClipRect(area);
    p.fillRect(area, mGrayArea);
    paintCells();
    paintHeaders();
    paintActiveFrame();
    p.restore();
    paintScrollBar(mLayout.verticalBar(), true);
    paintScrollBar(mLayout.horizontalBar(), false);
    const QRect corner(area.right() + 1, area.bottom() + 1, mLayout.verticalBar().bar.width(),
                       mLayout.horizontalBar().bar.height());
    p.fillRect(corner, toQColor(GetSysColor(COLOR_BTNFACE)));
  }

 private:
  void paintCells() {
    const auto& cols = mLayout.columns();
    const auto& rows = mLayout.rows();
    auto firstBody = [](const std::vector<SheetLine>& lines) {
      return !lines.empty() && lines.front().index == 0 ? std::size_t{1} : std::size_t{0};
    };
    const std::size_t col0 = firstBody(cols), row0 = firstBody(rows);
    if (col0 >= cols.size() || row0 >= rows.size()) return;
    const int32_t firstCol = cols[col0].index, lastCol = cols.back().index;
    const int32_t firstRow = rows[row0].index, lastRow = rows.back().index;

    // Spans in view are painted once over all their cells in view. All
    // backs first, then all fronts: a long text runs on over the empty
    // cells to its right, whose backs must not cover it.
    std::unordered_set<uint64_t> covered;
    std::vector<std::pair<int32_t, int32_t>> anchors;
    std::vector<QRect> spanRects;
    for (const krv::sheet::CellSpan& span : d.spans()) {
      if (span.col > lastCol || span.col + span.numCols <= firstCol || span.row > lastRow ||
          span.row + span.numRows <= firstRow)
        continue;
      const auto rect = mLayout.spanRect(span);
      if (!rect) continue;
      for (std::size_t r = row0; r < rows.size(); ++r)
        for (std::size_t c = col0; c < cols.size(); ++c)
          if (span.contains(cols[c].index, rows[r].index))
            covered.insert(ControlDocument::key(cols[c].index, rows[r].index));
      anchors.emplace_back(span.col, span.row);
      spanRects.push_back(*rect);
    }
    for (const bool back : {true, false}) {
      auto paint = [&](int32_t col, int32_t row, const QRect& r) {
        if (back) {
          mCells.paintBack(col, row, r);
        } else {
          ++gPaintedCells;
          mCells.paintFront(col, row, r);
        }
      };
      for (std::size_t i = 0; i < anchors.size(); ++i)
        paint(anchors[i].first, anchors[i].second, spanRects[i]);
      for (std::size_t r = row0; r < rows.size(); ++r) {
        for (std::size_t c = col0; c < cols.size(); ++c) {
          const int32_t col = cols[c].index, row = rows[r].index;
          if (!covered.empty() && covered.count(ControlDocument::key(col, row))) continue;
          paint(col, row,
                QRect(QPoint(cols[c].start, rows[r].start),
                      QPoint(cols[c].fullEnd - 1, rows[r].fullEnd - 1)));
        }
      }
    }
  }

  // Whether a column (row) holds selected cells: its header is marked.
  bool inSelection(int32_t index, int first, int last) const {
    if (first == -1 || last == -1) return index >= 1;
    return index >= std::min(first, last) && index <= std::max(first, last) && index >= 1;
  }

  void paintHeaders() {
    const auto& cols = mLayout.columns();
    const auto& rows = mLayout.rows();
    const bool colHeader = !cols.empty() && cols.front().index == 0;
    const bool rowHeader = !rows.empty() && rows.front().index == 0;
    const bool anySelection = mSel[0] != 0 || mSel[1] != 0 || mSel[2] != 0 || mSel[3] != 0;
    if (colHeader) {
      const SheetLine& h = cols.front();
      for (const SheetLine& r : rows)
        if (r.index > 0)
          paintHeader(0, r.index,
                      QRect(QPoint(h.start, r.start), QPoint(h.fullEnd - 1, r.fullEnd - 1)),
                      anySelection && inSelection(r.index, mSel[1], mSel[3]));
    }
    if (rowHeader) {
      const SheetLine& h = rows.front();
      for (const SheetLine& c : cols)
        if (c.index > 0)
          paintHeader(c.index, 0,
                      QRect(QPoint(c.start, h.start), QPoint(c.fullEnd - 1, h.fullEnd - 1)),
                      anySelection && inSelection(c.index, mSel[0], mSel[2]));
    }
    if (colHeader && rowHeader) {
      const SheetLine &c = cols.front(), &r = rows.front();
      paintHeader(0, 0, QRect(QPoint(c.start, r.start), QPoint(c.fullEnd - 1, r.fullEnd - 1)),
                  false);
    }
  }

  void paintHeader(int32_t col, int32_t row, const QRect& r, bool marked) {
    mCells.paintHeader(col, row, r, marked);
  }

  void paintActiveFrame() {
    const int32_t col = d.activeCol(), row = d.activeRow();
    if (col < 1 || row < 1) return;
    std::optional<QRect> r;
    if (auto span = d.spanAt(col, row))
      r = mLayout.spanRect(*span);
    else
      r = mLayout.fullCellRect(col, row);
    if (!r) return;
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r->adjusted(0, 0, -1, -1));
    if (r->width() > 3 && r->height() > 3) p.drawRect(r->adjusted(1, 1, -2, -2));
  }

  void paintScrollBar(const ScrollBarParts& bar, bool vertical) {
    if (bar.bar.isEmpty()) return;
    p.fillRect(bar.bar, kScrollTrackColour);
    const QColor face = toQColor(GetSysColor(COLOR_BTNFACE));
    drawRaisedFace(p, bar.decrease, face);
    drawRaisedFace(p, bar.increase, face);
    drawArrowMark(p, bar.decrease, vertical ? 0 : -1, vertical ? -1 : 0);
    drawArrowMark(p, bar.increase, vertical ? 0 : 1, vertical ? 1 : 0);
    if (!bar.thumb.isEmpty()) {
      p.fillRect(bar.thumb.adjusted(1, 1, -1, -1), kScrollThumbColour);
    }
  }

  QPainter& p;
  const ControlDocument& d;
  SheetLayout mLayout;
  SheetCellPainter mCells;
  QColor mGrayArea;
  int32_t mSel[4] = {0, 0, 0, 0};
};

// Repaints the sheet widgets after every person's input in the application:
// the input may have changed a sheet through its window or through the
// dialog around it, and documents do not tell.
class SheetRepainter : public QObject {
 public:
  static void track(MirrorWidget& widget) {
    static QPointer<SheetRepainter> instance;
    if (!instance && qApp) {
      instance = new SheetRepainter(qApp);
      qApp->installEventFilter(instance);
    }
    if (!instance) return;
    auto& widgets = instance->mWidgets;
    widgets.erase(std::remove_if(widgets.begin(), widgets.end(),
                                 [](const QPointer<MirrorWidget>& w) { return w.isNull(); }),
                  widgets.end());
    if (std::find(widgets.begin(), widgets.end(), &widget) == widgets.end())
      widgets.push_back(&widget);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress:
      case QEvent::Wheel:
        for (const QPointer<MirrorWidget>& w : mWidgets)
          if (w) w->update();
        break;
      default:
        break;
    }
    return false;
  }

 private:
  explicit SheetRepainter(QObject* parent) : QObject(parent) {}
  std::vector<QPointer<MirrorWidget>> mWidgets;
};

// ---- input ------------------------------------------------------------------------

// What a press on a scroll bar started, kept on the widget until the release.
constexpr const char* kBarPress = "krvSheetBarPress";  // 0 none, 1 bar, 2 vertical, 3 across
constexpr const char* kThumbGrab = "krvSheetThumbGrab";
constexpr const char* kWheelRest = "krvSheetWheelRest";

// Sends a mouse message as the message loop delivers a person's mouse: to
// PreTranslateMessage of the window and its parents, then to the window,
// with Shift and Ctrl held as the event holds them.
void sendMouse(CWnd& window, UINT message, CPoint at, Qt::KeyboardModifiers modifiers,
               WPARAM buttons) {
  if (!IsWindow(window.GetSafeHwnd()) || !window.IsWindowEnabled()) return;
  using krv::win::KeyboardState;
  const bool shift = modifiers & Qt::ShiftModifier, ctrl = modifiers & Qt::ControlModifier;
  if (shift) KeyboardState::setDown(VK_SHIFT, true);
  if (ctrl) KeyboardState::setDown(VK_CONTROL, true);
  MSG msg;
  msg.hwnd = &window;
  msg.message = message;
  msg.wParam = buttons | (shift ? MK_SHIFT : 0) | (ctrl ? MK_CONTROL : 0);
  msg.lParam = MAKELPARAM(at.x, at.y);
  krv::win::dispatchInput(msg);
  if (shift) KeyboardState::setDown(VK_SHIFT, false);
  if (ctrl) KeyboardState::setDown(VK_CONTROL, false);
}

// The line `steps` shown lines on from `from` (back for negative steps),
// within 1..count.
int32_t stepShownLines(const ControlDocument& d, bool rows, int32_t from, int steps) {
  const int32_t count = rows ? d.maxRows() : d.maxCols();
  const int dir = steps < 0 ? -1 : 1;
  int32_t line = from;
  for (int s = 0; s != steps; s += dir) {
    int32_t next = line + dir;
    while (next >= 1 && next <= count &&
           (rows ? d.shownRowHeight(next) : d.shownColWidth(next)) <= 0)
      next += dir;
    if (next < 1 || next > count) break;
    line = next;
  }
  return line;
}

void scrollTo(TSpread& sheet, bool rows, int32_t first) {
  const ControlDocument& d = sheet.document();
  const int32_t count = rows ? d.maxRows() : d.maxCols();
  if (count < 1) return;
  first = std::clamp(first, 1, count);
  sheet.SetTopLeftCell(rows ? d.leftCol() : first, rows ? first : d.topRow());
}

// A press on a scroll bar: the arrows move a line, the track a page, the
// thumb starts a drag. False when the point is on no bar.
bool pressScrollBar(TSpread& sheet, MirrorWidget& widget, const QPoint& at) {
  const SheetLayout layout(sheet);
  const ControlDocument& d = sheet.document();
  for (const bool vertical : {true, false}) {
    const ScrollBarParts& bar = vertical ? layout.verticalBar() : layout.horizontalBar();
    if (!bar.bar.contains(at)) continue;
    widget.setProperty(kBarPress, 1);
    const auto& lines = vertical ? layout.rows() : layout.columns();
    const int page = std::max<int>(
        1, static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [](const SheetLine& l) { return l.index > 0; })) -
               1);
    int32_t first = bar.first;
    if (bar.decrease.contains(at))
      first = stepShownLines(d, vertical, first, -1);
    else if (bar.increase.contains(at))
      first = stepShownLines(d, vertical, first, 1);
    else if (bar.thumb.contains(at)) {
      widget.setProperty(kBarPress, vertical ? 2 : 3);
      widget.setProperty(kThumbGrab,
                         vertical ? at.y() - bar.thumb.top() : at.x() - bar.thumb.left());
      return true;
    } else {
      const bool before = vertical ? at.y() < bar.thumb.top() : at.x() < bar.thumb.left();
      first = stepShownLines(d, vertical, first, before ? -page : page);
    }
    scrollTo(sheet, vertical, first);
    return true;
  }
  // The corner between the bars does nothing.
  const QRect area = layout.cellArea();
  return at.x() > area.right() && at.y() > area.bottom();
}

}  // namespace

std::uint64_t SheetRenderer::paintedCellCount() { return gPaintedCells.load(); }

bool isSheetWindow(const CWnd& window) {
  const std::wstring& name = window.className();
  return name == kSpreadWindowClass || name == kSpreadPreviewWindowClass;
}

const ControlRenderer& sheetRenderer() {
  static const SheetRenderer renderer;
  return renderer;
}

void SheetRenderer::paint(QPainter& painter, CWnd& window, MirrorWidget& widget) const {
  SheetRepainter::track(widget);
  const QPoint origin = widget.clientOrigin();
  if (!origin.isNull()) painter.fillRect(widget.rect(), kBorderColour);
  CRect client;
  window.GetClientRect(&client);
  painter.save();
  painter.translate(origin);
  painter.setClipRect(QRect(0, 0, client.Width(), client.Height()));
  if (const auto* sheet = dynamic_cast<const TSpread*>(&window))
    SheetPainter(painter, *sheet, widget.font()).paint();
  else
    painter.fillRect(QRect(0, 0, client.Width(), client.Height()),
                     toQColor(GetSysColor(COLOR_WINDOW)));
  painter.restore();
}

void SheetRenderer::mousePress(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const {
  widget.setProperty(kBarPress, 0);
  if (event.button() != Qt::LeftButton) return;
  const CPoint at = clientPointOf(widget, event.position().toPoint());
  if (auto* sheet = dynamic_cast<TSpread*>(&window);
      sheet && pressScrollBar(*sheet, widget, QPoint(at.x, at.y))) {
    widget.update();
    return;
  }
  if (!IsWindow(window.GetSafeHwnd()) || !window.IsWindowEnabled()) return;
  window.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(&window),
                     MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  sendMouse(window, WM_LBUTTONDOWN, at, event.modifiers(), MK_LBUTTON);
  widget.update();
}

void SheetRenderer::mouseRelease(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const {
  if (event.button() == Qt::RightButton) {
    ControlRenderer::mouseRelease(window, widget, event);
  } else if (event.button() == Qt::LeftButton) {
    // The release of a press on a scroll bar belongs to the bar.
    if (widget.property(kBarPress).toInt() == 0)
      sendMouse(window, WM_LBUTTONUP, clientPointOf(widget, event.position().toPoint()),
                event.modifiers(), 0);
    widget.setProperty(kBarPress, 0);
  }
  widget.update();
}

void SheetRenderer::mouseDoubleClick(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const {
  if (event.button() != Qt::LeftButton) return;
  const CPoint at = clientPointOf(widget, event.position().toPoint());
  // On a scroll bar the second press scrolls again; on the cells it is the
  // double click the window's class takes.
  if (auto* sheet = dynamic_cast<TSpread*>(&window);
      sheet && pressScrollBar(*sheet, widget, QPoint(at.x, at.y))) {
    widget.update();
    return;
  }
  sendMouse(window, WM_LBUTTONDBLCLK, at, event.modifiers(), MK_LBUTTON);
  widget.update();
}

void SheetRenderer::mouseMove(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const {
  const int press = widget.property(kBarPress).toInt();
  auto* sheet = dynamic_cast<TSpread*>(&window);
  if (!sheet || (press != 2 && press != 3)) return;
  const bool vertical = press == 2;
  const CPoint at = clientPointOf(widget, event.position().toPoint());
  const SheetLayout layout(*sheet);
  const ScrollBarParts& bar = vertical ? layout.verticalBar() : layout.horizontalBar();
  const int grab = widget.property(kThumbGrab).toInt();
  const int offset = vertical ? at.y - bar.track.top() - grab : at.x - bar.track.left() - grab;
  scrollTo(*sheet, vertical, SheetLayout::lineForThumbAt(bar, vertical, offset));
  widget.update();
}

void SheetRenderer::wheel(CWnd& window, MirrorWidget& widget, QWheelEvent& event) const {
  auto* sheet = dynamic_cast<TSpread*>(&window);
  if (!sheet || !IsWindow(window.GetSafeHwnd())) {
    event.ignore();
    return;
  }
  const QPoint delta = event.angleDelta();
  const bool across = (delta.x() != 0 && delta.y() == 0) || (event.modifiers() & Qt::ShiftModifier);
  // A notch is 120; finer wheels add up until they make one.
  const int total = widget.property(kWheelRest).toInt() + (delta.y() != 0 ? delta.y() : delta.x());
  const int notches = total / 120;
  widget.setProperty(kWheelRest, total % 120);
  event.accept();
  if (notches == 0) return;
  const ControlDocument& d = sheet->document();
  // Turning the wheel away from the person shows the lines above: three
  // rows, or one column, a notch.
  const int32_t from = across ? d.leftCol() : d.topRow();
  scrollTo(*sheet, !across, stepShownLines(d, !across, from, -notches * (across ? 1 : 3)));
  widget.update();
}

void SheetRenderer::keyPress(CWnd& window, MirrorWidget& widget, QKeyEvent& event) const {
  if (event.key() == Qt::Key_Backspace) {
    // The control's editor deletes on the character Backspace types.
    CWnd* top = window.GetTopLevelParent();
    if (!top) top = &window;
    CWnd* focus = CWnd::GetFocus();
    krv::win::Person::type(focus && (focus == top || top->IsChild(focus)) ? focus : &window, L"\b");
  } else {
    ControlRenderer::keyPress(window, widget, event);
  }
  widget.update();
}

}  // namespace krv::qt
