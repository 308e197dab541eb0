#pragma once
// CListCtrl: a list view of items with a text, an image index into the
// list's image list, item data and a state (selected, focused).
//
// Items are laid out in a grid in icon view (LVS_ICON): one cell per item,
// wide enough for the image and its label, as many per row as the client
// width holds; in the other views one item per row. A person's click on an
// item selects it alone (Ctrl toggles it in a multi-selection list) and
// focuses it, a click on empty space clears the selection; then NM_CLICK is
// sent, and a double click sends NM_DBLCLK. Every change of an item's state,
// by a person or by the program, sends LVN_ITEMCHANGED, as the system's list
// view does. LVS_SINGLESEL keeps at most one item selected.
#include <string>
#include <vector>

#include "platform/win/image_list.h"
#include "platform/win/person.h"
#include "platform/win/wnd.h"

using POSITION = void*;

// FindItem.
constexpr UINT LVFI_PARAM = 0x0001, LVFI_STRING = 0x0002, LVFI_PARTIAL = 0x0008, LVFI_WRAP = 0x0020;
struct LVFINDINFO {
  UINT flags = 0;
  LPCWSTR psz = nullptr;
  LPARAM lParam = 0;
};
// GetItemRect and HitTest.
constexpr UINT LVIR_BOUNDS = 0, LVIR_ICON = 1, LVIR_LABEL = 2;
constexpr UINT LVHT_NOWHERE = 0x1, LVHT_ONITEMICON = 0x2, LVHT_ONITEMLABEL = 0x4, LVHT_ONITEM = 0x6;
// NM_CLICK and NM_DBLCLK of a list view.
struct NMITEMACTIVATE {
  NMHDR hdr;
  int iItem = -1;
  int iSubItem = 0;
  UINT uNewState = 0;
  UINT uOldState = 0;
  UINT uChanged = 0;
  CPoint ptAction;
  LPARAM lParam = 0;
  UINT uKeyFlags = 0;
};
constexpr UINT LVKF_CONTROL = 0x1, LVKF_SHIFT = 0x2;

class CListCtrl : public CWnd, public krv::win::PersonChoosable {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  // Sets the image list of a kind (LVSIL_NORMAL, LVSIL_SMALL) and gives the
  // previous one; the list view does not own it.
  CImageList* SetImageList(CImageList* list, int kind);
  CImageList* GetImageList(int kind) const;

  // Inserts at `index` (clamped to the end); gives the new index, -1 when
  // not created.
  int InsertItem(int index, LPCWSTR text, int image = -1);
  BOOL DeleteItem(int index);
  BOOL DeleteAllItems();
  int GetItemCount() const { return static_cast<int>(mItems.size()); }

  std::wstring GetItemText(int index, int subItem = 0) const;
  BOOL SetItemText(int index, int subItem, LPCWSTR text);
  int itemImage(int index) const;
  BOOL setItemImage(int index, int image);
  BOOL SetItemData(int index, DWORD_PTR data);
  DWORD_PTR GetItemData(int index) const;

  UINT GetItemState(int index, UINT mask) const;
  // Changes the bits of `mask` to those of `state`; index -1 means every
  // item. False for a bad index.
  BOOL SetItemState(int index, UINT state, UINT mask);
  UINT GetSelectedCount() const;
  // The next item after `start` (-1: from the first) with the LVNI_* flags
  // (LVNI_ALL, LVNI_SELECTED, LVNI_FOCUSED); -1 when none.
  int GetNextItem(int start, int flags) const;
  POSITION GetFirstSelectedItemPosition() const;
  int GetNextSelectedItem(POSITION& position) const;
  // The first item after `start` that matches (text ignoring case, whole or
  // as a prefix with LVFI_PARTIAL, or item data with LVFI_PARAM); with
  // LVFI_WRAP the search goes on from the first item. -1 when none.
  int FindItem(const LVFINDINFO* find, int start = -1) const;
  BOOL EnsureVisible(int index, BOOL partialOk) const;

  // Geometry of the layout (client coordinates).
  BOOL GetItemRect(int index, LPRECT rect, UINT code) const;
  int HitTest(CPoint point, UINT* flags = nullptr) const;
  CSize iconSpacing() const;

  void personChoose(int index) override;
  void personDoubleClick(int index) override;

  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;
  void OnLButtonDblClk(UINT flags, CPoint point) override;
  std::wstring describeState() const override;

 protected:
  bool canTakeOver(const CWnd& other) const override;
  void copyStateFrom(const CWnd& other) override;

 private:
  struct Item {
    std::wstring text;
    int image = -1;
    DWORD_PTR data = 0;
    UINT state = 0;
  };
  bool valid(int index) const { return index >= 0 && index < GetItemCount(); }
  void changeState(int index, UINT state, UINT mask);
  void sendActivate(UINT code, int item, CPoint point, UINT keyFlags);

  std::vector<Item> mItems;
  CImageList* mNormalImages = nullptr;
  CImageList* mSmallImages = nullptr;
  int mPressedItem = -1;
  bool mPressed = false;
};
