#include "platform/qt/item_rows.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace krv::qt {

ItemRows::ItemRows(const QRect& area, const QFont& font, int count, int caret)
    : mArea(area), mFont(font), mCount(count) {
  mRowHeight = QFontMetrics(font).height() + 2;
  mVisible = std::max(1, area.height() / mRowHeight);
  mFirst = std::clamp(caret - mVisible + 1, 0, std::max(0, count - mVisible));
}

int ItemRows::itemAt(const QPoint& point) const {
  if (!mArea.contains(point)) return -1;
  const int item = mFirst + (point.y() - mArea.top()) / mRowHeight;
  return item < mCount ? item : -1;
}

QRect ItemRows::rowRect(int item) const {
  return QRect(mArea.left(), mArea.top() + (item - mFirst) * mRowHeight, mArea.width(), mRowHeight);
}

void ItemRows::draw(QPainter& painter, const QPalette& palette, const Look& look) const {
  painter.save();
  painter.setClipRect(mArea);
  painter.setFont(mFont);
  const int end = std::min(mCount, mFirst + mVisible + 1);
  for (int i = mFirst; i < end; ++i) {
    const QRect row = rowRect(i);
    const bool selected = look.selected && look.selected(i);
    if (selected) painter.fillRect(row, palette.color(QPalette::Highlight));
    painter.setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter.drawText(row.adjusted(2, 0, -2, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     look.text ? look.text(i) : QString());
    if (look.focused && i == look.caret) {
      QPen pen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
      pen.setStyle(Qt::DotLine);
      painter.setPen(pen);
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(row.adjusted(0, 0, -1, -1));
    }
  }
  painter.restore();
}

}  // namespace krv::qt
