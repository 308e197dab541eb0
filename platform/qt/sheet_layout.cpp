#include "platform/qt/sheet_layout.h"

#include <algorithm>
#include <cmath>

#include "platform/sheet/ss_api.h"

namespace krv::qt {

namespace {

// The lines in view: the header (line 0), then the lines from `first` on
// while they start inside the view. The positions add up in the order the
// document adds them, so that they round exactly as the control's.
template <class SizeOf>
std::vector<SheetLine> linesInView(int32_t first, int32_t count, double viewSize, SizeOf sizeOf) {
  std::vector<SheetLine> lines;
  auto add = [&](int32_t index, double start, double size) {
    const int from = static_cast<int>(std::ceil(start));
    const int to = static_cast<int>(std::ceil(std::min(start + size, viewSize)));
    const int fullTo = static_cast<int>(std::ceil(start + size));
    if (to > from) lines.push_back({index, from, to, fullTo});
  };
  const double header = sizeOf(0);
  if (header > 0 && viewSize > 0) add(0, 0, header);
  double start = header;
  for (int32_t i = first; i <= count && start < viewSize; ++i) {
    const double size = sizeOf(i);
    if (size > 0) add(i, start, size);
    start += size;
  }
  return lines;
}

// The arrow buttons, track and thumb of a bar of `thickness` across.
ScrollBarParts barParts(const QRect& bar, bool vertical, int32_t first, int32_t count,
                        int32_t shown) {
  ScrollBarParts p;
  p.bar = bar;
  p.first = first;
  p.count = count;
  const int length = vertical ? bar.height() : bar.width();
  const int across = vertical ? bar.width() : bar.height();
  const int arrow = std::min(across, length / 2);
  const int trackLength = std::max(0, length - 2 * arrow);
  if (vertical) {
    p.decrease = QRect(bar.left(), bar.top(), across, arrow);
    p.increase = QRect(bar.left(), bar.top() + length - arrow, across, arrow);
    p.track = QRect(bar.left(), bar.top() + arrow, across, trackLength);
  } else {
    p.decrease = QRect(bar.left(), bar.top(), arrow, across);
    p.increase = QRect(bar.left() + length - arrow, bar.top(), arrow, across);
    p.track = QRect(bar.left() + arrow, bar.top(), trackLength, across);
  }
  if (count < 1 || trackLength < 8) return p;
  // The thumb's length is the shown part of the lines; its place, the first
  // line's place among them.
  const int thumb = std::clamp(
      static_cast<int>(static_cast<double>(trackLength) * std::max<int32_t>(shown, 1) / count),
      std::min(10, trackLength), trackLength);
  const int room = trackLength - thumb;
  const int offset =
      count > 1
          ? static_cast<int>(std::lround(static_cast<double>(room) * (first - 1) / (count - 1)))
          : 0;
  if (vertical)
    p.thumb = QRect(bar.left(), p.track.top() + offset, across, thumb);
  else
    p.thumb = QRect(p.track.left() + offset, bar.top(), thumb, across);
  return p;
}

// The lines in view that are shown whole (the thumb's share of the track).
int32_t wholeLines(const std::vector<SheetLine>& lines) {
  return static_cast<int32_t>(std::count_if(lines.begin(), lines.end(), [](const SheetLine& l) {
    return l.index > 0 && l.end == l.fullEnd;
  }));
}

}  // namespace

SheetLayout::SheetLayout(const TSpread& sheet) {
  const krv::sheet::ControlDocument& d = sheet.document();
  CRect client;
  sheet.GetClientRect(&client);
  short vbar = 0, hbar = 0;
  SSGetScrollBarSize(sheet.GetSafeHwnd(), &vbar, &hbar);
  const int width = std::max(0, client.Width() - vbar);
  const int height = std::max(0, client.Height() - hbar);
  mCellArea = QRect(0, 0, width, height);
  mColumns =
      linesInView(d.leftCol(), d.maxCols(), width, [&d](int32_t c) { return d.shownColWidth(c); });
  mRows =
      linesInView(d.topRow(), d.maxRows(), height, [&d](int32_t r) { return d.shownRowHeight(r); });
  mVertical =
      barParts(QRect(width, 0, vbar, height), true, d.topRow(), d.maxRows(), wholeLines(mRows));
  mHorizontal = barParts(QRect(0, height, width, hbar), false, d.leftCol(), d.maxCols(),
                         wholeLines(mColumns));
}

const SheetLine* SheetLayout::find(const std::vector<SheetLine>& lines, int32_t index) {
  auto it = std::lower_bound(lines.begin(), lines.end(), index,
                             [](const SheetLine& l, int32_t i) { return l.index < i; });
  return it != lines.end() && it->index == index ? &*it : nullptr;
}

std::optional<QRect> SheetLayout::cellRect(int32_t col, int32_t row) const {
  const SheetLine* c = column(col);
  const SheetLine* r = this->row(row);
  if (!c || !r) return std::nullopt;
  return QRect(QPoint(c->start, r->start), QPoint(c->end - 1, r->end - 1));
}

std::optional<QRect> SheetLayout::fullCellRect(int32_t col, int32_t row) const {
  const SheetLine* c = column(col);
  const SheetLine* r = this->row(row);
  if (!c || !r) return std::nullopt;
  return QRect(QPoint(c->start, r->start), QPoint(c->fullEnd - 1, r->fullEnd - 1));
}

std::optional<QRect> SheetLayout::spanRect(const krv::sheet::CellSpan& span) const {
  auto extent = [](const std::vector<SheetLine>& lines, int32_t from,
                   int32_t count) -> std::optional<std::pair<int, int>> {
    std::optional<std::pair<int, int>> e;
    auto it = std::lower_bound(lines.begin(), lines.end(), from,
                               [](const SheetLine& l, int32_t i) { return l.index < i; });
    for (; it != lines.end() && it->index < from + count; ++it) {
      if (!e) e = std::make_pair(it->start, it->fullEnd);
      e->second = it->fullEnd;
    }
    return e;
  };
  auto h = extent(mColumns, span.col, span.numCols);
  auto v = extent(mRows, span.row, span.numRows);
  if (!h || !v) return std::nullopt;
  return QRect(QPoint(h->first, v->first), QPoint(h->second - 1, v->second - 1));
}

int32_t SheetLayout::lineForThumbAt(const ScrollBarParts& bar, bool vertical, int offset) {
  const int trackLength = vertical ? bar.track.height() : bar.track.width();
  const int thumb = vertical ? bar.thumb.height() : bar.thumb.width();
  const int room = trackLength - thumb;
  if (bar.count <= 1 || room <= 0) return 1;
  const double part = std::clamp(static_cast<double>(offset) / room, 0.0, 1.0);
  return 1 + static_cast<int32_t>(std::lround(part * (bar.count - 1)));
}

}  // namespace krv::qt
