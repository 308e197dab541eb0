#include "designer/control_tracker.h"

#include <algorithm>
#include <vector>

#include "designer/control_rect.h"
#include "platform/win/dc.h"
#include "platform/win/wnd.h"

// The cursor functions of the window system (window_class.h, whose cursor
// names clash with the tracker's cursor shape values).
HCURSOR LoadCursor(HINSTANCE instance, LPCWSTR cursorId);
HCURSOR SetCursor(HCURSOR cursor);

namespace {

// True when inner lies wholly inside outer (both normalized).
bool liesInside(const CRect& inner, const CRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

}  // namespace

CControlTracker::CControlTracker(CWnd* dialog) : mDialog(dialog) {
  m_nStyle = dottedLine;
  m_sizeMin = CSize(0, 0);
}

void CControlTracker::add(CControlRect* control) {
  if (!control || mControls.contains(control)) return;
  CWnd* added = control->window();
  if (added && added->GetSafeHwnd()) stackBelow(added);
  mControls.append(control);
}

void CControlTracker::stackBelow(CWnd* added) {
  // The tracked windows, newest first: the order they end in below `added`.
  std::vector<CWnd*> tracked;
  for (int i = mControls.length() - 1; i >= 0; --i) {
    CWnd* w = mControls[i]->window();
    if (w && w->GetSafeHwnd() && w != added) tracked.push_back(w);
  }
  if (tracked.empty()) return;
  // Usually they already lie together in that order, right above the new
  // window (a new child is created below its elder siblings): then moving
  // the new window above them gives the same order in one step.
  if (CWnd* parent = added->treeParent()) {
    const std::vector<CWnd*>& siblings = parent->children();
    const auto first = std::find(siblings.begin(), siblings.end(), tracked.front());
    const auto at = static_cast<size_t>(first - siblings.begin());
    bool together = first != siblings.end() && at + tracked.size() < siblings.size() &&
                    siblings[at + tracked.size()] == added;
    for (size_t k = 0; together && k < tracked.size(); ++k)
      together = siblings[at + k] == tracked[k];
    if (together) {
      added->SetWindowPos(at == 0 ? HWND_TOP : siblings[at - 1], 0, 0, 0, 0,
                          SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      return;
    }
  }
  // Otherwise each window placed right below the new one pushes the ones
  // placed before further down, so walking from the oldest keeps the newest
  // on top.
  for (auto w = tracked.rbegin(); w != tracked.rend(); ++w)
    (*w)->SetWindowPos(added, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool CControlTracker::remove(int id) {
  for (int i = 0; i < mControls.length(); ++i) {
    if (mControls[i]->id() != id) continue;
    setSelected(mControls[i], false);
    mControls.removeAt(i);
    return true;
  }
  return false;
}

void CControlTracker::removeAll() {
  clearSelection();
  mControls.removeAll();
}

void CControlTracker::clearSelection() {
  for (CControlRect* c : mSelected) c->setSelected(false);
  mSelected.removeAll();
}

bool CControlTracker::select(int id, bool clearFirst) {
  if (clearFirst) clearSelection();
  for (CControlRect* c : mControls) {
    if (c->id() == id) {
      setSelected(c, true);
      return true;
    }
  }
  return false;
}

AcArray<int> CControlTracker::selectedIds() const {
  AcArray<int> ids;
  for (const CControlRect* c : mSelected) ids.append(c->id());
  return ids;
}

int CControlTracker::singleSelectedId() const {
  return mSelected.length() == 1 ? mSelected[0]->id() : -1;
}

void CControlTracker::setSelected(CControlRect* control, bool selected) {
  control->setSelected(selected);
  if (selected) {
    if (!mSelected.contains(control)) mSelected.append(control);
  } else {
    mSelected.remove(control);
  }
}

CControlRect* CControlTracker::hitControl(CPoint point, int& hit) const {
  for (CControlRect* c : mControls) {
    hit = c->HitTest(point);
    if (hit != hitNothing) return c;
  }
  hit = hitNothing;
  return nullptr;
}

void CControlTracker::repaint() const {
  if (mDialog && mDialog->GetSafeHwnd()) mDialog->Invalidate();
}

CRect CControlTracker::selectionBounds() const {
  if (mSelected.isEmpty()) return CRect();
  CRect bounds = mSelected[0]->m_rect;
  bounds.NormalizeRect();
  for (const CControlRect* c : mSelected) {
    CRect r = c->m_rect;
    r.NormalizeRect();
    bounds.left = std::min(bounds.left, r.left);
    bounds.top = std::min(bounds.top, r.top);
    bounds.right = std::max(bounds.right, r.right);
    bounds.bottom = std::max(bounds.bottom, r.bottom);
  }
  return bounds;
}

bool CControlTracker::trackButtonDown(CPoint point, UINT flags, bool allowRubberBand) {
  const bool ctrl = (flags & MK_CONTROL) != 0;
  const bool shift = (flags & MK_SHIFT) != 0;
  int hit = hitNothing;
  if (CControlRect* control = hitControl(point, hit)) {
    if (ctrl) {
      setSelected(control, !control->isSelected());
    } else if (shift) {
      setSelected(control, true);
    } else {
      if (!control->isSelected()) {
        clearSelection();
        setSelected(control, true);
      }
      if (hit == hitMiddle) {
        const CRect bounds = selectionBounds();
        m_rect = bounds;
        if (Track(mDialog, point, FALSE)) {
          const int dx = m_rect.left - bounds.left;
          const int dy = m_rect.top - bounds.top;
          for (CControlRect* c : mSelected) {
            CRect r = c->m_rect;
            r.OffsetRect(dx, dy);
            c->moveTo(r);
          }
        }
      } else {
        control->Track(mDialog, point, FALSE);
      }
    }
    repaint();
    return true;
  }
  if (ctrl || shift) return false;
  clearSelection();
  if (allowRubberBand && TrackRubberBand(mDialog, point, TRUE)) {
    CRect band = m_rect;
    band.NormalizeRect();
    for (CControlRect* c : mControls) {
      CRect r = c->m_rect;
      r.NormalizeRect();
      if (liesInside(r, band)) setSelected(c, true);
    }
  }
  repaint();
  return true;
}

void CControlTracker::drawSelection(CDC* dc) const {
  if (!dc) return;
  for (const CControlRect* c : mSelected) c->Draw(dc);
}

bool CControlTracker::setTrackerCursor(CPoint point) const {
  int hit = hitNothing;
  if (!hitControl(point, hit)) return false;
  const int cursor = cursorFor(hit);
  if (cursor == 0) return false;
  const auto asName = [](int id) {
    return reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(id));
  };
  // A window system without the sizing shapes shows the move shape.
  HCURSOR shape = LoadCursor(nullptr, asName(cursor));
  if (!shape) shape = LoadCursor(nullptr, asName(IDC_SIZEALL));
  SetCursor(shape);
  return true;
}
