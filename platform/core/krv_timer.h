#pragma once
#include <chrono>

#include "platform/core/krv_string.h"

// Krv_Timer: adds up the time between start() and end() over many runs, so
// that a report can say where time goes. An end() without a running start()
// is ignored; a second start() restarts the running measurement.
class Krv_Timer {
 public:
  explicit Krv_Timer(const Krv_String& name = Krv_String()) : mName(name) {}
  virtual ~Krv_Timer() = default;

  void start();
  void end();
  void reset();

  const Krv_String& name() const { return mName; }
  // Completed start/end pairs and their summed duration in seconds.
  int count() const { return mCount; }
  double seconds() const { return mSeconds; }
  double meanSeconds() const { return mCount ? mSeconds / mCount : 0.0; }
  bool isRunning() const { return mRunning; }
  // One line: "<name>: count 3, total 0.012000 s, mean 0.004000 s".
  Krv_String report() const;

 private:
  using Clock = std::chrono::steady_clock;
  Krv_String mName;
  Clock::time_point mStart{};
  bool mRunning = false;
  int mCount = 0;
  double mSeconds = 0.0;
};

// Starts a timer on construction and ends it on destruction (one scope).
class Krv_FunctionTimer {
 public:
  explicit Krv_FunctionTimer(Krv_Timer& timer) : mTimer(timer) { mTimer.start(); }
  ~Krv_FunctionTimer() { mTimer.end(); }
  Krv_FunctionTimer(const Krv_FunctionTimer&) = delete;
  Krv_FunctionTimer& operator=(const Krv_FunctionTimer&) = delete;

 private:
  Krv_Timer& mTimer;
};
