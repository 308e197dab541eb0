#pragma once
// dynMenu: the popup menu of the spreadsheet windows. It shows a list of
// texts; command entry i carries the i-th identifier of a fixed table of
// 100 distinct command identifiers, and a chosen identifier is turned back
// into the entry index by its place in that table. Separators take no
// identifier.
//
// Showing the menu waits for a person; that goes through the window
// system's UserInterface (choosePopupMenuItem; tests script the answer).
// A chosen entry sends WM_COMMAND with its identifier to the owner window,
// as the host's popup menus do.
#include <string>
#include <vector>

#include "platform/win/wnd.h"

class dynMenu {
 public:
  static constexpr int kEntryCount = 100;
  // The identifier of command entry `entry` (0 outside 0..99).
  static UINT commandId(int entry);
  // The entry of an identifier, -1 when it is not in the table.
  static int entryOf(UINT commandId);

  struct Item {
    bool separator = false;
    std::wstring text;
    UINT id = 0;
  };

  // Builds the menu from `texts`; a null entry in `separators` (same length
  // or shorter) marks a separator. Command entries beyond the table are
  // left out. Gives the number of command entries.
  int setItems(const std::vector<std::wstring>& texts, const std::vector<bool>& separators = {});
  void appendItem(const std::wstring& text);
  void appendSeparator();
  void clear() { mItems.clear(); }
  const std::vector<Item>& items() const { return mItems; }
  int commandCount() const;
  bool isEmpty() const { return mItems.empty(); }

  // Shows the menu at a screen point for `owner`; the chosen command's
  // identifier is sent to the owner as WM_COMMAND and returned (0: none).
  UINT track(CWnd* owner, CPoint screenPoint) const;

 private:
  std::vector<Item> mItems;
};
