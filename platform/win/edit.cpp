#include "platform/win/edit.h"

#include <algorithm>

#include "platform/base/case_folding.h"

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(L"EDIT", L"", style, rect, parent, id);
}

void CEdit::SetSel(int start, int end, BOOL) {
  SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
}

void CEdit::GetSel(int& start, int& end) const {
  start = mSelStart;
  end = mSelEnd;
}

DWORD CEdit::GetSel() const {
  return static_cast<DWORD>((mSelStart & 0xFFFF) | ((mSelEnd & 0xFFFF) << 16));
}

void CEdit::ReplaceSel(LPCWSTR text, BOOL canUndo) {
  SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text ? text : L""));
}

BOOL CEdit::SetReadOnly(BOOL readOnly) {
  return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly));
}

void CEdit::SetLimitText(UINT max) { SendMessage(EM_LIMITTEXT, max); }

int CEdit::GetLineCount() const {
  if (!isMultiLine()) return 1;
  std::wstring t = GetWindowText();
  return 1 + static_cast<int>(std::count(t.begin(), t.end(), L'\n'));
}

std::wstring CEdit::lineText(int index) const {
  std::wstring t = GetWindowText();
  std::size_t pos = 0;
  for (int i = 0; i < index; ++i) {
    pos = t.find(L'\n', pos);
    if (pos == std::wstring::npos) return {};
    ++pos;
  }
  if (index < 0) return {};
  std::size_t end = t.find(L'\n', pos);
  std::wstring line = t.substr(pos, end == std::wstring::npos ? std::wstring::npos : end - pos);
  if (!line.empty() && line.back() == L'\r') line.pop_back();
  return line;
}

void CEdit::setTextAndNotify(const std::wstring& text) {
  CWnd::DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  notifyParent(EN_UPDATE);
  notifyParent(EN_CHANGE);
}

void CEdit::replaceSelection(const std::wstring& insert, bool byPerson) {
  std::wstring text = GetWindowText();
  const int len = static_cast<int>(text.size());
  int a = std::clamp(std::min(mSelStart, mSelEnd), 0, len);
  int b = std::clamp(std::max(mSelStart, mSelEnd), 0, len);
  std::wstring add = insert;
  if (byPerson && mLimit > 0) {
    std::size_t room = mLimit > text.size() - (b - a) ? mLimit - (text.size() - (b - a)) : 0;
    if (add.size() > room) {
      add.resize(room);
      notifyParent(EN_MAXTEXT);
      if (add.empty() && a == b) return;
    }
  }
  text.replace(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a), add);
  mSelStart = mSelEnd = a + static_cast<int>(add.size());
  mModified = true;
  setTextAndNotify(text);
}

LRESULT CEdit::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT: {
      auto* t = reinterpret_cast<LPCWSTR>(lParam);
      mSelStart = mSelEnd = 0;
      mModified = false;
      setTextAndNotify(t ? t : L"");
      return TRUE;
    }
    case EM_SETSEL: {
      const int len = GetWindowTextLength();
      int start = static_cast<int>(static_cast<std::intptr_t>(wParam));
      int end = static_cast<int>(lParam);
      if (start == -1) {
        mSelEnd = mSelStart;
      } else {
        if (end < 0 || end > len) end = len;
        mSelStart = std::clamp(start, 0, len);
        mSelEnd = end;
      }
      notifyChange(WindowChange::ControlState);
      return 0;
    }
    case EM_GETSEL:
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(mSelStart);
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(mSelEnd);
      return GetSel();
    case EM_REPLACESEL: {
      auto* t = reinterpret_cast<LPCWSTR>(lParam);
      replaceSelection(t ? t : L"", false);
      return 0;
    }
    case EM_SETREADONLY:
      ModifyStyle(wParam ? 0 : ES_READONLY, wParam ? ES_READONLY : 0);
      return TRUE;
    case EM_LIMITTEXT:
      mLimit = static_cast<UINT>(wParam);
      return 0;
    case EM_GETLINECOUNT:
      return GetLineCount();
    case WM_CHAR: {
      if (!IsWindowEnabled() || isReadOnly()) return 0;
      auto ch = static_cast<wchar_t>(wParam);
      if (ch == VK_BACK) {
        if (mSelStart == mSelEnd && std::min(mSelStart, mSelEnd) > 0) --mSelStart;
        replaceSelection(L"", true);
      } else if (ch == L'\r') {
        if (isMultiLine()) replaceSelection(L"\r\n", true);
      } else if (ch >= 0x20) {
        if ((GetStyle() & ES_NUMBER) && !(ch >= L'0' && ch <= L'9')) return 0;
        if (GetStyle() & ES_UPPERCASE)
          ch = static_cast<wchar_t>(krv::base::toUpper(static_cast<char32_t>(ch)));
        if (GetStyle() & ES_LOWERCASE)
          ch = static_cast<wchar_t>(krv::base::toLower(static_cast<char32_t>(ch)));
        replaceSelection(std::wstring(1, ch), true);
      }
      return 0;
    }
    case WM_KEYDOWN: {
      const int len = GetWindowTextLength();
      switch (wParam) {
        case VK_DELETE:
          if (!isReadOnly() && IsWindowEnabled()) {
            if (mSelStart == mSelEnd && mSelEnd < len) ++mSelEnd;
            replaceSelection(L"", true);
          }
          break;
        case VK_HOME:
          mSelStart = mSelEnd = 0;
          break;
        case VK_END:
          mSelStart = mSelEnd = len;
          break;
        case VK_LEFT:
          mSelStart = mSelEnd = std::max(0, std::min(mSelStart, mSelEnd) - 1);
          break;
        case VK_RIGHT:
          mSelStart = mSelEnd = std::min(len, std::max(mSelStart, mSelEnd) + 1);
          break;
        default:
          break;
      }
      return 0;
    }
    case WM_SETFOCUS:
      notifyParent(EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      notifyParent(EN_KILLFOCUS);
      return 0;
    default:
      return CWnd::DefWindowProc(message, wParam, lParam);
  }
}

std::wstring CEdit::describeState() const {
  std::wstring s = L"sel=" + std::to_wstring(mSelStart) + L".." + std::to_wstring(mSelEnd);
  if (isReadOnly()) s += L" readonly";
  if (isMultiLine()) s += L" multiline";
  return s;
}

bool CEdit::canTakeOver(const CWnd& other) const { return dynamic_cast<const CEdit*>(&other); }

void CEdit::copyStateFrom(const CWnd& other) {
  CWnd::copyStateFrom(other);
  if (auto* e = dynamic_cast<const CEdit*>(&other)) {
    mSelStart = e->mSelStart;
    mSelEnd = e->mSelEnd;
    mLimit = e->mLimit;
    mModified = e->mModified;
  }
}
