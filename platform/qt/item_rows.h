#pragma once
// ItemRows: the rows of a list of text items in an area (a list box, the
// list of a simple combo box), one row per item of the font's height plus
// two pixels, from a first row chosen as the least that shows the caret
// item. Draws the rows (selected ones highlighted, the caret item with a
// focus mark) and tells which item a point is on.
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>
#include <functional>

class QPainter;

namespace krv::qt {

class ItemRows {
 public:
  ItemRows(const QRect& area, const QFont& font, int count, int caret);

  int rowHeight() const { return mRowHeight; }
  int firstRow() const { return mFirst; }
  // Rows that fit in the area whole.
  int visibleRows() const { return mVisible; }
  // The item under a point of the area; -1 below the last item or outside.
  int itemAt(const QPoint& point) const;
  QRect rowRect(int item) const;

  struct Look {
    std::function<QString(int)> text;
    std::function<bool(int)> selected;
    int caret = -1;        // item with the focus mark when `focused`
    bool focused = false;  // the control has the focus
  };
  void draw(QPainter& painter, const QPalette& palette, const Look& look) const;

 private:
  QRect mArea;
  QFont mFont;
  int mCount;
  int mRowHeight;
  int mVisible;
  int mFirst;
};

}  // namespace krv::qt
