#include "platform/qt/edit_layout.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace krv::qt {

EditLayout::EditLayout(const QString& text, const QFont& font, const QRect& area, int caret,
                       Options options)
    : mFont(font), mArea(area), mOptions(options) {
  const QString shown = options.password ? QString(text.size(), QChar('*')) : text;
  if (options.multiLine) {
    int start = 0;
    for (;;) {
      const int end = shown.indexOf(QChar('\n'), start);
      QString line = shown.mid(start, end < 0 ? -1 : end - start);
      if (line.endsWith(QChar('\r'))) line.chop(1);
      addLine(start, line);
      if (end < 0) break;
      start = end + 1;
    }
  } else {
    mLines.push_back({0, shown});
  }
  mCaret = std::clamp(caret, 0, static_cast<int>(shown.size()));
  const QFontMetrics metrics(mFont);
  mLineHeight = std::max(1, metrics.height());
  mAscent = metrics.ascent();
  const int caretLine = lineOf(mCaret);
  if (options.multiLine) {
    const int visible = std::max(1, mArea.height() / mLineHeight);
    mTop = std::clamp(caretLine - visible + 1, 0, std::max(0, static_cast<int>(mLines.size()) - 1));
    mTextTop = mArea.top();
  } else {
    mTextTop = mArea.top() + (mArea.height() - mLineHeight) / 2;
  }
  const int caretX = xOf(caretLine, mCaret - mLines[static_cast<std::size_t>(caretLine)].start);
  mScroll = std::max(0, caretX - mArea.width() + 1);
}

void EditLayout::addLine(int start, const QString& text) {
  if (!mOptions.wrap || !mOptions.multiLine) {
    mLines.push_back({start, text});
    return;
  }
  const QFontMetrics metrics(mFont);
  int from = 0;
  while (metrics.horizontalAdvance(text.mid(from)) > mArea.width()) {
    // The longest stretch that fits, ended after a space when there is one.
    int fits = from + 1;
    while (fits < text.size() &&
           metrics.horizontalAdvance(text.mid(from, fits + 1 - from)) <= mArea.width())
      ++fits;
    const int space = text.lastIndexOf(QChar(' '), fits - 1);
    const int end = space >= from ? space + 1 : fits;
    mLines.push_back({start + from, text.mid(from, end - from)});
    from = end;
  }
  mLines.push_back({start + from, text.mid(from)});
}

int EditLayout::lineOf(int index) const {
  for (std::size_t i = mLines.size(); i-- > 0;)
    if (mLines[i].start <= index) return static_cast<int>(i);
  return 0;
}

int EditLayout::xOf(int line, int column) const {
  const QString& text = mLines[static_cast<std::size_t>(line)].text;
  return QFontMetrics(mFont).horizontalAdvance(text.left(std::clamp(column, 0, int(text.size()))));
}

QPoint EditLayout::origin(int line) const {
  int x = mArea.left() - mScroll;
  if (!mOptions.multiLine && mScroll == 0) {
    const int width =
        xOf(line, static_cast<int>(mLines[static_cast<std::size_t>(line)].text.size()));
    if (width < mArea.width()) {
      if (mOptions.align & Qt::AlignHCenter) x = mArea.left() + (mArea.width() - width) / 2;
      if (mOptions.align & Qt::AlignRight) x = mArea.right() + 1 - width;
    }
  }
  return QPoint(x, mTextTop + (line - mTop) * mLineHeight);
}

int EditLayout::indexAt(const QPoint& point) const {
  const int last = static_cast<int>(mLines.size()) - 1;
  const int line = std::clamp(mTop + (point.y() - mTextTop) / mLineHeight, 0, last);
  const Line& l = mLines[static_cast<std::size_t>(line)];
  const int x = point.x() - origin(line).x();
  int best = 0;
  for (int column = 1; column <= l.text.size(); ++column)
    if (std::abs(xOf(line, column) - x) < std::abs(xOf(line, best) - x)) best = column;
  return l.start + best;
}

QPoint EditLayout::caretPosition(int index) const {
  const int line = lineOf(index);
  return origin(line) + QPoint(xOf(line, index - mLines[static_cast<std::size_t>(line)].start), 0);
}

void EditLayout::draw(QPainter& painter, const QPalette& palette, int selStart, int selEnd,
                      bool showSelection, bool showCaret) const {
  painter.save();
  painter.setClipRect(mArea);
  painter.setFont(mFont);
  const int a = std::min(selStart, selEnd), b = std::max(selStart, selEnd);
  const int visible = mOptions.multiLine ? mArea.height() / mLineHeight + 1 : 1;
  const int end = std::min(static_cast<int>(mLines.size()), mTop + visible);
  for (int i = mTop; i < end; ++i) {
    const Line& line = mLines[static_cast<std::size_t>(i)];
    const QPoint at = origin(i);
    painter.setPen(palette.color(QPalette::Text));
    painter.drawText(at + QPoint(0, mAscent), line.text);
    const int from = std::max(a, line.start);
    const int to = std::min(b, line.start + static_cast<int>(line.text.size()));
    if (!showSelection || from >= to) continue;
    const QRect band(at.x() + xOf(i, from - line.start), at.y(),
                     xOf(i, to - line.start) - xOf(i, from - line.start), mLineHeight);
    painter.save();
    painter.setClipRect(band.intersected(mArea));
    painter.fillRect(band, palette.color(QPalette::Highlight));
    painter.setPen(palette.color(QPalette::HighlightedText));
    painter.drawText(at + QPoint(0, mAscent), line.text);
    painter.restore();
  }
  if (showCaret) {
    const QPoint c = caretPosition(mCaret);
    painter.setPen(palette.color(QPalette::Text));
    painter.drawLine(c, c + QPoint(0, mLineHeight - 1));
  }
  painter.restore();
}

}  // namespace krv::qt
