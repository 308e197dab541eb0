// Timers of the window system fire on the real clock while Qt runs.
#include "platform/qt/real_clock.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>

#include "platform/qt/qt_application.h"
#include "platform/win/event_loop.h"
#include "platform/win/wnd.h"

namespace {

class Ticking : public CWnd {
 public:
  int ticks = 0;
  void OnTimer(UINT_PTR id) override {
    if (id == 7) ++ticks;
  }
};

int threadTicks = 0;
void CALLBACK onThreadTimer(HWND, UINT, UINT_PTR, DWORD) { ++threadTicks; }

// Lets Qt run for `ms` milliseconds.
void runQt(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

class RealClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(krv::qt::ensureApplication(krv::qt::Display::Offscreen));
    krv::win::EventLoop::instance().reset();
    threadTicks = 0;
  }
  void TearDown() override { krv::win::EventLoop::instance().reset(); }
};

TEST_F(RealClockTest, WindowAndThreadTimersFireAsRealTimePasses) {
  Ticking window;
  ASSERT_TRUE(window.Create(L"ticking", L"", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  window.SetTimer(7, 40);
  const UINT_PTR thread = SetTimer(nullptr, 0, 60, onThreadTimer);
  window.PostMessage(WM_TIMER, 7);

  runQt(30);
  EXPECT_EQ(window.ticks, 0) << "without the real clock nothing moves";

  krv::qt::RealClock clock;
  clock.start();
  runQt(200);
  clock.stop();
  // The loop's clock followed the real one, and every timer fired once per
  // period of it (the posted WM_TIMER besides).
  const auto now = krv::win::EventLoop::instance().now();
  EXPECT_GE(now, 190u);
  EXPECT_LT(now, 2000u);
  EXPECT_EQ(window.ticks, static_cast<int>(now / 40) + 1);
  EXPECT_EQ(threadTicks, static_cast<int>(now / 60));
  EXPECT_EQ(krv::win::EventLoop::instance().pendingCount(), 0u);

  const int after = window.ticks;
  runQt(60);
  EXPECT_EQ(window.ticks, after) << "a stopped clock stands still";
  KillTimer(nullptr, thread);
  window.DestroyWindow();
}

TEST_F(RealClockTest, AClockPutBackStartsOverFromThere) {
  krv::qt::RealClock clock;
  krv::win::EventLoop::instance().advance(100000);
  clock.start();
  runQt(30);
  EXPECT_GE(krv::win::EventLoop::instance().now(), 100020u);
  krv::win::EventLoop::instance().reset();
  Ticking window;
  ASSERT_TRUE(window.Create(L"ticking", L"", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  window.SetTimer(7, 50);
  runQt(30);
  EXPECT_EQ(window.ticks, 0) << "no leap over the time before the reset";
  EXPECT_LT(krv::win::EventLoop::instance().now(), 50u);
  window.DestroyWindow();
}

}  // namespace
