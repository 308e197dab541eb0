#pragma once
// CComboBox: the three kinds of combo box (CBS_SIMPLE, CBS_DROPDOWN with an
// edit field, CBS_DROPDOWNLIST without), with items and item data, the
// current selection, the edit text and the framework's searches (prefix
// and exact match, ignoring case, starting after an index and wrapping).
//
// The program's calls (SetCurSel, AddString, SetWindowText, ...) send no
// notifications. A person's choice (personChoose) sends CBN_DROPDOWN,
// CBN_CLOSEUP, CBN_SELCHANGE and CBN_SELENDOK; a person's typing into the
// edit field (WM_CHAR) sends CBN_EDITUPDATE and CBN_EDITCHANGE.
#include "platform/win/string_items.h"
#include "platform/win/wnd.h"

class CComboBox : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  int AddString(LPCWSTR text);
  int InsertString(int index, LPCWSTR text);
  int DeleteString(UINT index);
  void ResetContent();
  int GetCount() const { return mItems.count(); }
  int GetCurSel() const { return mCurSel; }
  // Selects the item (and shows its text in the edit field); -1 clears the
  // selection and the edit text. CB_ERR for an index out of range (the
  // selection is then cleared, as the framework does).
  int SetCurSel(int index);
  int GetLBText(int index, LPWSTR buffer) const;
  void GetLBText(int index, std::wstring& text) const;
  std::wstring itemText(int index) const;
  int GetLBTextLen(int index) const;
  int FindString(int startAfter, LPCWSTR prefix) const;
  int FindStringExact(int startAfter, LPCWSTR text) const;
  // Selects the first item beginning with `prefix`; CB_ERR (selection
  // unchanged) when none.
  int SelectString(int startAfter, LPCWSTR prefix);
  int SetItemData(int index, DWORD_PTR data);
  DWORD_PTR GetItemData(int index) const;
  void ShowDropDown(BOOL show = TRUE);
  BOOL GetDroppedState() const { return mDropped; }
  BOOL SetEditSel(int start, int end);
  DWORD GetEditSel() const;
  int kind() const {
    return static_cast<int>(GetStyle() & 3);
  }  // CBS_SIMPLE, _DROPDOWN, _DROPDOWNLIST
  bool hasEdit() const { return kind() != static_cast<int>(CBS_DROPDOWNLIST); }

  // A person picks item `index` from the list.
  void personChoose(int index);

  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  std::wstring describeState() const override;

 protected:
  bool canTakeOver(const CWnd& other) const override;
  void copyStateFrom(const CWnd& other) override;

 private:
  void setEditText(const std::wstring& text);
  krv::win::StringItems mItems;
  int mCurSel = CB_ERR;
  bool mDropped = false;
  int mEditSelStart = 0, mEditSelEnd = 0;
};
