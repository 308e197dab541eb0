#include "platform/win/combo_box.h"

#include <algorithm>

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(L"COMBOBOX", L"", style, rect, parent, id);
}

int CComboBox::AddString(LPCWSTR text) {
  return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}
int CComboBox::InsertString(int index, LPCWSTR text) {
  return static_cast<int>(
      SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
}
int CComboBox::DeleteString(UINT index) {
  return static_cast<int>(SendMessage(CB_DELETESTRING, index));
}
void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT); }
int CComboBox::SetCurSel(int index) {
  return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index)));
}
std::wstring CComboBox::itemText(int index) const {
  return mItems.valid(index) ? mItems[index].text : std::wstring();
}
int CComboBox::GetLBText(int index, LPWSTR buffer) const {
  if (!mItems.valid(index)) return CB_ERR;
  const std::wstring& t = mItems[index].text;
  if (buffer) std::copy(t.c_str(), t.c_str() + t.size() + 1, buffer);
  return static_cast<int>(t.size());
}
void CComboBox::GetLBText(int index, std::wstring& text) const { text = itemText(index); }
int CComboBox::GetLBTextLen(int index) const {
  return mItems.valid(index) ? static_cast<int>(mItems[index].text.size()) : CB_ERR;
}
int CComboBox::FindString(int startAfter, LPCWSTR prefix) const {
  return mItems.findPrefix(startAfter, prefix ? prefix : L"");
}
int CComboBox::FindStringExact(int startAfter, LPCWSTR text) const {
  return mItems.findExact(startAfter, text ? text : L"");
}
int CComboBox::SelectString(int startAfter, LPCWSTR prefix) {
  return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(startAfter),
                                      reinterpret_cast<LPARAM>(prefix)));
}
int CComboBox::SetItemData(int index, DWORD_PTR data) {
  return static_cast<int>(
      SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
}
DWORD_PTR CComboBox::GetItemData(int index) const {
  return mItems.valid(index) ? mItems[index].data : static_cast<DWORD_PTR>(CB_ERR);
}
void CComboBox::ShowDropDown(BOOL show) {
  if (mDropped != (show != 0)) {
    mDropped = show != 0;
    notifyChange(WindowChange::ControlState);
  }
}
BOOL CComboBox::SetEditSel(int start, int end) {
  if (!hasEdit()) return CB_ERR;
  int len = static_cast<int>(CWnd::DefWindowProc(WM_GETTEXTLENGTH, 0, 0));
  mEditSelStart = start < 0 ? len : std::min(start, len);
  mEditSelEnd = (end < 0 || end > len) ? len : end;
  return TRUE;
}
DWORD CComboBox::GetEditSel() const {
  return static_cast<DWORD>((mEditSelStart & 0xFFFF) | ((mEditSelEnd & 0xFFFF) << 16));
}

void CComboBox::setEditText(const std::wstring& text) {
  CWnd::DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  mEditSelStart = 0;
  mEditSelEnd = static_cast<int>(text.size());
}

void CComboBox::personChoose(int index) {
  if (!m_hWnd || !IsWindowEnabled() || !mItems.valid(index)) return;
  SetFocus();
  if (kind() != static_cast<int>(CBS_SIMPLE)) {
    notifyParent(CBN_DROPDOWN);
    ShowDropDown(FALSE);
    notifyParent(CBN_CLOSEUP);
  }
  if (!m_hWnd) return;
  SetCurSel(index);
  notifyParent(CBN_SELCHANGE);
  notifyParent(CBN_SELENDOK);
}

LRESULT CComboBox::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  auto text = [&]() { return std::wstring(lParam ? reinterpret_cast<LPCWSTR>(lParam) : L""); };
  const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
  switch (message) {
    case CB_ADDSTRING: {
      int i = mItems.add(text(), GetStyle() & CBS_SORT);
      if (mCurSel >= i) ++mCurSel;
      notifyChange(WindowChange::ControlState);
      return i;
    }
    case CB_INSERTSTRING: {
      int i = mItems.insert(index, text());
      if (i < 0) return CB_ERR;
      if (mCurSel >= i) ++mCurSel;
      notifyChange(WindowChange::ControlState);
      return i;
    }
    case CB_DELETESTRING: {
      int left = mItems.remove(index);
      if (left < 0) return CB_ERR;
      if (mCurSel == index)
        mCurSel = CB_ERR;
      else if (mCurSel > index)
        --mCurSel;
      notifyChange(WindowChange::ControlState);
      return left;
    }
    case CB_RESETCONTENT:
      mItems.clear();
      mCurSel = CB_ERR;
      if (hasEdit()) setEditText(L"");
      notifyChange(WindowChange::ControlState);
      return 0;
    case CB_GETCOUNT:
      return mItems.count();
    case CB_GETCURSEL:
      return mCurSel;
    case CB_SETCURSEL: {
      if (!mItems.valid(index)) {
        mCurSel = CB_ERR;
        if (hasEdit()) setEditText(L"");
        notifyChange(WindowChange::ControlState);
        return CB_ERR;
      }
      mCurSel = index;
      if (hasEdit()) setEditText(mItems[index].text);
      notifyChange(WindowChange::ControlState);
      Invalidate();
      return index;
    }
    case CB_GETLBTEXT:
      return GetLBText(index, reinterpret_cast<LPWSTR>(lParam));
    case CB_GETLBTEXTLEN:
      return GetLBTextLen(index);
    case CB_FINDSTRING:
      return mItems.findPrefix(index, text());
    case CB_FINDSTRINGEXACT:
      return mItems.findExact(index, text());
    case CB_SELECTSTRING: {
      int i = mItems.findPrefix(index, text());
      return i < 0 ? CB_ERR : DefWindowProc(CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    }
    case CB_SETITEMDATA:
      if (!mItems.valid(index)) return CB_ERR;
      mItems[index].data = static_cast<DWORD_PTR>(lParam);
      return 0;
    case CB_GETITEMDATA:
      return mItems.valid(index) ? static_cast<LRESULT>(mItems[index].data) : CB_ERR;
    case CB_GETEDITSEL:
      return GetEditSel();
    case WM_SETTEXT:
      if (hasEdit()) {
        setEditText(text());
        notifyChange(WindowChange::Text);
        return TRUE;
      } else {
        // Without an edit field the text is the selected item's.
        int i = mItems.findExact(-1, text());
        if (i < 0) return CB_ERR;
        DefWindowProc(CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        return TRUE;
      }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      if (!hasEdit()) {
        std::wstring t = itemText(mCurSel);
        if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(t.size());
        auto* buffer = reinterpret_cast<LPWSTR>(lParam);
        if (!buffer || wParam == 0) return 0;
        auto n = std::min<std::size_t>(t.size(), wParam - 1);
        std::copy(t.begin(), t.begin() + static_cast<std::ptrdiff_t>(n), buffer);
        buffer[n] = L'\0';
        return static_cast<LRESULT>(n);
      }
      return CWnd::DefWindowProc(message, wParam, lParam);
    case WM_CHAR: {
      if (!IsWindowEnabled()) return 0;
      auto ch = static_cast<wchar_t>(wParam);
      if (!hasEdit()) {
        // Typing in a drop-down list selects the next item starting with the letter.
        if (ch < 0x20) return 0;
        int i = mItems.findPrefix(mCurSel, std::wstring(1, ch));
        if (i >= 0 && i != mCurSel) {
          SetCurSel(i);
          notifyParent(CBN_SELCHANGE);
        }
        return 0;
      }
      std::wstring t = GetWindowText();
      int len = static_cast<int>(t.size());
      int a = std::clamp(std::min(mEditSelStart, mEditSelEnd), 0, len);
      int b = std::clamp(std::max(mEditSelStart, mEditSelEnd), 0, len);
      if (ch == VK_BACK) {
        if (a == b && a > 0) --a;
        t.erase(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a));
      } else if (ch >= 0x20) {
        t.replace(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a), 1, ch);
        ++a;
      } else {
        return 0;
      }
      CWnd::DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(t.c_str()));
      mEditSelStart = mEditSelEnd = a;
      notifyParent(CBN_EDITUPDATE);
      notifyParent(CBN_EDITCHANGE);
      return 0;
    }
    case WM_KEYDOWN: {
      if (!IsWindowEnabled()) return 0;
      int next = mCurSel;
      if (wParam == VK_DOWN)
        next = mCurSel < 0 ? 0 : std::min(mCurSel + 1, mItems.count() - 1);
      else if (wParam == VK_UP)
        next = std::max(mCurSel - 1, 0);
      else
        return 0;
      if (mItems.valid(next) && next != mCurSel) {
        SetCurSel(next);
        notifyParent(CBN_SELCHANGE);
      }
      return 0;
    }
    case WM_SETFOCUS:
      notifyParent(CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      notifyParent(CBN_KILLFOCUS);
      return 0;
    default:
      return CWnd::DefWindowProc(message, wParam, lParam);
  }
}

std::wstring CComboBox::describeState() const {
  std::wstring s =
      L"items=" + std::to_wstring(mItems.count()) + L" sel=" + std::to_wstring(mCurSel);
  if (mDropped) s += L" dropped";
  return s;
}

bool CComboBox::canTakeOver(const CWnd& other) const {
  return dynamic_cast<const CComboBox*>(&other);
}

void CComboBox::copyStateFrom(const CWnd& other) {
  CWnd::copyStateFrom(other);
  if (auto* c = dynamic_cast<const CComboBox*>(&other)) {
    mItems = c->mItems;
    mCurSel = c->mCurSel;
    mEditSelStart = c->mEditSelStart;
    mEditSelEnd = c->mEditSelEnd;
  }
}
