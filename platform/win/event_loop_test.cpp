#include "platform/win/event_loop.h"

#include <gtest/gtest.h>

#include "platform/win/window_dump.h"
#include "platform/win/window_observer.h"
#include "platform/win/wnd.h"

namespace {

std::vector<std::string>* gFired = nullptr;

class TimerWnd : public CWnd {
 public:
  std::vector<UINT_PTR> ticks;
  void OnTimer(UINT_PTR id) override {
    ticks.push_back(id);
    if (gFired) gFired->push_back("wnd" + std::to_string(id));
  }
};

void CALLBACK threadProc(HWND, UINT, UINT_PTR, DWORD time) {
  if (gFired) gFired->push_back("proc@" + std::to_string(time));
}

class EventLoopTest : public ::testing::Test {
 protected:
  void TearDown() override {
    krv::win::EventLoop::instance().reset();
    gFired = nullptr;
  }
  krv::win::EventLoop& loop = krv::win::EventLoop::instance();
};

TEST_F(EventLoopTest, TimersFireInDueOrderAsTheClockAdvances) {
  std::vector<std::string> fired;
  gFired = &fired;
  TimerWnd w;
  ASSERT_TRUE(w.CreateEx(0, L"Test", L"", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  EXPECT_EQ(w.SetTimer(7, 30), 7u);
  UINT_PTR thread = ::SetTimer(nullptr, 0, 50, threadProc);
  EXPECT_NE(thread, 0u);
  loop.advance(29);
  EXPECT_TRUE(fired.empty());
  loop.advance(71);  // now 100: 30, 50, 60, 90, 100
  EXPECT_EQ(fired, (std::vector<std::string>{"wnd7", "proc@50", "wnd7", "wnd7", "proc@100"}));
  EXPECT_EQ(loop.now(), 100u);
  EXPECT_TRUE(::KillTimer(nullptr, thread));
  EXPECT_FALSE(::KillTimer(nullptr, thread));  // twice: failure, no crash
  EXPECT_TRUE(w.KillTimer(7));
  EXPECT_FALSE(w.KillTimer(7));
  loop.advance(500);
  EXPECT_EQ(fired.size(), 5u);
}

TEST_F(EventLoopTest, DestroyedWindowsLoseTheirTimersAndPostedMessages) {
  auto* w = new TimerWnd;
  ASSERT_TRUE(w->CreateEx(0, L"Test", L"", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  w->SetTimer(1, 10);
  EXPECT_TRUE(w->PostMessage(WM_TIMER, 1));
  EXPECT_TRUE(w->DestroyWindow());
  EXPECT_EQ(loop.timerCount(), 0u);
  EXPECT_EQ(loop.runPending(), 0);  // the posted message is dropped
  EXPECT_FALSE(::PostMessage(w, WM_TIMER, 1, 0));
  EXPECT_EQ(::SetTimer(w, 1, 10, nullptr), 0u);
  EXPECT_EQ(::SendMessage(w, WM_GETTEXTLENGTH, 0, 0), 0);
  delete w;
}

TEST_F(EventLoopTest, ATimerProcedureMayKillItsOwnTimer) {
  static int calls = 0;
  calls = 0;
  ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    ++calls;
    ::KillTimer(nullptr, id);
  });
  loop.advance(1000);
  EXPECT_EQ(calls, 1);
}

struct Recorder : WindowObserver {
  std::vector<WindowChange> changes;
  void windowChanged(CWnd&, WindowChange change) override { changes.push_back(change); }
};

TEST_F(EventLoopTest, WindowTreeIsObservableAndDumps) {
  CWnd top;
  ASSERT_TRUE(top.CreateEx(0, L"#32770", L"Top", WS_POPUP | WS_VISIBLE, CRect(10, 10, 210, 110),
                           nullptr, 0));
  Recorder rec;
  top.addObserver(&rec);
  CWnd a, b;
  ASSERT_TRUE(a.Create(L"STATIC", L"a", WS_CHILD | WS_VISIBLE, CRect(1, 2, 30, 12), &top, 5));
  ASSERT_TRUE(b.Create(L"STATIC", L"b", WS_CHILD, CRect(0, 0, 5, 5), &top, 6));
  a.SetWindowText(L"alpha");
  b.EnableWindow(FALSE);
  b.SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(top.GetWindow(GW_CHILD), &b);
  EXPECT_EQ(top.GetDlgItem(99), nullptr);
  EXPECT_EQ(rec.changes, (std::vector<WindowChange>{
                             WindowChange::Created, WindowChange::Created, WindowChange::Text,
                             WindowChange::Invalidated, WindowChange::Enabled,
                             WindowChange::Invalidated, WindowChange::ZOrder}));
  EXPECT_EQ(krv::win::dumpWindowTree(top),
            "#32770 id=0 \"Top\" visible enabled (10,10)-(210,110)\n"
            "  STATIC id=6 \"b\" hidden disabled (0,0)-(5,5)\n"
            "  STATIC id=5 \"alpha\" visible enabled (1,2)-(30,12)\n");
  top.removeObserver(&rec);
}

}  // namespace
