// The popup menu of the spreadsheet windows.
#include "spread/dyn_menu.h"

#include <array>

#include "platform/win/user_interface.h"

namespace krv::spread {
namespace {

constexpr std::array<UINT, dynMenu::kEntryCount> makeTable() {
  std::array<UINT, dynMenu::kEntryCount> t{};
  const UINT first[] = {32811, 32812, 32816, 32817, 32818};
  int i = 0;
  for (UINT id : first) t[i++] = id;
  for (UINT id = 32800; id <= 32804; ++id) t[i++] = id;
  for (UINT id = 33100; id <= 33105; ++id) t[i++] = id;
  for (UINT id = 33117; id <= 33190; ++id) t[i++] = id;
  // Entry 90 carries an identifier of its own, outside the runs around it.
  t[i++] = 33191;
  for (UINT id = 33192; id <= 33200; ++id) t[i++] = id;
  return t;
}

constexpr std::array<UINT, dynMenu::kEntryCount> kTable = makeTable();
static_assert(kTable[9] == 32804 && kTable[10] == 33100 && kTable[16] == 33117 &&
              kTable[62] == 33163 && kTable[63] == 33164 && kTable[89] == 33190 &&
              kTable[91] == 33192 && kTable[99] == 33200);

}  // namespace
}  // namespace krv::spread

using namespace krv::spread;

UINT dynMenu::commandId(int entry) {
  return entry >= 0 && entry < kEntryCount ? kTable[static_cast<size_t>(entry)] : 0;
}

int dynMenu::entryOf(UINT commandId) {
  for (int i = 0; i < kEntryCount; ++i) {
    if (kTable[static_cast<size_t>(i)] == commandId) return i;
  }
  return -1;
}

int dynMenu::setItems(const std::vector<std::wstring>& texts, const std::vector<bool>& separators) {
  mItems.clear();
  for (size_t i = 0; i < texts.size(); ++i) {
    if (i < separators.size() && separators[i]) {
      appendSeparator();
    } else {
      appendItem(texts[i]);
    }
  }
  return commandCount();
}

void dynMenu::appendItem(const std::wstring& text) {
  int entry = commandCount();
  if (entry >= kEntryCount) return;
  mItems.push_back({false, text, commandId(entry)});
}

void dynMenu::appendSeparator() { mItems.push_back({true, {}, 0}); }

int dynMenu::commandCount() const {
  int n = 0;
  for (const Item& i : mItems) n += i.separator ? 0 : 1;
  return n;
}

UINT dynMenu::track(CWnd* owner, CPoint screenPoint) const {
  if (!owner || !owner->GetSafeHwnd() || commandCount() == 0) return 0;
  std::vector<std::wstring> commands;
  for (const Item& i : mItems)
    if (!i.separator) commands.push_back(i.text);
  int entry = UserInterface::current().choosePopupMenuItem(commands, screenPoint);
  if (entry < 0 || entry >= commandCount()) return 0;
  UINT id = commandId(entry);
  owner->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<int>(id), 0), 0);
  return id;
}
