#pragma once
// CRectTracker: a rectangle with a border style and eight resize handles
// that the person can move or resize with the mouse.
//
// Handles are squares of m_nHandleSize pixels at the corners and edge
// middles of the normalized rectangle, outside it with resizeOutside and
// inside it with resizeInside (no handles without either style). HitTest
// looks at the handles of GetHandleMask first, then the rectangle itself.
// Track and TrackRubberBand let the person drag through
// UserInterface::current() (trackRectangle / trackRubberBand).
#include "platform/win/dc.h"
#include "platform/win/win_messages.h"

class CWnd;

class CRectTracker {
 public:
  enum StyleFlags {
    solidLine = 1,
    dottedLine = 2,
    hatchedBorder = 4,
    resizeInside = 8,
    resizeOutside = 16,
    hatchInside = 32,
  };
  enum TrackerHit {
    hitNothing = -1,
    hitTopLeft = 0,
    hitTopRight = 1,
    hitBottomRight = 2,
    hitBottomLeft = 3,
    hitTop = 4,
    hitRight = 5,
    hitBottom = 6,
    hitLeft = 7,
    hitMiddle = 8,
  };

  CRectTracker() = default;
  CRectTracker(LPCRECT rect, UINT style);
  virtual ~CRectTracker() = default;

  CRect m_rect;
  UINT m_nStyle = 0;
  int m_nHandleSize = 4;
  CSize m_sizeMin = CSize(8, 8);  // smallest size a resize may leave

  // Draws the border (solid or dotted), hatching and the handles of the mask.
  virtual void Draw(CDC* dc) const;
  // The normalized rectangle with the handles and hatched border around it.
  void GetTrueRect(LPRECT rect) const;
  // Bit i set: handle i (a TrackerHit value) is shown and hit-tested. By
  // default the corners always, the middles of the top and bottom edges when
  // the rectangle is wider than three handles plus four pixels, and those
  // of the left and right edges when it is that much higher.
  virtual UINT GetHandleMask() const;
  // Which part of the tracker `point` is on (a TrackerHit value).
  int HitTest(CPoint point) const;
  // The rectangle of handle `handle` (0..7) for the current rectangle.
  void GetHandleRect(int handle, CRect* rect) const;
  // The cursor shape for `hit`: the value of the IDC_SIZE* cursor that
  // suits the handle, IDC_SIZEALL for hitMiddle, 0 for hitNothing.
  static int cursorFor(int hit);

  // When `point` is on the tracker, lets the person move (middle) or resize
  // (handle) the rectangle. True when the rectangle changed; unless
  // `allowInvert`, the result is normalized. AdjustRect and OnChangedRect
  // are called on a change.
  BOOL Track(CWnd* window, CPoint point, BOOL allowInvert = FALSE, CWnd* clipTo = nullptr);
  // Lets the person drag a new rectangle from `point`. True when one with a
  // size was drawn; it becomes m_rect.
  BOOL TrackRubberBand(CWnd* window, CPoint point, BOOL allowInvert = TRUE);

 protected:
  // Lets a derived tracker restrict a new rectangle; `handle` is the
  // TrackerHit value that was dragged.
  virtual void AdjustRect(int handle, LPRECT rect);
  virtual void OnChangedRect(const CRect& oldRect);
};

namespace krv::win {

// The rectangle a person made by dragging tracker handle `handle` of
// `start` by `delta`: -1 (or any value outside 0..7) moves it whole; a
// handle moves its own edges (0 top-left, 1 top-right, 2 bottom-right, 3
// bottom-left, 4 top, 5 right, 6 bottom, 7 left, as in
// UserInterface::trackRectangle). Not normalized. Every UserInterface
// that follows a drag computes the result with it.
CRect draggedRect(const CRect& start, int handle, CPoint delta);

}  // namespace krv::win

// Cursor shapes that a tracker asks for.
constexpr int IDC_SIZENWSE = 32642, IDC_SIZENESW = 32643, IDC_SIZEWE = 32644, IDC_SIZENS = 32645,
              IDC_SIZEALL = 32646;
