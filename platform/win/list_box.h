#pragma once
// CListBox: items with item data; single selection, or several with
// LBS_MULTIPLESEL / LBS_EXTENDEDSEL. The program's calls send nothing; a
// person's choice (personChoose) sends LBN_SELCHANGE and a double click
// LBN_DBLCLK, both only with LBS_NOTIFY, as the framework does.
#include <vector>

#include "platform/win/string_items.h"
#include "platform/win/wnd.h"

class CListBox : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int AddString(LPCWSTR text);
  int InsertString(int index, LPCWSTR text);
  int DeleteString(UINT index);
  void ResetContent();
  int GetCount() const { return mItems.count(); }
  int GetCurSel() const;
  int SetCurSel(int index);  // single-selection boxes; LB_ERR for a bad index
  int GetSel(int index) const;
  int SetSel(int index, BOOL select = TRUE);  // multi-selection boxes; -1 = all
  int GetSelCount() const;
  std::vector<int> selectedItems() const;
  void GetText(int index, std::wstring& text) const;
  std::wstring itemText(int index) const { return mItems.valid(index) ? mItems[index].text : L""; }
  int GetTextLen(int index) const;
  int FindString(int startAfter, LPCWSTR prefix) const {
    return mItems.findPrefix(startAfter, prefix ? prefix : L"");
  }
  int FindStringExact(int startAfter, LPCWSTR text) const {
    return mItems.findExact(startAfter, text ? text : L"");
  }
  int SelectString(int startAfter, LPCWSTR prefix);
  int SetItemData(int index, DWORD_PTR data);
  DWORD_PTR GetItemData(int index) const;
  bool isMultiSelect() const { return GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL); }

  void personChoose(int index);
  void personDoubleClick(int index);

  std::wstring describeState() const override;

 protected:
  bool canTakeOver(const CWnd& other) const override;
  void copyStateFrom(const CWnd& other) override;

 private:
  krv::win::StringItems mItems;
  int mCurSel = LB_ERR;
};
