#include "platform/win/window_class.h"

#include <deque>
#include <map>

#include "platform/win/string_items.h"

namespace {

struct CursorTable {
  // One object per standard cursor; its address is the handle.
  std::map<UINT, std::unique_ptr<UINT>> cursors;
  HCURSOR current = nullptr;
};

CursorTable& cursorTable() {
  static CursorTable t;
  return t;
}

bool isStandardCursor(UINT id) {
  switch (id) {
    case 32512:
    case 32513:
    case 32514:
    case 32515:
    case 32646:
    case 32649:
      return true;
    default:
      return false;
  }
}

std::deque<krv::win::WindowClass> systemClasses() {
  std::deque<krv::win::WindowClass> c;
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  for (const wchar_t* name : {L"#32770", L"BUTTON", L"STATIC", L"LISTBOX", L"COMBOBOX",
                              L"SysListView32", L"SysTabControl32"})
    c.push_back({name, CS_DBLCLKS, arrow, nullptr, nullptr});
  c.push_back({L"EDIT", CS_DBLCLKS, LoadCursor(nullptr, IDC_IBEAM), nullptr, nullptr});
  return c;
}

std::deque<krv::win::WindowClass>& classes() {
  static std::deque<krv::win::WindowClass> c = systemClasses();  // stable addresses for the names
  return c;
}

}  // namespace

HCURSOR LoadCursor(HINSTANCE instance, LPCWSTR cursorId) {
  const auto id = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(cursorId));
  if (instance || !isStandardCursor(id)) return nullptr;
  auto& slot = cursorTable().cursors[id];
  if (!slot) slot = std::make_unique<UINT>(id);
  return reinterpret_cast<HCURSOR>(slot.get());
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR previous = cursorTable().current;
  cursorTable().current = cursor;
  return previous;
}

HCURSOR GetCursor() { return cursorTable().current; }

LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
  for (const auto& c : classes())
    if (c.style == classStyle && c.cursor == cursor && c.background == background && c.icon == icon)
      return c.name.c_str();
  krv::win::WindowClass c;
  c.name = L"Afx:" + std::to_wstring(classes().size()) + L":" + std::to_wstring(classStyle);
  c.style = classStyle;
  c.cursor = cursor;
  c.background = background;
  c.icon = icon;
  classes().push_back(std::move(c));
  return classes().back().name.c_str();
}

namespace krv::win {

bool registerWindowClass(const WindowClass& windowClass) {
  if (windowClass.name.empty() || findWindowClass(windowClass.name)) return false;
  classes().push_back(windowClass);
  return true;
}

const WindowClass* findWindowClass(const std::wstring& name) {
  for (const auto& c : classes())
    if (krv::win::equalsNoCase(c.name, name)) return &c;
  return nullptr;
}

UINT standardCursorId(HCURSOR cursor) {
  for (const auto& [id, object] : cursorTable().cursors)
    if (reinterpret_cast<HCURSOR>(object.get()) == cursor) return id;
  return 0;
}

}  // namespace krv::win
