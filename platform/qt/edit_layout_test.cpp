// Where the text of edit fields and the rows of item lists lie: the caret
// and the current item are always in view.
#include "platform/qt/edit_layout.h"

#include <gtest/gtest.h>

#include <QFont>

#include "platform/qt/item_rows.h"
#include "platform/qt/qt_application.h"

namespace {

using krv::qt::EditLayout;

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(krv::qt::ensureApplication(krv::qt::Display::Offscreen));
    font.setPixelSize(12);
  }
  QFont font{"DejaVu Sans"};
  const QRect area{10, 5, 80, 18};
};

TEST_F(LayoutTest, ALongLineScrollsTheLeastThatShowsTheCaret) {
  const QString text = "A member name far too long for the field";
  EditLayout start(text, font, area, 0, {});
  EXPECT_EQ(start.horizontalScroll(), 0);
  EXPECT_GT(EditLayout(text, font, area, text.size(), {}).horizontalScroll(), 0);
  for (int caret : {10, 25, static_cast<int>(text.size())}) {
    EditLayout layout(text, font, area, caret, {});
    const QPoint at = layout.caretPosition(caret);
    EXPECT_TRUE(area.contains(QPoint(at.x(), area.center().y()))) << "caret " << caret;
    if (layout.horizontalScroll() > 0) {
      EXPECT_GE(at.x(), area.right() - 2) << "no more scrolled than needed, caret " << caret;
    }
    // The character under the caret's place is the caret's.
    EXPECT_EQ(layout.indexAt(at + QPoint(0, 3)), caret);
  }
}

TEST_F(LayoutTest, ShortTextsAreAlignedAndPasswordsHideTheirCharacters) {
  EditLayout::Options right;
  right.align = Qt::AlignRight;
  EditLayout layout("12.5", font, area, 4, right);
  EXPECT_EQ(layout.caretPosition(4).x(), area.right() + 1);
  EXPECT_EQ(layout.indexAt(QPoint(area.left(), 10)), 0) << "left of the text is its start";

  EditLayout::Options hidden;
  hidden.password = true;
  EditLayout a("abc", font, area, 3, hidden), w("WWW", font, area, 3, hidden);
  EXPECT_EQ(a.caretPosition(3), w.caretPosition(3)) << "every character is drawn alike";
}

TEST_F(LayoutTest, MultiLineTextShowsTheCaretsLineAndMapsPointsToCharacters) {
  EditLayout::Options multi;
  multi.multiLine = true;
  const QString text = "one\r\ntwo\r\nthree\r\nfour";
  EditLayout top(text, font, QRect(0, 0, 100, 30), 0, multi);
  EXPECT_EQ(top.firstLine(), 0);
  const int lastLineStart = text.lastIndexOf('\n') + 1;
  EditLayout bottom(text, font, QRect(0, 0, 100, 30), lastLineStart + 2, multi);
  EXPECT_GT(bottom.firstLine(), 0);
  const QPoint caret = bottom.caretPosition(lastLineStart + 2);
  EXPECT_LE(caret.y() + bottom.lineHeight(), 30) << "the caret's line is whole in view";
  EXPECT_EQ(bottom.indexAt(caret + QPoint(1, 2)), lastLineStart + 2);
  // Past the end of a line is its end, before its break.
  EditLayout all(text, font, QRect(0, 0, 100, 200), 0, multi);
  EXPECT_EQ(all.indexAt(QPoint(99, all.lineHeight() + 2)), 8);
}

TEST_F(LayoutTest, WrappedTextBreaksBetweenWordsAndKeepsEveryCharacterInItsPlace) {
  EditLayout::Options wrap;
  wrap.multiLine = wrap.wrap = true;
  const QString text = "Bolted end plate connection with stiffeners\r\nM20";
  const QRect narrow(0, 0, 90, 200);
  EditLayout layout(text, font, narrow, 0, wrap);
  // Each character is found where it is drawn, on lines that fit.
  int lines = 1;
  for (int i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') continue;
    const QPoint at = layout.caretPosition(i);
    EXPECT_LE(at.x(), narrow.right() + 1) << i;
    if (i > 0 && at.y() > layout.caretPosition(i - 1).y()) ++lines;
    EXPECT_EQ(layout.indexAt(at + QPoint(1, 2)), i) << i;
  }
  EXPECT_GE(lines, 4) << "the long line wrapped";
  // A break falls after a space: "with" begins a line or shares it whole.
  const int with = text.indexOf("with");
  EXPECT_EQ(layout.caretPosition(with).y(), layout.caretPosition(with + 3).y());
  EXPECT_EQ(layout.horizontalScroll(), 0);
}

TEST_F(LayoutTest, ItemRowsKeepTheCurrentItemInViewAndKnowTheirItems) {
  const krv::qt::ItemRows rows(QRect(0, 0, 100, 60), font, 20, 15);
  EXPECT_EQ(rows.firstRow(), 15 - rows.visibleRows() + 1);
  EXPECT_EQ(rows.itemAt(rows.rowRect(15).center()), 15);
  EXPECT_EQ(rows.itemAt(QPoint(5, 1)), rows.firstRow());
  const krv::qt::ItemRows few(QRect(0, 0, 100, 60), font, 2, 1);
  EXPECT_EQ(few.firstRow(), 0);
  EXPECT_EQ(few.itemAt(QPoint(5, 55)), -1) << "below the last item";
  EXPECT_EQ(few.itemAt(QPoint(150, 5)), -1) << "outside the area";
}

}  // namespace
