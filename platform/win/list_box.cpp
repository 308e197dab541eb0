#include "platform/win/list_box.h"

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(L"LISTBOX", L"", style, rect, parent, id);
}

int CListBox::AddString(LPCWSTR text) {
  int i = mItems.add(text ? text : L"", GetStyle() & LBS_SORT);
  if (mCurSel >= i) ++mCurSel;
  notifyChange(WindowChange::ControlState);
  return i;
}

int CListBox::InsertString(int index, LPCWSTR text) {
  int i = mItems.insert(index, text ? text : L"");
  if (i < 0) return LB_ERR;
  if (mCurSel >= i) ++mCurSel;
  notifyChange(WindowChange::ControlState);
  return i;
}

int CListBox::DeleteString(UINT index) {
  int i = static_cast<int>(index);
  int left = mItems.remove(i);
  if (left < 0) return LB_ERR;
  if (mCurSel == i)
    mCurSel = LB_ERR;
  else if (mCurSel > i)
    --mCurSel;
  notifyChange(WindowChange::ControlState);
  return left;
}

void CListBox::ResetContent() {
  mItems.clear();
  mCurSel = LB_ERR;
  notifyChange(WindowChange::ControlState);
}

int CListBox::GetCurSel() const { return isMultiSelect() ? mCurSel : mCurSel; }

int CListBox::SetCurSel(int index) {
  if (isMultiSelect()) return LB_ERR;
  for (int i = 0; i < mItems.count(); ++i) mItems[i].selected = i == index;
  mCurSel = mItems.valid(index) ? index : LB_ERR;
  notifyChange(WindowChange::ControlState);
  return index == -1 || mItems.valid(index) ? mCurSel : LB_ERR;
}

int CListBox::GetSel(int index) const {
  if (!mItems.valid(index)) return LB_ERR;
  return mItems[index].selected ? 1 : 0;
}

int CListBox::SetSel(int index, BOOL select) {
  if (!isMultiSelect()) return LB_ERR;
  if (index == -1) {
    for (int i = 0; i < mItems.count(); ++i) mItems[i].selected = select;
  } else if (mItems.valid(index)) {
    mItems[index].selected = select;
    mCurSel = index;
  } else {
    return LB_ERR;
  }
  notifyChange(WindowChange::ControlState);
  return 0;
}

int CListBox::GetSelCount() const {
  if (!isMultiSelect()) return LB_ERR;
  return static_cast<int>(selectedItems().size());
}

std::vector<int> CListBox::selectedItems() const {
  std::vector<int> out;
  for (int i = 0; i < mItems.count(); ++i)
    if (mItems[i].selected) out.push_back(i);
  return out;
}

void CListBox::GetText(int index, std::wstring& text) const { text = itemText(index); }
int CListBox::GetTextLen(int index) const {
  return mItems.valid(index) ? static_cast<int>(mItems[index].text.size()) : LB_ERR;
}

int CListBox::SelectString(int startAfter, LPCWSTR prefix) {
  int i = FindString(startAfter, prefix);
  if (i < 0 || isMultiSelect()) return LB_ERR;
  return SetCurSel(i);
}

int CListBox::SetItemData(int index, DWORD_PTR data) {
  if (!mItems.valid(index)) return LB_ERR;
  mItems[index].data = data;
  return 0;
}

DWORD_PTR CListBox::GetItemData(int index) const {
  return mItems.valid(index) ? mItems[index].data : static_cast<DWORD_PTR>(LB_ERR);
}

void CListBox::personChoose(int index) {
  if (!m_hWnd || !IsWindowEnabled() || !mItems.valid(index)) return;
  SetFocus();
  if (isMultiSelect())
    SetSel(index, !mItems[index].selected);
  else
    SetCurSel(index);
  if (GetStyle() & LBS_NOTIFY) notifyParent(LBN_SELCHANGE);
}

void CListBox::personDoubleClick(int index) {
  personChoose(index);
  if (m_hWnd && mItems.valid(index) && (GetStyle() & LBS_NOTIFY)) notifyParent(LBN_DBLCLK);
}

std::wstring CListBox::describeState() const {
  return L"items=" + std::to_wstring(mItems.count()) + L" sel=" + std::to_wstring(mCurSel);
}

bool CListBox::canTakeOver(const CWnd& other) const {
  return dynamic_cast<const CListBox*>(&other);
}

void CListBox::copyStateFrom(const CWnd& other) {
  CWnd::copyStateFrom(other);
  if (auto* l = dynamic_cast<const CListBox*>(&other)) {
    mItems = l->mItems;
    mCurSel = l->mCurSel;
  }
}
