#include "platform/win/button.h"

BOOL CButton::Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(L"BUTTON", caption, style, rect, parent, id);
}

int CButton::GetCheck() const {
  return static_cast<int>(const_cast<CButton*>(this)->SendMessage(BM_GETCHECK));
}
void CButton::SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
UINT CButton::GetState() const {
  return static_cast<UINT>(const_cast<CButton*>(this)->SendMessage(BM_GETSTATE));
}
void CButton::SetState(BOOL highlight) { SendMessage(BM_SETSTATE, highlight); }
void CButton::SetButtonStyle(UINT style, BOOL redraw) { SendMessage(BM_SETSTYLE, style, redraw); }

HICON CButton::SetIcon(HICON icon) {
  return reinterpret_cast<HICON>(
      SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)));
}

HBITMAP CButton::SetBitmap(HBITMAP bitmap) {
  return reinterpret_cast<HBITMAP>(
      SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}

bool CButton::isCheckable() const {
  switch (buttonType()) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return true;
    default:
      return false;
  }
}

void CButton::click() {
  if (!IsWindowEnabled() || buttonType() == BS_GROUPBOX) return;
  SetFocus();
  if (!m_hWnd) return;
  switch (buttonType()) {
    case BS_AUTOCHECKBOX:
      SetCheck(mCheck == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED);
      break;
    case BS_AUTO3STATE:
      SetCheck((mCheck + 1) % 3);
      break;
    case BS_AUTORADIOBUTTON:
      if (CWnd* parent = treeParent()) {
        for (CWnd* other : parent->groupOf(this)) {
          auto* b = dynamic_cast<CButton*>(other);
          if (b && b != this && b->buttonType() == BS_AUTORADIOBUTTON) b->SetCheck(BST_UNCHECKED);
        }
      }
      SetCheck(BST_CHECKED);
      break;
    default:
      break;
  }
  notifyParent(BN_CLICKED);
}

LRESULT CButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case BM_GETCHECK:
      return isCheckable() ? mCheck : 0;
    case BM_SETCHECK: {
      int check = static_cast<int>(wParam);
      if (check < 0 || check > 2) check = BST_CHECKED;
      if (check == BST_INDETERMINATE && buttonType() != BS_3STATE && buttonType() != BS_AUTO3STATE)
        check = BST_CHECKED;
      if (isCheckable() && check != mCheck) {
        mCheck = check;
        notifyChange(WindowChange::ControlState);
        Invalidate();
      }
      return 0;
    }
    case BM_GETSTATE:
      return (isCheckable() ? mCheck : 0) | (mPushed ? 0x4 : 0);
    case BM_SETSTATE:
      if (mPushed != (wParam != 0)) {
        mPushed = wParam != 0;
        notifyChange(WindowChange::ControlState);
      }
      return 0;
    case BM_SETSTYLE:
      ModifyStyle(0xFFFF, static_cast<DWORD>(wParam) & 0xFFFF);
      if (lParam) Invalidate();
      return 0;
    case BM_CLICK:
      click();
      return 0;
    case BM_GETIMAGE:
      return wParam == IMAGE_ICON ? reinterpret_cast<LRESULT>(mIcon)
                                  : reinterpret_cast<LRESULT>(mBitmap);
    case BM_SETIMAGE: {
      LRESULT old;
      if (wParam == IMAGE_ICON) {
        old = reinterpret_cast<LRESULT>(mIcon);
        mIcon = reinterpret_cast<HICON>(lParam);
      } else {
        old = reinterpret_cast<LRESULT>(mBitmap);
        mBitmap = reinterpret_cast<HBITMAP>(lParam);
      }
      notifyChange(WindowChange::ControlState);
      Invalidate();
      return old;
    }
    case WM_LBUTTONDOWN:
      mPushed = true;
      return 0;
    case WM_LBUTTONUP:
      if (mPushed) {
        mPushed = false;
        click();
      }
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE) click();
      return 0;
    default:
      return CWnd::DefWindowProc(message, wParam, lParam);
  }
}

std::wstring CButton::describeState() const {
  std::wstring s;
  if (isCheckable()) s += L"check=" + std::to_wstring(mCheck);
  if (isDefaultButton()) s += s.empty() ? L"default" : L" default";
  if (mIcon) s += s.empty() ? L"icon" : L" icon";
  if (mBitmap) s += s.empty() ? L"bitmap" : L" bitmap";
  return s;
}

bool CButton::canTakeOver(const CWnd& other) const { return dynamic_cast<const CButton*>(&other); }

void CButton::copyStateFrom(const CWnd& other) {
  CWnd::copyStateFrom(other);
  if (auto* b = dynamic_cast<const CButton*>(&other)) {
    mCheck = b->mCheck;
    mIcon = b->mIcon;
    mBitmap = b->mBitmap;
  }
}
