#include "platform/core/krv_timer.h"

void Krv_Timer::start() {
  mStart = Clock::now();
  mRunning = true;
}

void Krv_Timer::end() {
  if (!mRunning) return;
  mSeconds += std::chrono::duration<double>(Clock::now() - mStart).count();
  ++mCount;
  mRunning = false;
}

void Krv_Timer::reset() {
  mRunning = false;
  mCount = 0;
  mSeconds = 0.0;
}

Krv_String Krv_Timer::report() const {
  return mName + L": count " + Krv_String(std::to_wstring(mCount)) + L", total " +
         Krv_String(mSeconds, 6) + L" s, mean " + Krv_String(meanSeconds(), 6) + L" s";
}
