#include "platform/win/tab_ctrl.h"

#include <algorithm>

namespace {
constexpr int kTabHeight = 20;
}

BOOL CTabCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(L"SysTabControl32", L"", style, rect, parent, id);
}

LONG CTabCtrl::InsertItem(int index, LPCWSTR text) { return InsertItem(index, text, -1); }

LONG CTabCtrl::InsertItem(int index, LPCWSTR text, int image) {
  TCITEM item;
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = const_cast<LPWSTR>(text ? text : L"");
  item.iImage = image;
  return InsertItem(index, &item);
}

LONG CTabCtrl::InsertItem(int index, TCITEM* item) {
  if (!item || index < 0) return -1;
  index = std::min(index, GetItemCount());
  Tab t;
  if ((item->mask & TCIF_TEXT) && item->pszText) t.text = item->pszText;
  if (item->mask & TCIF_IMAGE) t.image = item->iImage;
  if (item->mask & TCIF_PARAM) t.data = item->lParam;
  mTabs.insert(mTabs.begin() + index, t);
  if (mCurSel >= index) ++mCurSel;
  if (mCurSel < 0) mCurSel = 0;
  notifyChange(WindowChange::ControlState);
  return index;
}

BOOL CTabCtrl::GetItem(int index, TCITEM* item) const {
  if (!item || index < 0 || index >= GetItemCount()) return FALSE;
  const Tab& t = mTabs[static_cast<std::size_t>(index)];
  if ((item->mask & TCIF_TEXT) && item->pszText && item->cchTextMax > 0) {
    auto n = std::min<std::size_t>(t.text.size(), static_cast<std::size_t>(item->cchTextMax - 1));
    std::copy(t.text.begin(), t.text.begin() + static_cast<std::ptrdiff_t>(n), item->pszText);
    item->pszText[n] = L'\0';
  }
  if (item->mask & TCIF_IMAGE) item->iImage = t.image;
  if (item->mask & TCIF_PARAM) item->lParam = t.data;
  return TRUE;
}

BOOL CTabCtrl::SetItem(int index, TCITEM* item) {
  if (!item || index < 0 || index >= GetItemCount()) return FALSE;
  Tab& t = mTabs[static_cast<std::size_t>(index)];
  if ((item->mask & TCIF_TEXT) && item->pszText) t.text = item->pszText;
  if (item->mask & TCIF_IMAGE) t.image = item->iImage;
  if (item->mask & TCIF_PARAM) t.data = item->lParam;
  notifyChange(WindowChange::ControlState);
  return TRUE;
}

std::wstring CTabCtrl::itemText(int index) const {
  return index >= 0 && index < GetItemCount() ? mTabs[static_cast<std::size_t>(index)].text : L"";
}

BOOL CTabCtrl::DeleteItem(int index) {
  if (index < 0 || index >= GetItemCount()) return FALSE;
  mTabs.erase(mTabs.begin() + index);
  if (mCurSel == index)
    mCurSel = -1;
  else if (mCurSel > index)
    --mCurSel;
  notifyChange(WindowChange::ControlState);
  return TRUE;
}

BOOL CTabCtrl::DeleteAllItems() {
  mTabs.clear();
  mCurSel = -1;
  notifyChange(WindowChange::ControlState);
  return TRUE;
}

int CTabCtrl::SetCurSel(int index) {
  if (index < 0 || index >= GetItemCount()) return -1;
  int old = mCurSel;
  if (old != index) {
    mCurSel = index;
    notifyChange(WindowChange::ControlState);
    Invalidate();
  }
  return old;
}

BOOL CTabCtrl::GetItemRect(int index, LPRECT rect) const {
  if (!rect || index < 0 || index >= GetItemCount()) return FALSE;
  int x = 2;
  for (int i = 0; i < index; ++i)
    x += 12 + 6 * static_cast<int>(mTabs[static_cast<std::size_t>(i)].text.size());
  int w = 12 + 6 * static_cast<int>(mTabs[static_cast<std::size_t>(index)].text.size());
  *rect = CRect(x, 2, x + w, 2 + kTabHeight);
  return TRUE;
}

void CTabCtrl::AdjustRect(BOOL larger, LPRECT rect) const {
  if (!rect) return;
  CRect r(*rect);
  if (larger)
    r = CRect(r.left - 4, r.top - kTabHeight - 6, r.right + 4, r.bottom + 4);
  else
    r = CRect(r.left + 4, r.top + kTabHeight + 6, r.right - 4, r.bottom - 4);
  *rect = r;
}

void CTabCtrl::personChoose(int index) {
  if (!m_hWnd || !IsWindowEnabled() || index < 0 || index >= GetItemCount() || index == mCurSel)
    return;
  NMHDR changing;
  changing.code = TCN_SELCHANGING;
  if (notifyParent(changing) != 0) return;
  if (!m_hWnd) return;
  SetCurSel(index);
  NMHDR changed;
  changed.code = TCN_SELCHANGE;
  notifyParent(changed);
}

std::wstring CTabCtrl::describeState() const {
  std::wstring s = L"tabs=";
  for (std::size_t i = 0; i < mTabs.size(); ++i) s += (i ? L"|" : L"") + mTabs[i].text;
  return s + L" sel=" + std::to_wstring(mCurSel);
}
