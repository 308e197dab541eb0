#include "platform/win/static_ctrl.h"

BOOL CStatic::Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(L"STATIC", text, style, rect, parent, id);
}

HBITMAP CStatic::SetBitmap(HBITMAP bitmap) {
  return reinterpret_cast<HBITMAP>(
      SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}

HICON CStatic::SetIcon(HICON icon) {
  return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
}

LRESULT CStatic::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case STM_SETIMAGE:
      if (wParam == IMAGE_ICON)
        return SendMessage(STM_SETICON, static_cast<WPARAM>(lParam));
      else {
        auto old = reinterpret_cast<LRESULT>(mBitmap);
        mBitmap = reinterpret_cast<HBITMAP>(lParam);
        notifyChange(WindowChange::ControlState);
        Invalidate();
        return old;
      }
    case STM_GETIMAGE:
      return wParam == IMAGE_ICON ? reinterpret_cast<LRESULT>(mIcon)
                                  : reinterpret_cast<LRESULT>(mBitmap);
    case STM_SETICON: {
      auto old = reinterpret_cast<LRESULT>(mIcon);
      mIcon = reinterpret_cast<HICON>(wParam);
      notifyChange(WindowChange::ControlState);
      Invalidate();
      return old;
    }
    case STM_GETICON:
      return reinterpret_cast<LRESULT>(mIcon);
    case WM_LBUTTONUP:
      if ((GetStyle() & SS_NOTIFY) && IsWindowEnabled()) notifyParent(STN_CLICKED);
      return 0;
    case WM_LBUTTONDBLCLK:
      if ((GetStyle() & SS_NOTIFY) && IsWindowEnabled()) notifyParent(STN_DBLCLK);
      return 0;
    default:
      return CWnd::DefWindowProc(message, wParam, lParam);
  }
}

std::wstring CStatic::describeState() const {
  std::wstring s;
  if (mBitmap) s += L"bitmap";
  if (mIcon) s += s.empty() ? L"icon" : L" icon";
  return s;
}

bool CStatic::canTakeOver(const CWnd& other) const { return dynamic_cast<const CStatic*>(&other); }

void CStatic::copyStateFrom(const CWnd& other) {
  CWnd::copyStateFrom(other);
  if (auto* s = dynamic_cast<const CStatic*>(&other)) {
    mBitmap = s->mBitmap;
    mIcon = s->mIcon;
  }
}
