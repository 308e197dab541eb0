#pragma once
// RealClock: drives the window system's event loop on the real clock while
// Qt runs. Every tick (a QTimer, 10 ms unless asked otherwise) advances
// krv::win::EventLoop::instance() by the real milliseconds elapsed since it
// started, which fires the due thread and window timers in order and runs
// the posted messages. A tick inside another (a timer's handler that runs
// a nested loop) advances the clock too. When the event loop's clock is put
// back (EventLoop::reset), the real clock starts over from there.
#include <QElapsedTimer>
#include <QTimer>
#include <cstdint>

namespace krv::qt {

class RealClock {
 public:
  explicit RealClock(int intervalMs = 10);
  ~RealClock();
  RealClock(const RealClock&) = delete;
  RealClock& operator=(const RealClock&) = delete;

  void start();
  void stop();
  bool running() const { return mTimer.isActive(); }
  // Catches the event loop up with the real time now.
  void tick();

 private:
  QTimer mTimer;
  QElapsedTimer mElapsed;
  std::uint64_t mBase = 0;     // the event loop's time when the real clock read 0
  std::uint64_t mReached = 0;  // the event loop's time after the last tick
};

}  // namespace krv::qt
