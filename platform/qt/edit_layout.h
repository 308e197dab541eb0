#pragma once
// EditLayout: where the text of an edit field lies in its area, computed
// afresh from the text, the font and the caret each time: the lines shown
// (multi-line text breaks at "\r\n", and between words where it would not
// fit when it wraps), the first line shown and the horizontal scroll, both
// the least that keeps the caret in view. Edits
// and the edit field of combo boxes draw with it and find the character
// under the mouse with it.
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>
#include <vector>

class QPainter;

namespace krv::qt {

class EditLayout {
 public:
  struct Options {
    bool multiLine = false;
    bool password = false;                // shown as '*' per character
    bool wrap = false;                    // multi-line text breaks between words to fit
    Qt::Alignment align = Qt::AlignLeft;  // single-line text that fits
  };
  // `caret` is a character index of `text` (clamped).
  EditLayout(const QString& text, const QFont& font, const QRect& area, int caret, Options options);

  // The character index nearest to a point of the area.
  int indexAt(const QPoint& point) const;
  // Where the caret before character `index` is drawn (top of its line).
  QPoint caretPosition(int index) const;
  int lineHeight() const { return mLineHeight; }
  int firstLine() const { return mTop; }
  int horizontalScroll() const { return mScroll; }

  // Draws the text in `palette`'s text colour, characters selStart..selEnd
  // (either order) highlighted when `showSelection`, and the caret at the
  // layout's caret when `showCaret`.
  void draw(QPainter& painter, const QPalette& palette, int selStart, int selEnd,
            bool showSelection, bool showCaret) const;

 private:
  struct Line {
    int start;     // index of its first character in the text
    QString text;  // without its line break
  };
  int lineOf(int index) const;
  // Adds the line `text` (starting at `start`), broken to fit when wrapping.
  void addLine(int start, const QString& text);
  int xOf(int line, int column) const;
  QPoint origin(int line) const;

  std::vector<Line> mLines;
  QFont mFont;
  QRect mArea;
  int mCaret = 0;
  int mLineHeight = 1;
  int mAscent = 0;
  int mTop = 0;
  int mScroll = 0;
  int mTextTop = 0;
  Options mOptions;
};

}  // namespace krv::qt
