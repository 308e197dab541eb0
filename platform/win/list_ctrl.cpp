#include "platform/win/list_ctrl.h"

#include <algorithm>

#include "platform/win/event_loop.h"
#include "platform/win/string_items.h"

namespace {
constexpr int kMinIconCellWidth = 75;
constexpr int kLabelHeight = 32;
constexpr int kRowHeight = 16;
}  // namespace

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(L"SysListView32", L"", style, rect, parent, id);
}

CImageList* CListCtrl::SetImageList(CImageList* list, int kind) {
  CImageList*& slot = kind == LVSIL_SMALL ? mSmallImages : mNormalImages;
  CImageList* previous = slot;
  slot = list;
  notifyChange(WindowChange::ControlState);
  Invalidate();
  return previous;
}

CImageList* CListCtrl::GetImageList(int kind) const {
  return kind == LVSIL_SMALL ? mSmallImages : mNormalImages;
}

int CListCtrl::InsertItem(int index, LPCWSTR text, int image) {
  if (!m_hWnd) return -1;
  index = std::clamp(index, 0, GetItemCount());
  Item item;
  item.text = text ? text : L"";
  item.image = image;
  mItems.insert(mItems.begin() + index, std::move(item));
  if (mPressedItem >= index) ++mPressedItem;
  notifyChange(WindowChange::ControlState);
  Invalidate();
  return index;
}

BOOL CListCtrl::DeleteItem(int index) {
  if (!valid(index)) return FALSE;
  mItems.erase(mItems.begin() + index);
  if (mPressedItem == index)
    mPressedItem = -1;
  else if (mPressedItem > index)
    --mPressedItem;
  notifyChange(WindowChange::ControlState);
  Invalidate();
  return TRUE;
}

BOOL CListCtrl::DeleteAllItems() {
  mItems.clear();
  mPressedItem = -1;
  notifyChange(WindowChange::ControlState);
  Invalidate();
  return TRUE;
}

std::wstring CListCtrl::GetItemText(int index, int subItem) const {
  return valid(index) && subItem == 0 ? mItems[static_cast<std::size_t>(index)].text : L"";
}

BOOL CListCtrl::SetItemText(int index, int subItem, LPCWSTR text) {
  if (!valid(index) || subItem != 0) return FALSE;
  mItems[static_cast<std::size_t>(index)].text = text ? text : L"";
  notifyChange(WindowChange::ControlState);
  Invalidate();
  return TRUE;
}

int CListCtrl::itemImage(int index) const {
  return valid(index) ? mItems[static_cast<std::size_t>(index)].image : -1;
}

BOOL CListCtrl::setItemImage(int index, int image) {
  if (!valid(index)) return FALSE;
  mItems[static_cast<std::size_t>(index)].image = image;
  notifyChange(WindowChange::ControlState);
  Invalidate();
  return TRUE;
}

BOOL CListCtrl::SetItemData(int index, DWORD_PTR data) {
  if (!valid(index)) return FALSE;
  mItems[static_cast<std::size_t>(index)].data = data;
  return TRUE;
}

DWORD_PTR CListCtrl::GetItemData(int index) const {
  return valid(index) ? mItems[static_cast<std::size_t>(index)].data : 0;
}

UINT CListCtrl::GetItemState(int index, UINT mask) const {
  return valid(index) ? (mItems[static_cast<std::size_t>(index)].state & mask) : 0;
}

void CListCtrl::changeState(int index, UINT state, UINT mask) {
  if (!m_hWnd || !valid(index)) return;
  Item& item = mItems[static_cast<std::size_t>(index)];
  const UINT old = item.state;
  const UINT now = (old & ~mask) | (state & mask);
  if (now == old) return;
  item.state = now;
  notifyChange(WindowChange::ControlState);
  Invalidate();
  NMLISTVIEW nm;
  nm.hdr.code = LVN_ITEMCHANGED;
  nm.iItem = index;
  nm.uNewState = now;
  nm.uOldState = old;
  nm.uChanged = LVIF_STATE;
  nm.lParam = static_cast<LPARAM>(item.data);
  notifyParent(nm.hdr);
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask) {
  if (index != -1 && !valid(index)) return FALSE;
  const bool selecting = (mask & LVIS_SELECTED) && (state & LVIS_SELECTED);
  const bool focusing = (mask & LVIS_FOCUSED) && (state & LVIS_FOCUSED);
  if (index == -1) {
    // With one selection or one focus at most, "every item" means the first.
    const bool single = GetStyle() & LVS_SINGLESEL;
    for (int i = 0; i < GetItemCount() && m_hWnd; ++i) {
      UINT m = mask;
      if (i > 0 && focusing) m &= ~LVIS_FOCUSED;
      if (i > 0 && selecting && single) m &= ~LVIS_SELECTED;
      changeState(i, state, m);
    }
    return TRUE;
  }
  for (int i = 0; i < GetItemCount() && m_hWnd; ++i) {
    if (i == index) continue;
    UINT clear = 0;
    if (selecting && (GetStyle() & LVS_SINGLESEL)) clear |= LVIS_SELECTED;
    if (focusing) clear |= LVIS_FOCUSED;
    if (clear) changeState(i, 0, clear);
  }
  changeState(index, state, mask);
  return TRUE;
}

UINT CListCtrl::GetSelectedCount() const {
  return static_cast<UINT>(std::count_if(mItems.begin(), mItems.end(),
                                         [](const Item& i) { return i.state & LVIS_SELECTED; }));
}

int CListCtrl::GetNextItem(int start, int flags) const {
  UINT want = 0;
  if (flags & LVNI_SELECTED) want |= LVIS_SELECTED;
  if (flags & LVNI_FOCUSED) want |= LVIS_FOCUSED;
  for (int i = std::max(start + 1, 0); i < GetItemCount(); ++i)
    if ((mItems[static_cast<std::size_t>(i)].state & want) == want) return i;
  return -1;
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const {
  const int first = GetNextItem(-1, LVNI_SELECTED);
  return first < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<std::uintptr_t>(first + 1));
}

int CListCtrl::GetNextSelectedItem(POSITION& position) const {
  const int current = static_cast<int>(reinterpret_cast<std::uintptr_t>(position)) - 1;
  const int next = GetNextItem(current, LVNI_SELECTED);
  position = next < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<std::uintptr_t>(next + 1));
  return current;
}

int CListCtrl::FindItem(const LVFINDINFO* find, int start) const {
  if (!find || GetItemCount() == 0) return -1;
  auto matches = [&](const Item& item) {
    if (find->flags & LVFI_PARAM) return item.data == static_cast<DWORD_PTR>(find->lParam);
    const std::wstring text = find->psz ? find->psz : L"";
    if (find->flags & LVFI_PARTIAL) return krv::win::startsWithNoCase(item.text, text);
    return krv::win::equalsNoCase(item.text, text);
  };
  const int n = GetItemCount();
  const int first = (start < -1 || start >= n) ? 0 : start + 1;
  for (int i = first; i < n; ++i)
    if (matches(mItems[static_cast<std::size_t>(i)])) return i;
  if (find->flags & LVFI_WRAP)
    for (int i = 0; i < first && i < n; ++i)
      if (matches(mItems[static_cast<std::size_t>(i)])) return i;
  return -1;
}

BOOL CListCtrl::EnsureVisible(int index, BOOL) const { return valid(index); }

CSize CListCtrl::iconSpacing() const {
  const CSize image = mNormalImages ? mNormalImages->imageSize() : CSize(32, 32);
  return CSize(std::max(image.cx + 24, kMinIconCellWidth), image.cy + kLabelHeight);
}

BOOL CListCtrl::GetItemRect(int index, LPRECT rect, UINT code) const {
  if (!valid(index) || !rect) return FALSE;
  CRect client;
  GetClientRect(&client);
  CRect cell;
  CSize image;
  if ((GetStyle() & LVS_TYPEMASK) == LVS_ICON) {
    const CSize spacing = iconSpacing();
    const int perRow = std::max(1, client.Width() / spacing.cx);
    cell = CRect(CPoint((index % perRow) * spacing.cx, (index / perRow) * spacing.cy), spacing);
    image = mNormalImages ? mNormalImages->imageSize() : CSize(32, 32);
    const int left = cell.left + (cell.Width() - image.cx) / 2;
    const CRect icon(left, cell.top + 2, left + image.cx, cell.top + 2 + image.cy);
    if (code == LVIR_ICON)
      *rect = icon;
    else if (code == LVIR_LABEL)
      *rect = CRect(cell.left, icon.bottom, cell.right, cell.bottom);
    else
      *rect = cell;
  } else {
    image = mSmallImages ? mSmallImages->imageSize() : CSize(16, 16);
    const int h = std::max(image.cy, kRowHeight);
    cell = CRect(0, index * h, client.Width(), (index + 1) * h);
    if (code == LVIR_ICON)
      *rect = CRect(0, cell.top, image.cx, cell.bottom);
    else if (code == LVIR_LABEL)
      *rect = CRect(image.cx, cell.top, cell.right, cell.bottom);
    else
      *rect = cell;
  }
  return TRUE;
}

int CListCtrl::HitTest(CPoint point, UINT* flags) const {
  for (int i = 0; i < GetItemCount(); ++i) {
    CRect icon, label;
    GetItemRect(i, &icon, LVIR_ICON);
    GetItemRect(i, &label, LVIR_LABEL);
    if (icon.PtInRect(point) || label.PtInRect(point)) {
      if (flags) *flags = icon.PtInRect(point) ? LVHT_ONITEMICON : LVHT_ONITEMLABEL;
      return i;
    }
  }
  if (flags) *flags = LVHT_NOWHERE;
  return -1;
}

void CListCtrl::sendActivate(UINT code, int item, CPoint point, UINT keyFlags) {
  NMITEMACTIVATE nm;
  nm.hdr.code = code;
  nm.iItem = item;
  nm.ptAction = point;
  nm.uKeyFlags = keyFlags;
  if (valid(item)) nm.lParam = static_cast<LPARAM>(mItems[static_cast<std::size_t>(item)].data);
  notifyParent(nm.hdr);
}

void CListCtrl::OnLButtonDown(UINT flags, CPoint point) {
  SetFocus();
  if (!m_hWnd) return;
  const int hit = HitTest(point);
  mPressed = true;
  mPressedItem = hit;
  const bool toggle = (flags & MK_CONTROL) && !(GetStyle() & LVS_SINGLESEL);
  if (hit < 0) {
    if (!toggle) SetItemState(-1, 0, LVIS_SELECTED);
    return;
  }
  if (toggle) {
    const UINT now = GetItemState(hit, LVIS_SELECTED) ^ LVIS_SELECTED;
    SetItemState(hit, now | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    return;
  }
  for (int i = 0; i < GetItemCount() && m_hWnd; ++i)
    if (i != hit) changeState(i, 0, LVIS_SELECTED | LVIS_FOCUSED);
  SetItemState(hit, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CListCtrl::OnLButtonUp(UINT flags, CPoint point) {
  if (!mPressed) return;
  mPressed = false;
  sendActivate(NM_CLICK, mPressedItem, point,
               ((flags & MK_CONTROL) ? LVKF_CONTROL : 0) | ((flags & MK_SHIFT) ? LVKF_SHIFT : 0));
}

void CListCtrl::OnLButtonDblClk(UINT, CPoint point) {
  mPressed = false;
  sendActivate(NM_DBLCLK, HitTest(point), point, 0);
}

void CListCtrl::personChoose(int index) {
  if (!m_hWnd || !IsWindowEnabled() || !valid(index)) return;
  CRect r;
  GetItemRect(index, &r, LVIR_ICON);
  krv::win::Person::clickAt(this, r.CenterPoint());
}

void CListCtrl::personDoubleClick(int index) {
  if (!m_hWnd || !IsWindowEnabled() || !valid(index)) return;
  CRect r;
  GetItemRect(index, &r, LVIR_ICON);
  krv::win::Person::doubleClickAt(this, r.CenterPoint());
}

std::wstring CListCtrl::describeState() const {
  std::wstring sel;
  for (int i = 0; i < GetItemCount(); ++i)
    if (GetItemState(i, LVIS_SELECTED)) sel += (sel.empty() ? L"" : L",") + std::to_wstring(i);
  return L"items=" + std::to_wstring(GetItemCount()) + L" sel=" + (sel.empty() ? L"-" : sel);
}

bool CListCtrl::canTakeOver(const CWnd& other) const {
  return dynamic_cast<const CListCtrl*>(&other) != nullptr;
}

void CListCtrl::copyStateFrom(const CWnd& other) {
  CWnd::copyStateFrom(other);
  if (auto* l = dynamic_cast<const CListCtrl*>(&other)) {
    mItems = l->mItems;
    mNormalImages = l->mNormalImages;
    mSmallImages = l->mSmallImages;
  }
}
