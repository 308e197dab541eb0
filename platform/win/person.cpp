#include "platform/win/person.h"

#include "platform/win/button.h"
#include "platform/win/combo_box.h"
#include "platform/win/edit.h"
#include "platform/win/event_loop.h"
#include "platform/win/list_box.h"
#include "platform/win/tab_ctrl.h"
#include "platform/win/window_class.h"

namespace krv::win {

namespace {
UINT heldFlags(bool shift, bool ctrl) { return (shift ? MK_SHIFT : 0) | (ctrl ? MK_CONTROL : 0); }
struct HeldKeys {
  HeldKeys(bool shift, bool ctrl) : mShift(shift), mCtrl(ctrl) {
    if (mShift) KeyboardState::setDown(VK_SHIFT, true);
    if (mCtrl) KeyboardState::setDown(VK_CONTROL, true);
  }
  ~HeldKeys() {
    if (mShift) KeyboardState::setDown(VK_SHIFT, false);
    if (mCtrl) KeyboardState::setDown(VK_CONTROL, false);
  }
  bool mShift, mCtrl;
};
}  // namespace

void Person::click(CWnd* button) {
  if (!IsWindow(button) || !button->IsWindowEnabled() || !button->IsWindowVisible()) return;
  button->SendMessage(BM_CLICK);
  EventLoop::instance().runPending();
}

void Person::click(CWnd* parent, int id) {
  if (IsWindow(parent)) click(parent->GetDlgItem(id));
}

void Person::type(CWnd* window, const std::wstring& text) {
  if (!IsWindow(window) || !window->IsWindowEnabled()) return;
  window->SetFocus();
  for (wchar_t ch : text) {
    if (!IsWindow(window)) return;
    MSG msg;
    msg.hwnd = window, msg.message = WM_CHAR, msg.wParam = static_cast<WPARAM>(ch), msg.lParam = 1;
    dispatchInput(msg);
  }
  EventLoop::instance().runPending();
}

void Person::replaceText(CWnd* window, const std::wstring& text) {
  if (!IsWindow(window) || !window->IsWindowEnabled()) return;
  window->SetFocus();
  if (auto* edit = dynamic_cast<CEdit*>(window))
    edit->SetSel(0, -1);
  else if (auto* combo = dynamic_cast<CComboBox*>(window))
    combo->SetEditSel(0, -1);
  if (text.empty())
    type(window, L"\b");
  else
    type(window, text);
}

void Person::choose(CWnd* control, int index) {
  if (!IsWindow(control) || !control->IsWindowEnabled()) return;
  if (auto* combo = dynamic_cast<CComboBox*>(control))
    combo->personChoose(index);
  else if (auto* list = dynamic_cast<CListBox*>(control))
    list->personChoose(index);
  else if (auto* tab = dynamic_cast<CTabCtrl*>(control))
    tab->personChoose(index);
  else if (auto* chooser = dynamic_cast<PersonChoosable*>(control))
    chooser->personChoose(index);
  EventLoop::instance().runPending();
}

bool Person::choose(CWnd* control, const std::wstring& itemText) {
  int index = -1;
  if (auto* combo = dynamic_cast<CComboBox*>(control))
    index = combo->FindStringExact(-1, itemText.c_str());
  else if (auto* list = dynamic_cast<CListBox*>(control))
    index = list->FindStringExact(-1, itemText.c_str());
  if (index < 0) return false;
  choose(control, index);
  return true;
}

void Person::doubleClickItem(CWnd* control, int index) {
  if (!IsWindow(control) || !control->IsWindowEnabled()) return;
  if (auto* list = dynamic_cast<CListBox*>(control))
    list->personDoubleClick(index);
  else if (auto* chooser = dynamic_cast<PersonChoosable*>(control))
    chooser->personDoubleClick(index);
  EventLoop::instance().runPending();
}

void Person::pressKey(CWnd* window, UINT vk, bool shift, bool ctrl) {
  if (!IsWindow(window)) return;
  CWnd* target = CWnd::GetFocus();
  if (!target || (target != window && !window->IsChild(target))) target = window;
  HeldKeys held(shift, ctrl);
  KeyboardState::setDown(vk, true);
  MSG down;
  down.hwnd = target, down.message = WM_KEYDOWN, down.wParam = vk, down.lParam = 1;
  dispatchInput(down);
  KeyboardState::setDown(vk, false);
  if (IsWindow(target)) {
    MSG up = down;
    up.message = WM_KEYUP;
    up.lParam = static_cast<LPARAM>(0xC0000001u);
    dispatchInput(up);
  }
  EventLoop::instance().runPending();
}

void Person::clickAt(CWnd* window, CPoint point, bool shift, bool ctrl) {
  if (!IsWindow(window) || !window->IsWindowEnabled()) return;
  HeldKeys held(shift, ctrl);
  window->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                      MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  const LPARAM lp = MAKELPARAM(point.x, point.y);
  MSG down;
  down.hwnd = window, down.message = WM_LBUTTONDOWN,
  down.wParam = MK_LBUTTON | heldFlags(shift, ctrl), down.lParam = lp;
  dispatchInput(down);
  if (IsWindow(window)) {
    MSG up = down;
    up.message = WM_LBUTTONUP;
    up.wParam = heldFlags(shift, ctrl);
    dispatchInput(up);
  }
  EventLoop::instance().runPending();
}

void Person::doubleClickAt(CWnd* window, CPoint point) {
  if (!IsWindow(window) || !window->IsWindowEnabled()) return;
  clickAt(window, point);
  if (!IsWindow(window) || !window->IsWindowEnabled()) return;
  const auto* wc = windowClassOf(*window);
  MSG down;
  down.hwnd = window;
  down.message = (wc && (wc->style & CS_DBLCLKS)) ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
  down.wParam = MK_LBUTTON;
  down.lParam = MAKELPARAM(point.x, point.y);
  dispatchInput(down);
  if (IsWindow(window)) {
    MSG up = down;
    up.message = WM_LBUTTONUP;
    up.wParam = 0;
    dispatchInput(up);
  }
  EventLoop::instance().runPending();
}

void Person::mouseDown(CWnd* window, CPoint point, bool shift, bool ctrl, bool again) {
  if (!IsWindow(window) || !window->IsWindowEnabled()) return;
  HeldKeys held(shift, ctrl);
  const auto* wc = windowClassOf(*window);
  const bool dblclk = again && wc && (wc->style & CS_DBLCLKS);
  if (!dblclk)
    window->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                        MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  KeyboardState::setDown(VK_LBUTTON, true);
  MSG down;
  down.hwnd = window, down.message = dblclk ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN,
  down.wParam = MK_LBUTTON | heldFlags(shift, ctrl), down.lParam = MAKELPARAM(point.x, point.y);
  if (IsWindow(window)) dispatchInput(down);
  EventLoop::instance().runPending();
}

void Person::mouseMove(CWnd* window, CPoint point, bool shift, bool ctrl) {
  if (!IsWindow(window) || !window->IsWindowEnabled()) return;
  HeldKeys held(shift, ctrl);
  const bool buttonHeld = KeyboardState::isDown(VK_LBUTTON);
  MSG move;
  move.hwnd = window, move.message = WM_MOUSEMOVE,
  move.wParam = (buttonHeld ? MK_LBUTTON : 0) | heldFlags(shift, ctrl),
  move.lParam = MAKELPARAM(point.x, point.y);
  dispatchInput(move);
  EventLoop::instance().runPending();
}

void Person::mouseUp(CWnd* window, CPoint point, bool shift, bool ctrl) {
  KeyboardState::setDown(VK_LBUTTON, false);
  if (!IsWindow(window) || !window->IsWindowEnabled()) return;
  HeldKeys held(shift, ctrl);
  MSG up;
  up.hwnd = window, up.message = WM_LBUTTONUP, up.wParam = heldFlags(shift, ctrl),
  up.lParam = MAKELPARAM(point.x, point.y);
  dispatchInput(up);
  EventLoop::instance().runPending();
}

void Person::rightClickAt(CWnd* window, CPoint point) {
  if (!IsWindow(window) || !window->IsWindowEnabled()) return;
  MSG down;
  down.hwnd = window, down.message = WM_RBUTTONDOWN, down.wParam = MK_RBUTTON,
  down.lParam = MAKELPARAM(point.x, point.y);
  dispatchInput(down);
  if (IsWindow(window)) {
    MSG up = down;
    up.message = WM_RBUTTONUP;
    up.wParam = 0;
    dispatchInput(up);
  }
  EventLoop::instance().runPending();
}

void Person::close(CWnd* window) {
  if (IsWindow(window)) window->SendMessage(WM_CLOSE);
  EventLoop::instance().runPending();
}

}  // namespace krv::win
