#include "platform/acad/acad_frame.h"

#include <algorithm>

#include "platform/acad/control_bar.h"
#include "platform/win/dialog.h"

namespace {
// Posted to a frame whose layout is to be redone later (ShowControlBar with
// delay).
constexpr UINT kDelayedLayout = WM_USER + 0x7E1;

CMDIFrameWnd*& hostFrame() {
  static CMDIFrameWnd* frame = nullptr;
  return frame;
}
}  // namespace

CFrameWnd::~CFrameWnd() {
  if (m_hWnd) DestroyWindow();
}

std::vector<CControlBar*>* CFrameWnd::edge(UINT dockBarId) {
  switch (dockBarId) {
    case AFX_IDW_DOCKBAR_TOP:
      return &mTop;
    case AFX_IDW_DOCKBAR_LEFT:
      return &mLeft;
    case AFX_IDW_DOCKBAR_RIGHT:
      return &mRight;
    case AFX_IDW_DOCKBAR_BOTTOM:
      return &mBottom;
    default:
      return nullptr;
  }
}

const std::vector<CControlBar*>& CFrameWnd::dockedBars(UINT dockBarId) const {
  static const std::vector<CControlBar*> none;
  auto* e = const_cast<CFrameWnd*>(this)->edge(dockBarId);
  return e ? *e : none;
}

void CFrameWnd::attachDocked(CControlBar* bar, UINT dockBarId) {
  detachBar(bar);
  if (auto* e = edge(dockBarId)) e->push_back(bar);
}

void CFrameWnd::detachBar(CControlBar* bar) {
  for (auto* e : {&mTop, &mLeft, &mRight, &mBottom})
    e->erase(std::remove(e->begin(), e->end(), bar), e->end());
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL delay) {
  if (!IsWindow(bar) || bar->GetDockingFrame() != this) return;
  bar->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
  if (CWnd* floating = bar->floatingFrame()) floating->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
  if (delay) {
    if (!mLayoutPending && PostMessage(kDelayedLayout)) mLayoutPending = true;
  } else {
    RecalcLayout();
  }
}

BOOL CFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId) {
  if (!IsWindow(bar) || bar->GetDockingFrame() != this) return FALSE;
  return bar->dockAt(dockBarId) ? TRUE : FALSE;
}

void CFrameWnd::FloatControlBar(CControlBar* bar, CPoint point) {
  if (!IsWindow(bar) || bar->GetDockingFrame() != this) return;
  CRect r = bar->floatingRect();
  r.OffsetRect(point.x - r.left, point.y - r.top);
  bar->floatAt(r);
}

void CFrameWnd::RecalcLayout(BOOL) {
  mLayoutPending = false;
  if (!m_hWnd) return;
  CRect area;
  GetClientRect(&area);
  auto visible = [](CControlBar* b) { return IsWindow(b) && b->IsVisible(); };
  for (CControlBar* b : std::vector<CControlBar*>(mTop)) {
    if (!visible(b)) continue;
    const int h = std::min(b->dockedSize(), area.Height());
    b->placeDocked(CRect(area.left, area.top, area.right, area.top + h));
    area.top += h;
  }
  for (CControlBar* b : std::vector<CControlBar*>(mBottom)) {
    if (!visible(b)) continue;
    const int h = std::min(b->dockedSize(), area.Height());
    b->placeDocked(CRect(area.left, area.bottom - h, area.right, area.bottom));
    area.bottom -= h;
  }
  for (CControlBar* b : std::vector<CControlBar*>(mLeft)) {
    if (!visible(b)) continue;
    const int w = std::min(b->dockedSize(), area.Width());
    b->placeDocked(CRect(area.left, area.top, area.left + w, area.bottom));
    area.left += w;
  }
  for (CControlBar* b : std::vector<CControlBar*>(mRight)) {
    if (!visible(b)) continue;
    const int w = std::min(b->dockedSize(), area.Width());
    b->placeDocked(CRect(area.right - w, area.top, area.right, area.bottom));
    area.right -= w;
  }
  mClientArea = area;
}

LRESULT CFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kDelayedLayout) {
    if (mLayoutPending) RecalcLayout();
    return 0;
  }
  return CWnd::DefWindowProc(message, wParam, lParam);
}

void CFrameWnd::OnSize(UINT type, int cx, int cy) {
  CWnd::OnSize(type, cx, cy);
  RecalcLayout();
}

void CFrameWnd::OnDestroy() {
  mTop.clear(), mLeft.clear(), mRight.clear(), mBottom.clear();
  mLayoutPending = false;
  CWnd::OnDestroy();
}

CMDIFrameWnd* acedGetAcadFrame() {
  CMDIFrameWnd*& frame = hostFrame();
  if (!frame) frame = new CMDIFrameWnd;
  if (!frame->GetSafeHwnd()) {
    frame->CreateEx(0, L"AfxMDIFrame", L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
                    krv::win::screenRect(), nullptr, 0);
    if (!AfxGetMainWnd()) AfxSetMainWnd(frame);
  }
  return frame;
}

HWND adsw_acadMainWnd() { return acedGetAcadFrame()->GetSafeHwnd(); }

namespace acad {
void destroyHostFrame() {
  CMDIFrameWnd*& frame = hostFrame();
  if (!frame) return;
  if (AfxGetMainWnd() == frame) AfxSetMainWnd(nullptr);
  if (frame->GetSafeHwnd()) frame->DestroyWindow();
  delete frame;
  frame = nullptr;
}
}  // namespace acad
