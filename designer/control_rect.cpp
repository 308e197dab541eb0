#include "designer/control_rect.h"

namespace {
constexpr int kHandleSize = 5;
}  // namespace

CControlRect::CControlRect() {
  m_nStyle = solidLine | resizeOutside;
  m_nHandleSize = kHandleSize;
}

CControlRect::~CControlRect() { destroyWindow(); }

bool CControlRect::create(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                          const CRect& rect, CWnd* parent, UINT id) {
  if (!parent || !IsWindow(parent) || mWindow) return false;
  // Only a rectangle of all zeros keeps the tracker rectangle: a control
  // sized to no height keeps its place.
  if (!(rect == CRect())) m_rect = rect;
  std::unique_ptr<CWnd> window = krv::win::makeWindowObject(className ? className : L"");
  if (!window->CreateEx(exStyle, className, text ? text : L"", style | WS_CHILD | WS_VISIBLE,
                        m_rect, parent, id))
    return false;
  mWindow = std::move(window);
  return true;
}

int CControlRect::id() const {
  return mWindow && mWindow->GetSafeHwnd() ? mWindow->GetDlgCtrlID() : -1;
}

void CControlRect::moveTo(const CRect& rect) {
  m_rect = rect;
  if (mWindow && mWindow->GetSafeHwnd()) mWindow->MoveWindow(&m_rect, TRUE);
}

void CControlRect::destroyWindow() {
  if (mWindow && mWindow->GetSafeHwnd()) mWindow->DestroyWindow();
  mWindow.reset();
}

void CControlRect::OnChangedRect(const CRect&) {
  if (mWindow && mWindow->GetSafeHwnd()) mWindow->MoveWindow(&m_rect, TRUE);
}
