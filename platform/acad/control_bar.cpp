#include "platform/acad/control_bar.h"

#include <algorithm>

namespace {

DWORD alignmentOf(UINT dockBarId) {
  switch (dockBarId) {
    case AFX_IDW_DOCKBAR_TOP:
      return CBRS_ALIGN_TOP;
    case AFX_IDW_DOCKBAR_LEFT:
      return CBRS_ALIGN_LEFT;
    case AFX_IDW_DOCKBAR_RIGHT:
      return CBRS_ALIGN_RIGHT;
    case AFX_IDW_DOCKBAR_BOTTOM:
      return CBRS_ALIGN_BOTTOM;
    default:
      return 0;
  }
}

bool isHorizontalEdge(UINT dockBarId) {
  return dockBarId == AFX_IDW_DOCKBAR_TOP || dockBarId == AFX_IDW_DOCKBAR_BOTTOM;
}

// The smallest floating frame that still shows its caption and some client.
constexpr int kMinFloatWidth = 60, kMinFloatHeight = 40;

}  // namespace

CControlBar::~CControlBar() {
  if (m_hWnd) DestroyWindow();
}

void CControlBar::EnableDocking(DWORD sides) {
  mDockingSides = sides & CBRS_ALIGN_ANY;
  mBarStyle = (mBarStyle & ~CBRS_ALIGN_ANY) | mDockingSides;
}

int CControlBar::dockedSize() const {
  return isHorizontalEdge(mDockSide) ? mDockedHeight : mDockedWidth;
}

void CControlBar::setDockedSize(int size) {
  size = std::max(size, 1);
  if (isHorizontalEdge(mDockSide))
    mDockedHeight = size;
  else
    mDockedWidth = size;
  if (mDockSide && mFrame && IsWindow(mFrame)) mFrame->RecalcLayout();
}

void CControlBar::setFloatingRect(const CRect& rect) {
  CRect r = rect;
  r.NormalizeRect();
  if (r.Width() < kMinFloatWidth) r.right = r.left + kMinFloatWidth;
  if (r.Height() < kMinFloatHeight) r.bottom = r.top + kMinFloatHeight;
  mFloatRect = r;
}

int CControlBar::OnCreate(LPCREATESTRUCT cs) {
  mFrame = dynamic_cast<CFrameWnd*>(GetParent());
  if (!mFrame) return -1;
  mDockedWidth = std::max(cs->cx, 1);
  mDockedHeight = std::max(cs->cy, 1);
  mDockSide = 0;
  mFloatingFrame = nullptr;
  mReported = false;
  return CWnd::OnCreate(cs);
}

bool CControlBar::dockAt(UINT dockBarId) {
  if (!m_hWnd || !mFrame || !IsWindow(mFrame)) return false;
  const DWORD need = alignmentOf(dockBarId);
  if (!need || !(mDockingSides & need)) return false;
  if (CMiniDockFrameWnd* mini = mFloatingFrame) {
    mFloatingFrame = nullptr;
    mini->forgetBar();
    SetParent(mFrame);
    mini->DestroyWindow();
  }
  mDockSide = dockBarId;
  mLastDockSide = dockBarId;
  mFrame->attachDocked(this, dockBarId);
  mFrame->RecalcLayout();
  return true;
}

bool CControlBar::floatAt(const CRect& windowRect) {
  if (!m_hWnd || !mFrame || !IsWindow(mFrame)) return false;
  setFloatingRect(windowRect);
  if (!mFloatingFrame) {
    auto* mini = new CMiniDockFrameWnd(this);
    const DWORD style =
        WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | (IsVisible() ? WS_VISIBLE : 0);
    if (!mini->CreateEx(WS_EX_TOOLWINDOW, L"AfxMiniFrame", GetWindowText().c_str(), style,
                        mFloatRect, mFrame, 0)) {
      if (!IsWindow(mini)) delete mini;
      return false;
    }
    mini->setSystemOwned(true);
    mFrame->detachBar(this);
    mDockSide = 0;
    mFloatingFrame = mini;
    SetParent(mini);
    fitFloating();
    mFrame->RecalcLayout();
  } else {
    mFloatingFrame->MoveWindow(&mFloatRect);  // fits the bar through OnSize
  }
  return true;
}

void CControlBar::placeDocked(const CRect& rect) {
  if (!m_hWnd) return;
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), flags);
  reportSize(static_cast<int>(flags));
}

void CControlBar::fitFloating() {
  if (!m_hWnd || !mFloatingFrame || GetParent() != mFloatingFrame) return;
  CRect client;
  mFloatingFrame->GetClientRect(&client);
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(nullptr, 0, 0, client.Width(), client.Height(), flags);
  CRect frameRect;
  mFloatingFrame->GetWindowRect(&frameRect);
  mFloatRect = frameRect;
  reportSize(static_cast<int>(flags));
}

void CControlBar::reportSize(int flags) {
  CRect client;
  GetClientRect(&client);
  const bool floating = IsFloating();
  if (mReported && client == mReportedRect && floating == mReportedFloating) return;
  mReported = true;
  mReportedRect = client;
  mReportedFloating = floating;
  SizeChanged(client, floating, flags);
}

void CControlBar::SizeChanged(const CRect&, bool, int) {}

void CControlBar::OnClose() {
  if (mFrame && IsWindow(mFrame))
    mFrame->ShowControlBar(this, FALSE, FALSE);
  else
    ShowWindow(SW_HIDE);
}

void CControlBar::OnLButtonDblClk(UINT, CPoint) {
  if (IsFloating()) {
    dockAt(mLastDockSide);
  } else if (IsDocked()) {
    floatAt(mFloatRect);
  }
}

BOOL CControlBar::DestroyWindow() {
  CMiniDockFrameWnd* mini = mFloatingFrame;
  const BOOL done = CWnd::DestroyWindow();
  if (done && mini && IsWindow(mini)) mini->DestroyWindow();
  return done;
}

void CControlBar::OnDestroy() {
  if (mFloatingFrame) mFloatingFrame->forgetBar();
  mFloatingFrame = nullptr;
  mDockSide = 0;
  if (mFrame && IsWindow(mFrame)) {
    mFrame->detachBar(this);
    mFrame->RecalcLayout();
  }
  CWnd::OnDestroy();
}

// --- Floating frame ----------------------------------------------------------

void CMiniDockFrameWnd::OnSize(UINT type, int cx, int cy) {
  CWnd::OnSize(type, cx, cy);
  if (mBar && IsWindow(mBar)) mBar->fitFloating();
}

void CMiniDockFrameWnd::OnMove(int x, int y) {
  CWnd::OnMove(x, y);
  if (mBar && IsWindow(mBar)) mBar->fitFloating();
}

void CMiniDockFrameWnd::OnClose() {
  if (mBar && IsWindow(mBar)) mBar->SendMessage(WM_CLOSE);
}
