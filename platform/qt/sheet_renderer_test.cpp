// The spreadsheet control drawn and used through its Qt widget: what a
// person sees where, and what their mouse, wheel and keys do to the sheet.
#include "platform/qt/sheet_renderer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>

#include "platform/qt/picture.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/sheet_layout.h"
#include "platform/qt/window_mirror.h"
#include "platform/sheet/ss_api.h"
#include "platform/sheet/tspread.h"
#include "platform/win/person.h"
#include "platform/win/user_interface_test_support.h"

namespace {

using krv::qt::MirrorWidget;
using krv::qt::SheetLayout;
using krv::qt::SheetRenderer;
using krv::qt::WindowMirror;
using krv::win::Person;

// Counts the button presses the control reports to its parent.
class Parent : public CWnd {
 public:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (HIWORD(wParam) == kSpreadNotifyButtonClicked) ++buttonPresses;
    return CWnd::OnCommand(wParam, lParam);
  }
  int buttonPresses = 0;
};

// A bordered 400 x 300 control of 5 columns and 30 rows on a parent window:
// the header column is 30 wide, the columns 60, the rows 20 high.
class SheetRendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(krv::qt::ensureApplication(krv::qt::Display::Offscreen));
    ASSERT_TRUE(parent.Create(L"#32770", L"Sheet", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                              CRect(50, 50, 500, 420), nullptr, 0));
    ASSERT_TRUE(
        sheet.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 410, 310), &parent, 7));
    auto& d = sheet.document();
    d.setMaxCols(5);
    d.setMaxRows(30);
    d.setColWidth(-1, 60);
    d.setColWidth(0, 30);
    d.setRowHeight(-1, 20);
    top = mirror.mirror(parent);
    widget = mirror.widgetFor(&sheet);
    ASSERT_NE(widget, nullptr);
  }
  void TearDown() override {
    sheet.DestroyWindow();
    parent.DestroyWindow();
  }
  // The widget point at the middle of a cell as the renderer lays it out.
  QPoint middleOf(int col, int row) const {
    const auto r = SheetLayout(sheet).cellRect(col, row);
    EXPECT_TRUE(r.has_value()) << col << "," << row;
    return r ? r->center() + widget->clientOrigin() : QPoint();
  }
  std::pair<int, int> active() const {
    return {sheet.document().activeCol(), sheet.document().activeRow()};
  }
  void send(QEvent::Type type, const QPoint& at) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
  }
  void wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPoint at = middleOf(1, sheet.GetTopRow());
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
  }
  uint64_t cellsPaintedByAFrame() {
    QImage image(widget->size(), QImage::Format_RGB32);
    const uint64_t before = SheetRenderer::paintedCellCount();
    widget->render(&image);
    return SheetRenderer::paintedCellCount() - before;
  }

  krv::win::ScriptedUserInterfaceGuard ui;
  Parent parent;
  TSpread sheet;
  WindowMirror mirror;
  MirrorWidget* top = nullptr;
  MirrorWidget* widget = nullptr;
};

TEST_F(SheetRendererTest, TheRendererLaysCellsOutWhereTheControlFindsThem) {
  // Fractional sizes, hidden lines and a scrolled view: every cell drawn
  // has the control's own rectangle.
  auto& d = sheet.document();
  d.setColWidth(1, 47.5);
  d.setColWidth(3, 33.25);
  d.setColHidden(2, true);
  d.setRowHeight(2, 13.3);
  d.setRowHidden(4, true);
  sheet.SetTopLeftCell(1, 2);
  const SheetLayout layout(sheet);
  int cells = 0;
  for (const auto& row : layout.rows()) {
    for (const auto& col : layout.columns()) {
      CRect expected;
      ASSERT_TRUE(sheet.GetCellRect(col.index, row.index, expected));
      const QRect drawn = *layout.cellRect(col.index, row.index);
      EXPECT_EQ(drawn, QRect(expected.left, expected.top, expected.Width(), expected.Height()))
          << col.index << "," << row.index;
      ++cells;
    }
  }
  EXPECT_GT(cells, 40);
  EXPECT_EQ(layout.row(1), nullptr) << "scrolled off";
  EXPECT_EQ(layout.column(2), nullptr) << "hidden";
  EXPECT_EQ(layout.row(4), nullptr) << "hidden";
  // A column cut by the scroll bar is laid out whole and cut when drawn.
  d.setColWidth(5, 300);
  const SheetLayout cut(sheet);
  CRect shown;
  ASSERT_TRUE(sheet.GetCellRect(5, 3, shown));
  EXPECT_EQ(cut.cellRect(5, 3)->right() + 1, shown.right);
  EXPECT_EQ(cut.fullCellRect(5, 3)->width(), 300);
  // Without the header row and column the cells start at the corner.
  d.setColHidden(0, true);
  d.setRowHidden(0, true);
  const SheetLayout bare(sheet);
  EXPECT_EQ(bare.column(0), nullptr);
  EXPECT_EQ(bare.row(0), nullptr);
  EXPECT_EQ(bare.cellRect(1, 2)->topLeft(), QPoint(0, 0));
  EXPECT_EQ(*sheet.CellFromPoint(CPoint(0, 0)), (krv::sheet::ControlDocument::ViewCell{1, 2}));
}

TEST_F(SheetRendererTest, AClickMakesTheCellDrawnThereActiveAndGivesTheSheetTheFocus) {
  sheet.SetTopLeftCell(2, 5);
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, middleOf(3, 7));
  EXPECT_EQ(active(), std::make_pair(3, 7));
  EXPECT_EQ(CWnd::GetFocus(), &sheet);
  // Shift extends the selection from the active cell.
  QTest::mouseClick(widget, Qt::LeftButton, Qt::ShiftModifier, middleOf(4, 9));
  EXPECT_EQ(active(), std::make_pair(3, 7));
  EXPECT_TRUE(sheet.document().isSelected(4, 9));
  EXPECT_TRUE(sheet.document().isSelected(3, 8));
  // A column header selects the column.
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, middleOf(5, 0));
  EXPECT_TRUE(sheet.document().isSelected(5, 30));
  EXPECT_FALSE(sheet.document().isSelected(4, 5));
}

TEST_F(SheetRendererTest, CheckBoxesToggleOncePerClickAndButtonCellsReachTheParent) {
  SS_CELLTYPE type;
  SSSetTypeCheckBox(sheet.m_hWnd, &type, 0, L"on");
  ASSERT_TRUE(SSSetCellType(sheet.m_hWnd, 2, 2, &type));
  SSSetTypeButton(sheet.m_hWnd, &type, 0, L"...");
  ASSERT_TRUE(SSSetCellType(sheet.m_hWnd, 3, 2, &type));
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, middleOf(2, 2));
  EXPECT_EQ(sheet.document().data(2, 2), L"1");
  // A double click arrives as press, release, double click, release: the
  // second press only selects.
  const QPoint box = middleOf(2, 2);
  send(QEvent::MouseButtonPress, box);
  send(QEvent::MouseButtonRelease, box);
  send(QEvent::MouseButtonDblClick, box);
  send(QEvent::MouseButtonRelease, box);
  EXPECT_EQ(sheet.document().data(2, 2), L"0");
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, middleOf(3, 2));
  EXPECT_EQ(parent.buttonPresses, 1);
  EXPECT_EQ(active(), std::make_pair(3, 2));
}

TEST_F(SheetRendererTest, KeysMoveTheActiveCellAndTypingWithEnterCommitsAValue) {
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, middleOf(1, 1));
  QTest::keyClick(widget, Qt::Key_Down);
  QTest::keyClick(widget, Qt::Key_Right);
  EXPECT_EQ(active(), std::make_pair(2, 2));
  QTest::keyClicks(widget, "425");
  EXPECT_TRUE(sheet.document().editing());
  EXPECT_EQ(sheet.document().editText(), L"425");
  QTest::keyClick(widget, Qt::Key_Backspace);
  QTest::keyClick(widget, Qt::Key_Return);
  EXPECT_FALSE(sheet.document().editing());
  EXPECT_EQ(sheet.document().data(2, 2), L"42");
  // Paging down past the view scrolls it.
  QTest::keyClick(widget, Qt::Key_PageDown);
  EXPECT_GT(sheet.GetTopRow(), 1);
  EXPECT_TRUE(SheetLayout(sheet).cellRect(2, sheet.document().activeRow()).has_value());
}

TEST_F(SheetRendererTest, TheWheelAndTheScrollBarsMoveTheView) {
  wheel(-120);
  EXPECT_EQ(sheet.GetTopRow(), 4) << "three rows a notch";
  sheet.document().setRowHidden(2, true);
  wheel(120);
  EXPECT_EQ(sheet.GetTopRow(), 1) << "hidden rows are passed over";
  wheel(-60);
  EXPECT_EQ(sheet.GetTopRow(), 1) << "half a notch waits for the other half";
  wheel(-60);
  EXPECT_EQ(sheet.GetTopRow(), 5);
  wheel(-120, Qt::ShiftModifier);
  EXPECT_EQ(sheet.GetLeftCol(), 2);

  const SheetLayout layout(sheet);
  const QPoint origin = widget->clientOrigin();
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier,
                    layout.verticalBar().increase.center() + origin);
  EXPECT_EQ(sheet.GetTopRow(), 6);
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier,
                    layout.horizontalBar().decrease.center() + origin);
  EXPECT_EQ(sheet.GetLeftCol(), 1);
  // Dragging the thumb to the end of the track shows the last row at the top.
  const SheetLayout scrolled(sheet);
  const auto& bar = scrolled.verticalBar();
  QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, bar.thumb.center() + origin);
  QMouseEvent move(QEvent::MouseMove, bar.increase.center() + origin,
                   widget->mapToGlobal(bar.increase.center() + origin), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
  QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, bar.increase.center() + origin);
  EXPECT_EQ(sheet.GetTopRow(), 30);
  EXPECT_EQ(active(), std::make_pair(0, 0)) << "presses on the bars select nothing";
}

TEST_F(SheetRendererTest, AFramePaintsOnlyTheCellsInViewWhateverTheSheetsSize) {
  auto& d = sheet.document();
  const SheetLayout small(sheet);
  const uint64_t inView = (small.rows().size() - 1) * (small.columns().size() - 1);
  EXPECT_EQ(cellsPaintedByAFrame(), inView);
  d.setMaxRows(100000);
  EXPECT_EQ(cellsPaintedByAFrame(), inView);
  sheet.SetTopLeftCell(1, 99990);
  const SheetLayout bottom(sheet);
  EXPECT_EQ(cellsPaintedByAFrame(), (bottom.rows().size() - 1) * (bottom.columns().size() - 1));
  // A span is one cell.
  sheet.SetTopLeftCell(1, 1);
  ASSERT_TRUE(d.addSpan(2, 2, 2, 3));
  EXPECT_EQ(cellsPaintedByAFrame(), inView - 5);
}

TEST_F(SheetRendererTest, InputAnywhereRepaintsTheSheetsWhichItMayHaveChanged) {
  // The document does not announce changes; a key on another control may
  // have changed the sheet through the dialog.
  CWnd other;
  ASSERT_TRUE(
      other.Create(L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(415, 10, 440, 30), &parent, 9));
  MirrorWidget* otherWidget = mirror.widgetFor(&other);
  ASSERT_NE(otherWidget, nullptr);
  top->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(top));
  QApplication::processEvents();
  const uint64_t before = SheetRenderer::paintedCellCount();
  QApplication::processEvents();
  EXPECT_EQ(SheetRenderer::paintedCellCount(), before) << "nothing to repaint yet";
  QTest::keyClick(otherWidget, Qt::Key_F12);
  QApplication::processEvents();
  EXPECT_GT(SheetRenderer::paintedCellCount(), before);
  top->hide();
}

// The colour at a client point of the sheet in a picture of its parent.
class SheetPicture : public SheetRendererTest {
 protected:
  QColor at(const QImage& picture, const QPoint& clientPoint) const {
    CPoint p(clientPoint.x(), clientPoint.y());
    sheet.ClientToScreen(&p);
    CRect frame;
    parent.GetWindowRect(&frame);
    return picture.pixelColor(p.x - frame.left, p.y - frame.top);
  }
  // Pixels of a cell's inside that are not its background colour.
  int inkIn(const QImage& picture, int col, int row, const QColor& background) const {
    const QRect r = SheetLayout(sheet).cellRect(col, row)->adjusted(3, 3, -3, -3);
    int ink = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (at(picture, QPoint(x, y)) != background) ++ink;
    return ink;
  }
};

TEST_F(SheetPicture, APictureShowsTheValuesTheActiveFrameAndTheCellLooks) {
  auto& d = sheet.document();
  d.setData(1, 1, L"IPE 200");
  d.setData(2, 3, L"12.5");
  d.setData(3, 3, L"");
  d.changeAttributes(4, 4, 4, 4,
                     [](krv::sheet::CellAttributes& a) { a.backColor = RGB(255, 0, 0); });
  d.setActiveCell(2, 5);
  d.setSelection(2, 5, 2, 5);
  const QImage picture = krv::qt::renderPicture(parent);
  ASSERT_FALSE(picture.isNull());
  const QColor white(255, 255, 255);
  EXPECT_GT(inkIn(picture, 1, 1, white), 20) << "the text of a filled cell";
  EXPECT_GT(inkIn(picture, 2, 3, white), 10);
  EXPECT_EQ(inkIn(picture, 3, 3, white), 0) << "an empty cell is its background";
  EXPECT_EQ(at(picture, SheetLayout(sheet).cellRect(4, 4)->center()), QColor(255, 0, 0));
  const QRect activeCell = *SheetLayout(sheet).cellRect(2, 5);
  EXPECT_EQ(at(picture, activeCell.topLeft() + QPoint(1, 5)), QColor(0, 0, 0)) << "its frame";
  EXPECT_GT(inkIn(picture, 3, 0, QColor(240, 240, 240)), 5) << "the column header's letter";
  // Editing shows the editor's text in place of the value.
  Person::type(&sheet, L"7");
  const QImage editing = krv::qt::renderPicture(parent);
  EXPECT_NE(editing, picture);
  const auto dir = std::filesystem::path(::testing::TempDir());
  EXPECT_TRUE(krv::qt::savePicture(parent, dir / "sheet_renderer_editing.png").ok());
}

TEST_F(SheetPicture, EachCellTypeSpansBordersAndLockedCellsHaveTheirLook) {
  auto& d = sheet.document();
  d.setColWidth(-1, 70);
  SS_CELLTYPE type;
  SSSetTypeCheckBox(sheet.m_hWnd, &type, 0, L"");
  ASSERT_TRUE(SSSetCellTypeRange(sheet.m_hWnd, 1, 1, 1, 2, &type));
  d.setData(1, 1, L"1");
  d.setData(1, 2, L"0");
  SSSetTypeComboBoxEx(sheet.m_hWnd, &type, 0, L"IPE\tHEA", 5, 0);
  ASSERT_TRUE(SSSetCellType(sheet.m_hWnd, 2, 1, &type));
  d.setData(2, 1, L"IPE");
  SSSetTypeButton(sheet.m_hWnd, &type, 0, L"...");
  ASSERT_TRUE(SSSetCellType(sheet.m_hWnd, 3, 1, &type));
  SSSetTypePicture(sheet.m_hWnd, &type, 0, L"beam");
  ASSERT_TRUE(SSSetCellType(sheet.m_hWnd, 4, 1, &type));
  SSSetTypeNumber(sheet.m_hWnd, &type, 0, 2, -1000, 1000);
  ASSERT_TRUE(SSSetCellType(sheet.m_hWnd, 5, 1, &type));
  d.setData(5, 1, L"3.5");
  d.changeAttributes(2, 3, 2, 3, [](krv::sheet::CellAttributes& a) { a.locked = true; });
  d.changeAttributes(4, 3, 4, 3, [](krv::sheet::CellAttributes& a) {
    a.borderMask = 1 | 2 | 4 | 8;
    a.borderColor = RGB(0, 0, 255);
  });
  d.changeAttributes(1, 6, 1, 6, [](krv::sheet::CellAttributes& a) {
    a.fontWeight = 700;
    a.fontHeight = 16;
    a.foreColor = RGB(0, 128, 0);
  });
  d.setData(1, 6, L"Bold");
  ASSERT_TRUE(d.addSpan(2, 5, 3, 2));
  d.setData(2, 5, L"a span over three columns");
  d.setActiveCell(5, 8);
  d.setSelection(3, 8, 5, 10);
  const QImage picture = krv::qt::renderPicture(parent);
  EXPECT_TRUE(krv::qt::savePicture(parent, std::filesystem::path(::testing::TempDir()) /
                                               "sheet_renderer_cell_types.png")
                  .ok());
  const QColor white(255, 255, 255);
  EXPECT_GT(inkIn(picture, 1, 1, white), inkIn(picture, 1, 2, white) + 5) << "the tick";
  const QRect combo = *SheetLayout(sheet).cellRect(2, 1);
  EXPECT_EQ(at(picture, QPoint(combo.right() - 3, combo.top() + 3)), QColor(240, 240, 240))
      << "the arrow button";
  EXPECT_EQ(at(picture, SheetLayout(sheet).cellRect(2, 3)->center()), QColor(240, 240, 240))
      << "a locked cell";
  const QRect bordered = *SheetLayout(sheet).cellRect(4, 3);
  EXPECT_EQ(at(picture, QPoint(bordered.left(), bordered.center().y())), QColor(0, 0, 255));
  // No grid line crosses the span, and its text runs over its columns.
  const QRect span = *SheetLayout(sheet).cellRect(2, 5);
  EXPECT_EQ(at(picture, QPoint(span.right(), span.bottom() + 10)), white);
  EXPECT_GT(inkIn(picture, 3, 5, white), 10);
  EXPECT_NE(at(picture, SheetLayout(sheet).cellRect(4, 9)->center()), white) << "selected";
}

}  // namespace

TEST_F(SheetPicture, ALongTextRunsOnOverEmptyCellsUpToTheFirstThatHoldsSomething) {
  auto& d = sheet.document();
  const std::wstring longText(40, L'W');
  d.setData(1, 1, longText);  // B1 and C1 are empty: the text runs on over them
  d.setData(1, 2, longText);
  d.setData(2, 2, L"5");  // B2 holds a number: the text stops at A2's edge
  d.setData(2, 3, L"x");
  const QImage picture = krv::qt::renderPicture(parent);
  const QColor white(255, 255, 255);
  EXPECT_GT(inkIn(picture, 2, 1, white), 20) << "the text runs on over the empty B1";
  EXPECT_GT(inkIn(picture, 3, 1, white), 20) << "and over the empty C1";
  const QRect b2 = *SheetLayout(sheet).cellRect(2, 2);
  int inkLeftOfB2 = 0;
  for (int y = b2.top() + 3; y <= b2.bottom() - 3; ++y)
    for (int x = b2.left() + 2; x < b2.center().x(); ++x)
      if (at(picture, QPoint(x, y)) != white) ++inkLeftOfB2;
  EXPECT_EQ(inkLeftOfB2, 0) << "a cell that holds something is not written over";
}
