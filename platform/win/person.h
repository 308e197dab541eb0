#pragma once
// krv::win::Person: what a person's clicks, keys and choices do, for tests and
// scripts that drive live windows. Each action sends the messages the real
// action would send, so the windows send the notifications a person's
// action causes (BN_CLICKED, EN_CHANGE, CBN_SELCHANGE, TCN_SELCHANGE, ...).
// Actions on disabled or destroyed windows do nothing.
#include <string>

#include "platform/win/wnd.h"

namespace krv::win {

// Implemented by item controls beyond the standard ones (list views, ...)
// so that Person can choose and double-click their items.
class PersonChoosable {
 public:
  virtual ~PersonChoosable() = default;
  virtual void personChoose(int index) = 0;
  virtual void personDoubleClick(int index) = 0;
};

class Person {
 public:
  // Clicks a button (or the control `id` of `parent`).
  static void click(CWnd* button);
  static void click(CWnd* parent, int id);
  // Types the text into the focused part of `window` (given the focus
  // first), one WM_CHAR per character; "\b" deletes.
  static void type(CWnd* window, const std::wstring& text);
  // Selects all text of an edit (or combo edit) and types `text` over it.
  static void replaceText(CWnd* window, const std::wstring& text);
  // Picks item `index` of a combo box, list box, tab control or list view.
  static void choose(CWnd* control, int index);
  // Picks the first combo or list box item with exactly this text (ignoring
  // case); false when there is none.
  static bool choose(CWnd* control, const std::wstring& itemText);
  // Double-clicks item `index` of a list box or list view.
  static void doubleClickItem(CWnd* control, int index);
  // Presses and releases a key on the focused window inside `window` (or
  // `window` itself), going through PreTranslateMessage as the message
  // loop does; Shift and Ctrl are held while it is pressed when asked.
  static void pressKey(CWnd* window, UINT vk, bool shift = false, bool ctrl = false);
  // Mouse button down and up at a client point, with MK_* flags from the
  // held keys; a WM_SETCURSOR comes first as when the mouse arrives.
  static void clickAt(CWnd* window, CPoint point, bool shift = false, bool ctrl = false);
  static void rightClickAt(CWnd* window, CPoint point);
  // Two clicks in quick succession at a client point: the second press is
  // WM_LBUTTONDBLCLK when the window's class has CS_DBLCLKS, otherwise a
  // plain second WM_LBUTTONDOWN.
  static void doubleClickAt(CWnd* window, CPoint point);
  // The steps of a mouse drag, each one message, for a person whose hand
  // is followed move by move (a renderer): the left button goes down at a
  // client point (WM_SETCURSOR, then WM_LBUTTONDOWN, or WM_LBUTTONDBLCLK
  // when `again` is the second press of a double click and the class has
  // CS_DBLCLKS), the mouse moves (WM_MOUSEMOVE, with MK_LBUTTON while the
  // button is held) and the button comes up (WM_LBUTTONUP). The points may
  // lie outside the client area while the button is held, as when the
  // mouse is captured. GetKeyState(VK_LBUTTON) tells whether it is held.
  static void mouseDown(CWnd* window, CPoint point, bool shift = false, bool ctrl = false,
                        bool again = false);
  static void mouseMove(CWnd* window, CPoint point, bool shift = false, bool ctrl = false);
  static void mouseUp(CWnd* window, CPoint point, bool shift = false, bool ctrl = false);
  // Closes the window with its close box (WM_CLOSE).
  static void close(CWnd* window);
};

}  // namespace krv::win
