#pragma once
// krv::win::EventLoop: the message queue and thread timers of the user-interface
// thread, on a clock that only moves when told to.
//
// Posted messages wait in the queue until runPending(). Timers fire when
// the clock is advanced past their due time: advance(ms) fires every due
// timer in order of due time (timers due at the same time in the order they
// were set), runs the queue after each, and a periodic timer fires once per
// elapsed period. A window timer without a procedure sends WM_TIMER to its
// window; with a procedure, the procedure is called.
#include <cstdint>
#include <deque>
#include <vector>

#include "platform/win/win_messages.h"

namespace krv::win {

class EventLoop {
 public:
  // The loop of the (single) user-interface thread.
  static EventLoop& instance();

  // Milliseconds since the loop started (the clock starts at 0).
  std::uint64_t now() const { return mNow; }
  // Moves the clock forward by `ms`, firing due timers in order.
  void advance(std::uint64_t ms);
  // Dispatches queued messages until the queue is empty (including those
  // posted meanwhile); gives the number dispatched. Messages to windows
  // destroyed since they were posted are dropped.
  int runPending();
  std::size_t pendingCount() const { return mQueue.size(); }

  // Queues a message; false when hwnd is given but not a window.
  bool post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  // SetTimer: with a window, replaces that window's timer `id` and gives
  // `id`; without one, replaces the thread timer `id` if it exists, else
  // makes a new thread timer with a fresh identifier. 0 on failure (window
  // not live). An elapse of 0 counts as 1 ms.
  UINT_PTR setTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
  // false when there is no such timer (for instance killed already).
  bool killTimer(HWND hwnd, UINT_PTR id);
  // Removes every timer of the window (called when it is destroyed).
  void killWindowTimers(HWND hwnd);
  std::size_t timerCount() const { return mTimers.size(); }
  bool hasTimer(HWND hwnd, UINT_PTR id) const;

  // Forgets all messages and timers and puts the clock back to 0 (tests).
  void reset();

 private:
  struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT elapse;
    TIMERPROC proc;
    std::uint64_t due;
    std::uint64_t order;
  };
  void fire(const Timer& timer);

  std::uint64_t mNow = 0;
  std::uint64_t mNextOrder = 1;
  UINT_PTR mNextThreadTimerId = 0x7F00;
  std::deque<MSG> mQueue;
  std::vector<Timer> mTimers;
};

// Delivers an input message as the message loop would: PreTranslateMessage
// of the target and then of each parent up to the top-level window; when
// none stops it, the message is sent to the target.
void dispatchInput(MSG& msg);

// The keyboard state seen by GetKeyState.
class KeyboardState {
 public:
  static void setDown(UINT vk, bool down);
  static bool isDown(UINT vk);
  static void releaseAll();
};

}  // namespace krv::win

UINT_PTR SetTimer(HWND hWnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND hWnd, UINT_PTR id);
// High bit set (negative result) while the key is down.
SHORT GetKeyState(int vk);
SHORT GetAsyncKeyState(int vk);
DWORD GetTickCount();
