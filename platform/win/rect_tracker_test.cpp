#include "platform/win/rect_tracker.h"

#include <gtest/gtest.h>

#include "platform/win/user_interface.h"

namespace {

// Answers drags with prepared rectangles and remembers what was asked.
class DragScript : public UserInterface {
 public:
  bool answer = true;
  CRect result;
  CRect askedStart;
  int askedHandle = -99;
  CPoint askedBandStart;

  void runModal(CDialog&) override {}
  int messageBox(HWND, const std::wstring&, const std::wstring&, UINT) override { return 0; }
  bool chooseFiles(const FileDialogRequest&, std::vector<std::wstring>&) override { return false; }
  bool trackRectangle(const CRect& start, int handle, CRect& out) override {
    askedStart = start;
    askedHandle = handle;
    out = result;
    return answer;
  }
  bool trackRubberBand(CPoint start, CRect& out) override {
    askedBandStart = start;
    out = result;
    return answer;
  }
  bool pickPoint(const std::wstring&, PickedPoint&) override { return false; }
  bool pickObject(const std::wstring&, std::int64_t&) override { return false; }
};

class CountingTracker : public CRectTracker {
 public:
  using CRectTracker::CRectTracker;
  int changes = 0;
  UINT GetHandleMask() const override { return allHandles ? 255 : CRectTracker::GetHandleMask(); }
  bool allHandles = false;

 protected:
  void OnChangedRect(const CRect&) override { ++changes; }
};

TEST(RectTracker, HitTestFindsEachHandleOutsideOrInsideAndTheMiddle) {
  const CRect r(10, 10, 50, 30);
  CRectTracker outside(&r, CRectTracker::solidLine | CRectTracker::resizeOutside);
  outside.m_nHandleSize = 5;
  // One point in each handle, in hit order 0..7.
  const CPoint outsidePoints[8] = {{7, 7},  {52, 7},  {52, 32}, {7, 32},
                                   {30, 7}, {52, 20}, {30, 32}, {7, 20}};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(outside.HitTest(outsidePoints[i]), i) << i;
  EXPECT_EQ(outside.HitTest(CPoint(20, 20)), CRectTracker::hitMiddle);
  EXPECT_EQ(outside.HitTest(CPoint(10, 10)), CRectTracker::hitMiddle);  // handles lie outside
  EXPECT_EQ(outside.HitTest(CPoint(50, 30)), CRectTracker::hitBottomRight);
  EXPECT_EQ(outside.HitTest(CPoint(60, 20)), CRectTracker::hitNothing);
  EXPECT_EQ(outside.HitTest(CPoint(4, 4)), CRectTracker::hitNothing);
  CRect trueRect;
  outside.GetTrueRect(&trueRect);
  EXPECT_EQ(trueRect, CRect(5, 5, 55, 35));

  CRectTracker inside(&r, CRectTracker::resizeInside);
  inside.m_nHandleSize = 5;
  EXPECT_EQ(inside.HitTest(CPoint(10, 10)), CRectTracker::hitTopLeft);
  EXPECT_EQ(inside.HitTest(CPoint(49, 29)), CRectTracker::hitBottomRight);
  EXPECT_EQ(inside.HitTest(CPoint(7, 7)), CRectTracker::hitNothing);
  // Without a resize style only the middle is hit; an inverted rectangle
  // is tested as its normalized self.
  const CRect inverted(50, 30, 10, 10);
  CRectTracker plain(&inverted, CRectTracker::dottedLine);
  EXPECT_EQ(plain.HitTest(CPoint(10, 10)), CRectTracker::hitMiddle);
  EXPECT_EQ(plain.HitTest(CPoint(9, 10)), CRectTracker::hitNothing);
}

TEST(RectTracker, SmallRectanglesHideTheEdgeHandlesUnlessTheMaskSaysOtherwise) {
  const CRect wideLow(0, 0, 40, 10);
  CountingTracker t(&wideLow, CRectTracker::resizeOutside);
  EXPECT_EQ(t.GetHandleMask(), 0x0Fu | 0x50u);  // 40 - 12 > 4, 10 - 12 <= 4
  EXPECT_EQ(t.HitTest(CPoint(21, -2)), CRectTracker::hitTop);
  EXPECT_EQ(t.HitTest(CPoint(-2, 5)), CRectTracker::hitNothing);  // left middle hidden
  t.m_rect.SetRect(0, 0, 16, 16);
  EXPECT_EQ(t.GetHandleMask(), 0x0Fu);
  t.allHandles = true;
  EXPECT_EQ(t.GetHandleMask(), 255u);
  EXPECT_EQ(t.HitTest(CPoint(-2, 8)), CRectTracker::hitLeft);
}

TEST(RectTracker, TrackAsksThePersonAndTakesTheResult) {
  DragScript script;
  krv::win::ScopedUserInterface scoped(script);
  const CRect r(10, 10, 50, 30);
  CountingTracker t(&r, CRectTracker::solidLine | CRectTracker::resizeOutside);
  t.m_nHandleSize = 5;

  script.result = CRect(20, 15, 60, 35);
  EXPECT_TRUE(t.Track(nullptr, CPoint(20, 20)));
  EXPECT_EQ(script.askedHandle, -1);  // the middle moves the whole rectangle
  EXPECT_EQ(script.askedStart, r);
  EXPECT_EQ(t.m_rect, CRect(20, 15, 60, 35));
  EXPECT_EQ(t.changes, 1);

  // A resize that inverts the rectangle is normalized unless allowed.
  script.result = CRect(70, 15, 62, 35);
  EXPECT_TRUE(t.Track(nullptr, CPoint(62, 37), FALSE));
  EXPECT_EQ(script.askedHandle, CRectTracker::hitBottomRight);
  EXPECT_EQ(t.m_rect, CRect(62, 15, 70, 35));

  // The minimum size holds the edge opposite the dragged handle.
  t.m_rect = CRect(0, 0, 40, 40);
  script.result = CRect(38, 0, 40, 40);
  EXPECT_TRUE(t.Track(nullptr, CPoint(-2, 20)));
  EXPECT_EQ(script.askedHandle, CRectTracker::hitLeft);
  EXPECT_EQ(t.m_rect, CRect(32, 0, 40, 40));

  // Cancelled drags and misses change nothing.
  const int changes = t.changes;
  script.answer = false;
  EXPECT_FALSE(t.Track(nullptr, CPoint(35, 20)));
  script.answer = true;
  script.askedHandle = -99;
  EXPECT_FALSE(t.Track(nullptr, CPoint(500, 500)));
  EXPECT_EQ(script.askedHandle, -99);
  EXPECT_EQ(t.m_rect, CRect(32, 0, 40, 40));
  EXPECT_EQ(t.changes, changes);
}

TEST(RectTracker, RubberBandTakesTheBandAndFailsWhenEmptyOrCancelled) {
  DragScript script;
  krv::win::ScopedUserInterface scoped(script);
  CRectTracker t;
  script.result = CRect(5, 6, 25, 26);
  EXPECT_TRUE(t.TrackRubberBand(nullptr, CPoint(5, 6)));
  EXPECT_EQ(script.askedBandStart, CPoint(5, 6));
  EXPECT_EQ(t.m_rect, CRect(5, 6, 25, 26));
  script.result = CRect(5, 6, 5, 30);
  EXPECT_FALSE(t.TrackRubberBand(nullptr, CPoint(5, 6)));
  script.answer = false;
  EXPECT_FALSE(t.TrackRubberBand(nullptr, CPoint(5, 6)));
  EXPECT_EQ(t.m_rect, CRect(5, 6, 5, 30));
}

TEST(RectTracker, DrawPaintsBorderAndHandles) {
  CBitmap bitmap;
  bitmap.setImage(krv::win::BitmapImage(20, 20, RGB(255, 255, 255)));
  CDC dc;
  dc.SelectObject(&bitmap);
  const CRect r(5, 5, 15, 15);
  CountingTracker t(&r, CRectTracker::solidLine | CRectTracker::resizeOutside);
  t.m_nHandleSize = 3;
  t.allHandles = true;
  t.Draw(&dc);
  EXPECT_EQ(dc.GetPixel(5, 9), RGB(0, 0, 0));        // border
  EXPECT_EQ(dc.GetPixel(9, 9), RGB(255, 255, 255));  // inside untouched
  EXPECT_EQ(dc.GetPixel(3, 3), RGB(0, 0, 0));        // top-left handle
  EXPECT_EQ(dc.GetPixel(16, 16), RGB(0, 0, 0));      // bottom-right handle
  EXPECT_EQ(dc.GetPixel(10, 3), RGB(0, 0, 0));       // top handle
  EXPECT_EQ(dc.GetPixel(1, 1), RGB(255, 255, 255));
  // The context keeps its own pen, brush and background mode.
  EXPECT_EQ(dc.GetCurrentPen(), GetStockObject(BLACK_PEN));
  EXPECT_EQ(dc.GetCurrentBrush(), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(dc.GetBkMode(), OPAQUE);
  EXPECT_EQ(CRectTracker::cursorFor(CRectTracker::hitTopRight), IDC_SIZENESW);
  EXPECT_EQ(CRectTracker::cursorFor(CRectTracker::hitNothing), 0);
}

}  // namespace

TEST(DraggedRect, EachHandleMovesItsOwnEdgesAndTheMiddleMovesAll) {
  using krv::win::draggedRect;
  const CRect r(10, 20, 50, 60);
  const CPoint d(5, 6);
  EXPECT_EQ(draggedRect(r, -1, CPoint(5, -5)), CRect(15, 15, 55, 55));
  EXPECT_EQ(draggedRect(r, CRectTracker::hitMiddle, d), CRect(15, 26, 55, 66));
  EXPECT_EQ(draggedRect(r, CRectTracker::hitTopLeft, d), CRect(15, 26, 50, 60));
  EXPECT_EQ(draggedRect(r, CRectTracker::hitTopRight, d), CRect(10, 26, 55, 60));
  EXPECT_EQ(draggedRect(r, CRectTracker::hitBottomRight, d), CRect(10, 20, 55, 66));
  EXPECT_EQ(draggedRect(r, CRectTracker::hitBottomLeft, d), CRect(15, 20, 50, 66));
  EXPECT_EQ(draggedRect(r, CRectTracker::hitTop, d), CRect(10, 26, 50, 60));
  EXPECT_EQ(draggedRect(r, CRectTracker::hitRight, d), CRect(10, 20, 55, 60));
  EXPECT_EQ(draggedRect(r, CRectTracker::hitBottom, d), CRect(10, 20, 50, 66));
  EXPECT_EQ(draggedRect(r, CRectTracker::hitLeft, d), CRect(15, 20, 50, 60));
  // Dragged past the opposite edge, the rectangle is left inverted.
  EXPECT_EQ(draggedRect(r, CRectTracker::hitLeft, CPoint(60, 0)), CRect(70, 20, 50, 60));
}
