#include "platform/qt/real_clock.h"

#include "platform/win/event_loop.h"

namespace krv::qt {

RealClock::RealClock(int intervalMs) {
  mTimer.setInterval(intervalMs);
  QObject::connect(&mTimer, &QTimer::timeout, [this] { tick(); });
}

RealClock::~RealClock() { stop(); }

void RealClock::start() {
  mBase = mReached = krv::win::EventLoop::instance().now();
  mElapsed.start();
  mTimer.start();
}

void RealClock::stop() { mTimer.stop(); }

void RealClock::tick() {
  auto& loop = krv::win::EventLoop::instance();
  if (!mElapsed.isValid()) mElapsed.start();
  if (loop.now() < mReached) {
    // The loop's clock was put back: go on from where it is now.
    mBase = loop.now();
    mElapsed.restart();
    mReached = loop.now();
    loop.runPending();
    return;
  }
  const std::uint64_t target = mBase + static_cast<std::uint64_t>(mElapsed.elapsed());
  if (target > loop.now())
    loop.advance(target - loop.now());
  else
    loop.runPending();
  mReached = std::max(mReached, loop.now());
}

}  // namespace krv::qt
