#include "platform/win/event_loop.h"

#include <algorithm>
#include <bitset>

#include "platform/win/wnd.h"

namespace krv::win {

EventLoop& EventLoop::instance() {
  static EventLoop loop;
  return loop;
}

bool EventLoop::post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd && !IsWindow(hwnd)) return false;
  MSG msg;
  msg.hwnd = hwnd, msg.message = message, msg.wParam = wParam, msg.lParam = lParam;
  msg.time = static_cast<DWORD>(mNow);
  mQueue.push_back(msg);
  return true;
}

int EventLoop::runPending() {
  int count = 0;
  while (!mQueue.empty()) {
    MSG msg = mQueue.front();
    mQueue.pop_front();
    if (!msg.hwnd || !IsWindow(msg.hwnd)) continue;  // thread messages have no receiver here
    ++count;
    bool input = (msg.message >= WM_KEYDOWN && msg.message <= WM_SYSKEYDOWN) ||
                 (msg.message >= WM_MOUSEMOVE && msg.message <= WM_MOUSEWHEEL);
    if (input)
      dispatchInput(msg);
    else
      msg.hwnd->SendMessage(msg.message, msg.wParam, msg.lParam);
  }
  return count;
}

UINT_PTR EventLoop::setTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (hwnd && !IsWindow(hwnd)) return 0;
  if (elapse == 0) elapse = 1;
  auto it = std::find_if(mTimers.begin(), mTimers.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (!hwnd && it == mTimers.end()) {
    // A new thread timer gets an identifier of its own.
    do {
      id = mNextThreadTimerId++;
    } while (id == 0 || hasTimer(nullptr, id));
  }
  Timer t{hwnd, id, elapse, proc, mNow + elapse, mNextOrder++};
  if (it != mTimers.end())
    *it = t;
  else
    mTimers.push_back(t);
  return id;
}

bool EventLoop::killTimer(HWND hwnd, UINT_PTR id) {
  auto it = std::find_if(mTimers.begin(), mTimers.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == mTimers.end()) return false;
  mTimers.erase(it);
  return true;
}

void EventLoop::killWindowTimers(HWND hwnd) {
  if (!hwnd) return;
  mTimers.erase(std::remove_if(mTimers.begin(), mTimers.end(),
                               [&](const Timer& t) { return t.hwnd == hwnd; }),
                mTimers.end());
}

bool EventLoop::hasTimer(HWND hwnd, UINT_PTR id) const {
  return std::any_of(mTimers.begin(), mTimers.end(),
                     [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
}

void EventLoop::fire(const Timer& t) {
  if (t.proc) {
    t.proc(t.hwnd, WM_TIMER, t.id, static_cast<DWORD>(mNow));
  } else if (t.hwnd && IsWindow(t.hwnd)) {
    t.hwnd->SendMessage(WM_TIMER, t.id, 0);
  }
}

void EventLoop::advance(std::uint64_t ms) {
  const std::uint64_t target = mNow + ms;
  runPending();
  for (;;) {
    auto next =
        std::min_element(mTimers.begin(), mTimers.end(), [](const Timer& a, const Timer& b) {
          return a.due != b.due ? a.due < b.due : a.order < b.order;
        });
    if (next == mTimers.end() || next->due > target) break;
    mNow = next->due;
    Timer t = *next;
    // Reschedule before firing: the handler may kill or replace the timer.
    next->due += next->elapse;
    next->order = mNextOrder++;
    fire(t);
    runPending();
  }
  mNow = target;
  runPending();
}

void EventLoop::reset() {
  mQueue.clear();
  mTimers.clear();
  mNow = 0;
}

namespace {
std::bitset<256>& keys() {
  static std::bitset<256> k;
  return k;
}
}  // namespace

void KeyboardState::setDown(UINT vk, bool down) {
  if (vk < 256) keys().set(vk, down);
}
bool KeyboardState::isDown(UINT vk) { return vk < 256 && keys().test(vk); }
void KeyboardState::releaseAll() { keys().reset(); }

void dispatchInput(MSG& msg) {
  if (!IsWindow(msg.hwnd)) return;
  for (CWnd* w = msg.hwnd; w; w = w->treeParent()) {
    if (w->PreTranslateMessage(&msg)) return;
    if (!IsWindow(msg.hwnd)) return;
  }
  msg.hwnd->SendMessage(msg.message, msg.wParam, msg.lParam);
}

}  // namespace krv::win

UINT_PTR SetTimer(HWND hWnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  return krv::win::EventLoop::instance().setTimer(hWnd, id, elapse, proc);
}

BOOL KillTimer(HWND hWnd, UINT_PTR id) {
  return krv::win::EventLoop::instance().killTimer(hWnd, id) ? TRUE : FALSE;
}

SHORT GetKeyState(int vk) {
  return krv::win::KeyboardState::isDown(static_cast<UINT>(vk))
             ? static_cast<SHORT>(0x8000 - 0x10000)
             : 0;
}
SHORT GetAsyncKeyState(int vk) { return GetKeyState(vk); }
DWORD GetTickCount() { return static_cast<DWORD>(krv::win::EventLoop::instance().now()); }
