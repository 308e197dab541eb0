#include "platform/win/rect_tracker.h"

#include <cstdlib>

#include "platform/win/user_interface.h"

namespace {

CRect normalizedRect(const CRect& r) {
  CRect n = r;
  n.NormalizeRect();
  return n;
}

}  // namespace

CRectTracker::CRectTracker(LPCRECT rect, UINT style) : m_nStyle(style) {
  if (rect) m_rect = *rect;
}

UINT CRectTracker::GetHandleMask() const {
  UINT mask = 0x0F;
  const int size = m_nHandleSize * 3;
  if (std::abs(m_rect.Width()) - size > 4) mask |= 0x50;
  if (std::abs(m_rect.Height()) - size > 4) mask |= 0xA0;
  return mask;
}

void CRectTracker::GetHandleRect(int handle, CRect* out) const {
  if (!out) return;
  const CRect r = normalizedRect(m_rect);
  const int s = m_nHandleSize;
  const bool outside = (m_nStyle & resizeOutside) != 0;
  // Left (or top) coordinate of a handle at the low edge, middle or high edge.
  auto place = [&](int lo, int hi, int where) {
    switch (where) {
      case 0:
        return outside ? lo - s : lo;
      case 1:
        return (lo + hi) / 2 - s / 2;
      default:
        return outside ? hi : hi - s;
    }
  };
  // Position of each handle along x and y: 0 low edge, 1 middle, 2 high edge.
  static const int kX[8] = {0, 2, 2, 0, 1, 2, 1, 0};
  static const int kY[8] = {0, 0, 2, 2, 0, 1, 2, 1};
  if (handle < 0 || handle > 7) {
    out->SetRectEmpty();
    return;
  }
  const int x = place(r.left, r.right, kX[handle]);
  const int y = place(r.top, r.bottom, kY[handle]);
  out->SetRect(x, y, x + s, y + s);
}

void CRectTracker::GetTrueRect(LPRECT out) const {
  if (!out) return;
  CRect r = normalizedRect(m_rect);
  if (m_nStyle & (resizeOutside | hatchedBorder)) r.InflateRect(m_nHandleSize, m_nHandleSize);
  *out = r;
}

int CRectTracker::HitTest(CPoint point) const {
  if (m_nStyle & (resizeInside | resizeOutside)) {
    const UINT mask = GetHandleMask();
    for (int i = 0; i < 8; ++i) {
      if (!(mask & (1u << i))) continue;
      CRect h;
      GetHandleRect(i, &h);
      if (h.PtInRect(point)) return i;
    }
  }
  CRect body = normalizedRect(m_rect);
  if (m_nStyle & hatchedBorder) body.InflateRect(m_nHandleSize, m_nHandleSize);
  return body.PtInRect(point) ? hitMiddle : hitNothing;
}

int CRectTracker::cursorFor(int hit) {
  switch (hit) {
    case hitTopLeft:
    case hitBottomRight:
      return IDC_SIZENWSE;
    case hitTopRight:
    case hitBottomLeft:
      return IDC_SIZENESW;
    case hitTop:
    case hitBottom:
      return IDC_SIZENS;
    case hitLeft:
    case hitRight:
      return IDC_SIZEWE;
    case hitMiddle:
      return IDC_SIZEALL;
    default:
      return 0;
  }
}

void CRectTracker::Draw(CDC* dc) const {
  if (!dc) return;
  const CRect r = normalizedRect(m_rect);
  CPen* oldPen = dc->GetCurrentPen();
  CBrush* oldBrush = dc->GetCurrentBrush();
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  if (m_nStyle & (solidLine | dottedLine)) {
    CPen pen((m_nStyle & dottedLine) ? PS_DOT : PS_SOLID, 1, RGB(0, 0, 0));
    dc->SelectObject(&pen);
    dc->SelectStockObject(NULL_BRUSH);
    dc->Rectangle(r.left, r.top, r.right, r.bottom);
    dc->SelectObject(oldPen);
  }
  CBrush hatch(HS_BDIAGONAL, RGB(0, 0, 0));
  if (m_nStyle & hatchInside) dc->FillRect(&r, &hatch);
  if (m_nStyle & hatchedBorder) {
    const int s = m_nHandleSize;
    const CRect strips[4] = {{r.left - s, r.top - s, r.right + s, r.top},
                             {r.left - s, r.bottom, r.right + s, r.bottom + s},
                             {r.left - s, r.top, r.left, r.bottom},
                             {r.right, r.top, r.right + s, r.bottom}};
    for (const CRect& strip : strips) dc->FillRect(&strip, &hatch);
  }
  if (m_nStyle & (resizeInside | resizeOutside)) {
    const UINT mask = GetHandleMask();
    for (int i = 0; i < 8; ++i) {
      if (!(mask & (1u << i))) continue;
      CRect h;
      GetHandleRect(i, &h);
      dc->FillSolidRect(&h, RGB(0, 0, 0));
    }
  }
  dc->SelectObject(oldBrush);
  dc->SetBkMode(oldMode);
}

BOOL CRectTracker::Track(CWnd*, CPoint point, BOOL allowInvert, CWnd*) {
  const int hit = HitTest(point);
  if (hit == hitNothing) return FALSE;
  const CRect old = m_rect;
  CRect result;
  if (!UserInterface::current().trackRectangle(old, hit == hitMiddle ? -1 : hit, result))
    return FALSE;
  if (!allowInvert) result.NormalizeRect();
  AdjustRect(hit, &result);
  if (result == old) return FALSE;
  m_rect = result;
  OnChangedRect(old);
  return TRUE;
}

BOOL CRectTracker::TrackRubberBand(CWnd*, CPoint point, BOOL allowInvert) {
  CRect band;
  if (!UserInterface::current().trackRubberBand(point, band)) return FALSE;
  if (!allowInvert) band.NormalizeRect();
  const CRect old = m_rect;
  m_rect = band;
  if (!(m_rect == old)) OnChangedRect(old);
  const CRect n = normalizedRect(band);
  return n.Width() > 0 && n.Height() > 0;
}

void CRectTracker::AdjustRect(int handle, LPRECT rect) {
  if (!rect || handle == hitMiddle) return;
  // Keep the edge opposite the dragged one and hold the minimum size.
  CRect r(*rect);
  if (r.left > r.right || r.top > r.bottom) return;  // an inverted drag is left as it is
  if (r.Width() < m_sizeMin.cx) {
    if (handle == hitTopLeft || handle == hitBottomLeft || handle == hitLeft)
      r.left = r.right - m_sizeMin.cx;
    else if (handle != hitTop && handle != hitBottom)
      r.right = r.left + m_sizeMin.cx;
  }
  if (r.Height() < m_sizeMin.cy) {
    if (handle == hitTopLeft || handle == hitTopRight || handle == hitTop)
      r.top = r.bottom - m_sizeMin.cy;
    else if (handle != hitLeft && handle != hitRight)
      r.bottom = r.top + m_sizeMin.cy;
  }
  *rect = r;
}

void CRectTracker::OnChangedRect(const CRect&) {}

namespace krv::win {

CRect draggedRect(const CRect& start, int handle, CPoint delta) {
  CRect r = start;
  if (handle < 0 || handle > 7) {
    r.OffsetRect(delta);
    return r;
  }
  const bool left = handle == 0 || handle == 3 || handle == 7;
  const bool right = handle == 1 || handle == 2 || handle == 5;
  const bool top = handle == 0 || handle == 1 || handle == 4;
  const bool bottom = handle == 2 || handle == 3 || handle == 6;
  if (left) r.left += delta.x;
  if (right) r.right += delta.x;
  if (top) r.top += delta.y;
  if (bottom) r.bottom += delta.y;
  return r;
}

}  // namespace krv::win
