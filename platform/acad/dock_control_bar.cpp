#include "platform/acad/dock_control_bar.h"

#include <map>
#include <string>

#include "platform/win/window_class.h"

namespace {

std::map<std::wstring, CAcUiDockControlBar::SavedState>& savedStates() {
  static std::map<std::wstring, CAcUiDockControlBar::SavedState> states;
  return states;
}

UINT nextBarId() {
  static UINT id = 0xE900;  // control bar identifiers of the host's frame
  return id++;
}

}  // namespace

CAcUiDockControlBar::~CAcUiDockControlBar() {
  // Destroy here so that this class's OnDestroy still runs and saves the state.
  if (m_hWnd) DestroyWindow();
}

BOOL CAcUiDockControlBar::Create(CWnd* parent, LPCWSTR title) {
  if (!parent || !IsWindow(parent)) return FALSE;
  LPCWSTR className = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW));
  mFloatingRectRestored = false;
  return CWnd::Create(className, title, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                      CRect(0, 0, 250, 200), parent, nextBarId());
}

int CAcUiDockControlBar::OnCreate(LPCREATESTRUCT cs) {
  if (CControlBar::OnCreate(cs) == -1) return -1;
  return CreateControlBar(cs) ? 0 : -1;
}

BOOL CAcUiDockControlBar::CreateControlBar(LPCREATESTRUCT) { return TRUE; }

void CAcUiDockControlBar::SetToolID(const GUID* toolId) {
  if (toolId)
    mToolId = *toolId;
  else
    mToolId.reset();
}

bool CAcUiDockControlBar::RestoreControlBar(UINT dockBarId) {
  if (!m_hWnd) return false;
  CFrameWnd* frame = GetDockingFrame();
  if (mToolId) {
    if (auto saved = savedState(*mToolId)) {
      bool placed = false;
      if (saved->floating) {
        mFloatingRectRestored = true;
        placed = floatAt(saved->floatingRect);
      } else if (dockAt(saved->dockBarId)) {
        setDockedSize(saved->dockedSize);
        placed = true;
      }
      if (placed) {
        if (frame) frame->ShowControlBar(this, saved->visible, FALSE);
        return true;
      }
    }
  }
  if (dockAt(dockBarId)) return true;
  for (UINT edge :
       {AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT, AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM})
    if (dockAt(edge)) return true;
  return floatAt(floatingRect());
}

void CAcUiDockControlBar::InitFloatingPosition(const CRect& rect) {
  if (mFloatingRectRestored) return;
  if (IsFloating())
    floatAt(rect);
  else
    setFloatingRect(rect);
}

bool CAcUiDockControlBar::OnClosing() { return true; }

void CAcUiDockControlBar::OnClose() {
  const HWND self = m_hWnd;
  if (!OnClosing()) return;
  if (!IsWindow(self)) return;  // the bar went away while closing
  CControlBar::OnClose();
}

void CAcUiDockControlBar::OnDestroy() {
  if (mToolId) {
    SavedState state;
    state.floating = IsFloating();
    state.dockBarId = dockSide() ? dockSide() : lastDockSide();
    if (!state.floating && !state.dockBarId) {
      // Never placed: nothing worth remembering.
    } else {
      state.dockedSize = dockedSize();
      state.floatingRect = floatingRect();
      state.visible = IsVisible();
      savedStates()[krv::win::guidToString(*mToolId)] = state;
    }
  }
  CControlBar::OnDestroy();
}

std::optional<CAcUiDockControlBar::SavedState> CAcUiDockControlBar::savedState(const GUID& toolId) {
  auto it = savedStates().find(krv::win::guidToString(toolId));
  if (it == savedStates().end()) return std::nullopt;
  return it->second;
}

void CAcUiDockControlBar::forgetSavedStates() { savedStates().clear(); }
