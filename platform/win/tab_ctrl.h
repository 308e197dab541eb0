#pragma once
// CTabCtrl: a row of tabs with texts, images and item data, and the
// selected tab. SetCurSel sends nothing; a person's choice (personChoose)
// sends TCN_SELCHANGING (a non-zero answer keeps the old tab) and then
// TCN_SELCHANGE. Tabs lie in one row along the top, 20 pixels high, each
// 12 pixels wider than 6 pixels per character of its text.
#include <string>
#include <vector>

#include "platform/win/wnd.h"

constexpr UINT TCIF_TEXT = 0x1, TCIF_IMAGE = 0x2, TCIF_PARAM = 0x8;
struct TCITEM {
  UINT mask = 0;
  LPWSTR pszText = nullptr;
  int cchTextMax = 0;
  int iImage = -1;
  LPARAM lParam = 0;
};

class CTabCtrl : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  // Inserts a tab; gives its index or -1.
  LONG InsertItem(int index, LPCWSTR text);
  LONG InsertItem(int index, LPCWSTR text, int image);
  LONG InsertItem(int index, TCITEM* item);
  BOOL GetItem(int index, TCITEM* item) const;
  BOOL SetItem(int index, TCITEM* item);
  std::wstring itemText(int index) const;
  BOOL DeleteItem(int index);
  BOOL DeleteAllItems();
  int GetItemCount() const { return static_cast<int>(mTabs.size()); }
  int GetCurSel() const { return mCurSel; }
  // Selects a tab; gives the previous selection, or -1 for a bad index.
  int SetCurSel(int index);
  BOOL GetItemRect(int index, LPRECT rect) const;
  // larger false: a window rectangle becomes its display area (below the
  // tabs); larger true: the reverse.
  void AdjustRect(BOOL larger, LPRECT rect) const;

  void personChoose(int index);

  std::wstring describeState() const override;

 private:
  struct Tab {
    std::wstring text;
    int image = -1;
    LPARAM data = 0;
  };
  std::vector<Tab> mTabs;
  int mCurSel = -1;
};
