#pragma once
// Registered window classes and cursors.
//
// AfxRegisterWndClass gives the name of a window class with a class style
// (CS_DBLCLKS, ...), a cursor, a background brush and an icon; the same
// arguments give the same name. A window created with that class name gets
// the class's behaviour: its cursor is set when the mouse is over its client
// area (WM_SETCURSOR), and only a class with CS_DBLCLKS turns a second click
// in quick succession into WM_LBUTTONDBLCLK (see krv::win::Person::doubleClickAt).
#include <string>

#include "platform/win/wnd.h"

constexpr UINT CS_VREDRAW = 0x0001, CS_HREDRAW = 0x0002, CS_DBLCLKS = 0x0008, CS_NOCLOSE = 0x0200;

// Standard cursor identifiers (integer resources, as the system gives them).
inline const LPCWSTR IDC_ARROW = reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(32512));
inline const LPCWSTR IDC_IBEAM = reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(32513));
inline const LPCWSTR IDC_WAIT = reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(32514));
inline const LPCWSTR IDC_CROSS = reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(32515));
inline const LPCWSTR IDC_SIZEALL = reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(32646));
inline const LPCWSTR IDC_HAND = reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(32649));

// The cursor handle of a standard cursor (instance nullptr); the same
// identifier always gives the same handle. nullptr for an unknown cursor or
// an instance of its own.
HCURSOR LoadCursor(HINSTANCE instance, LPCWSTR cursorId);
// The cursor shown now, and setting it (gives the previous one).
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

// Registers (or finds) the class and gives its name, valid for the life of
// the process.
LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                            HICON icon = nullptr);

namespace krv::win {

struct WindowClass {
  std::wstring name;
  UINT style = 0;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  HICON icon = nullptr;
};

// Registers a class under its own name (the RegisterClass role); false
// when a class of that name (ignoring case) exists already.
bool registerWindowClass(const WindowClass& windowClass);
// The registered class of that name (ignoring case), or nullptr. The
// system's control classes ("BUTTON", "EDIT", "SysListView32", the dialog
// class "#32770", ...) are registered from the start, with double clicks.
const WindowClass* findWindowClass(const std::wstring& name);
// The class of a window, or nullptr.
inline const WindowClass* windowClassOf(const CWnd& window) {
  return findWindowClass(window.className());
}
// The standard cursor identifier of a handle from LoadCursor, or 0.
UINT standardCursorId(HCURSOR cursor);

}  // namespace krv::win
