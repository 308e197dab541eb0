#include "platform/acad/dock_control_bar.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/win/dialog.h"
#include "platform/win/event_loop.h"
#include "platform/win/person.h"
#include "platform/win/window_class.h"

namespace {

constexpr GUID kToolA{0xBFF7CDE1, 0x365F, 0x4164, {0xBF, 0x0A, 0xA9, 0x06, 0xFF, 0xA2, 0x92, 0x0F}};
constexpr GUID kToolB{0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

struct Report {
  CRect rect;
  bool floating;
};

class TestBar : public CAcUiDockControlBar {
 public:
  std::vector<Report> reports;
  int closings = 0;
  bool allowClose = true;
  bool refuseCreation = false;
  std::function<void()> onClosing;
  CWnd* content = nullptr;

  void SizeChanged(const CRect& rect, bool floating, int) override {
    reports.push_back({rect, floating});
    if (content) content->MoveWindow(rect.left + 4, rect.top + 4, rect.Width(), rect.Height());
  }
  bool OnClosing() override {
    ++closings;
    // The callback may delete this bar (and with it the callback itself):
    // nothing of the bar is touched after it has run.
    const bool allow = allowClose;
    if (onClosing) {
      const std::function<void()> callback = onClosing;
      callback();
    }
    return allow;
  }

 protected:
  BOOL CreateControlBar(LPCREATESTRUCT cs) override {
    if (refuseCreation) return FALSE;
    content = new CWnd;
    content->setSystemOwned(true);
    return content->Create(L"STATIC", L"content", WS_CHILD | WS_VISIBLE,
                           CRect(0, 0, cs->cx, cs->cy), this, 100);
  }
};

class DockBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    acad::destroyHostFrame();
    CAcUiDockControlBar::forgetSavedStates();
    windowsBefore = krv::win::liveWindowCount();
  }
  void TearDown() override {
    acad::destroyHostFrame();
    krv::win::EventLoop::instance().reset();
    EXPECT_EQ(krv::win::liveWindowCount(), windowsBefore);
  }
  std::size_t windowsBefore = 0;
};

CRect clientOf(CWnd* w) {
  CRect r;
  w->GetClientRect(&r);
  return r;
}

TEST_F(DockBarTest, HostFrameIsMadeOnDemandAndBecomesTheMainWindow) {
  CMDIFrameWnd* frame = acedGetAcadFrame();
  ASSERT_TRUE(IsWindow(frame));
  EXPECT_EQ(adsw_acadMainWnd(), frame);
  EXPECT_EQ(AfxGetMainWnd(), frame);
  EXPECT_TRUE(frame->IsWindowVisible());
  EXPECT_EQ(frame->treeParent(), nullptr);
  EXPECT_EQ(acedGetAcadFrame(), frame);

  acad::destroyHostFrame();
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
  EXPECT_TRUE(IsWindow(acedGetAcadFrame()));
}

TEST_F(DockBarTest, CreateMakesAChildOfTheFrameWithItsClassAndContent) {
  TestBar bar;
  ASSERT_TRUE(bar.Create(acedGetAcadFrame(), L"Sheets"));
  EXPECT_EQ(bar.GetParent(), acedGetAcadFrame());
  EXPECT_EQ(bar.GetStyle() & (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN),
            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
  EXPECT_EQ(bar.windowRectInParent(), CRect(0, 0, 250, 200));
  EXPECT_EQ(bar.GetWindowText(), L"Sheets");
  const krv::win::WindowClass* wc = krv::win::windowClassOf(bar);
  ASSERT_NE(wc, nullptr);
  EXPECT_TRUE(wc->style & CS_DBLCLKS);
  EXPECT_EQ(krv::win::standardCursorId(wc->cursor), 32512u);
  ASSERT_TRUE(IsWindow(bar.content));
  EXPECT_EQ(bar.content->GetParent(), &bar);

  // The class cursor shows over the bar.
  SetCursor(nullptr);
  bar.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(&bar), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
}

TEST_F(DockBarTest, CreationFailsWithoutAFrameOrWhenTheContentIsRefused) {
  TestBar refused;
  refused.refuseCreation = true;
  EXPECT_FALSE(refused.Create(acedGetAcadFrame(), L"x"));
  EXPECT_FALSE(IsWindow(refused.GetSafeHwnd()));

  CWnd plain;
  ASSERT_TRUE(plain.Create(L"STATIC", L"", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  TestBar orphan;
  EXPECT_FALSE(orphan.Create(&plain, L"x"));
  EXPECT_FALSE(orphan.Create(nullptr, L"x"));
  plain.DestroyWindow();
}

TEST_F(DockBarTest, RestoreWithoutSavedStateDocksAtTheDefaultEdge) {
  CMDIFrameWnd* frame = acedGetAcadFrame();
  const CRect frameClient = clientOf(frame);
  TestBar bar;
  ASSERT_TRUE(bar.Create(frame, L"Sheets"));
  bar.SetToolID(&kToolA);
  bar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
  ASSERT_TRUE(bar.RestoreControlBar(AFX_IDW_DOCKBAR_LEFT));

  EXPECT_FALSE(bar.IsFloating());
  EXPECT_EQ(bar.dockSide(), AFX_IDW_DOCKBAR_LEFT);
  EXPECT_EQ(bar.windowRectInParent(), CRect(0, 0, 250, frameClient.Height()));
  EXPECT_EQ(frame->clientArea(), CRect(250, 0, frameClient.right, frameClient.bottom));
  ASSERT_FALSE(bar.reports.empty());
  EXPECT_EQ(bar.reports.back().rect, CRect(0, 0, 250, frameClient.Height()));
  EXPECT_FALSE(bar.reports.back().floating);
  EXPECT_EQ(bar.content->windowRectInParent(), CRect(4, 4, 254, frameClient.Height() + 4));

  // Only the enabled edges.
  EXPECT_FALSE(frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP));
  EXPECT_EQ(bar.dockSide(), AFX_IDW_DOCKBAR_LEFT);
  ASSERT_TRUE(frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_RIGHT));
  EXPECT_EQ(bar.windowRectInParent(),
            CRect(frameClient.right - 250, 0, frameClient.right, frameClient.bottom));
  EXPECT_TRUE(frame->dockedBars(AFX_IDW_DOCKBAR_LEFT).empty());
  EXPECT_EQ(frame->dockedBars(AFX_IDW_DOCKBAR_RIGHT).size(), 1u);
}

TEST_F(DockBarTest, DefaultEdgeThatIsNotAllowedFallsBackToAnAllowedOne) {
  TestBar bar;
  ASSERT_TRUE(bar.Create(acedGetAcadFrame(), L"Sheets"));
  bar.EnableDocking(CBRS_ALIGN_RIGHT);
  ASSERT_TRUE(bar.RestoreControlBar(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_EQ(bar.dockSide(), AFX_IDW_DOCKBAR_RIGHT);

  TestBar undockable;
  ASSERT_TRUE(undockable.Create(acedGetAcadFrame(), L"Free"));
  ASSERT_TRUE(undockable.RestoreControlBar(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_TRUE(undockable.IsFloating());
}

TEST_F(DockBarTest, BarsOnTheSameAndOtherEdgesShareTheFrame) {
  CMDIFrameWnd* frame = acedGetAcadFrame();
  const CRect fc = clientOf(frame);
  TestBar left1, left2, top;
  for (TestBar* b : {&left1, &left2, &top}) {
    ASSERT_TRUE(b->Create(frame, L"bar"));
    b->EnableDocking(CBRS_ALIGN_ANY);
  }
  ASSERT_TRUE(frame->DockControlBar(&top, AFX_IDW_DOCKBAR_TOP));
  ASSERT_TRUE(frame->DockControlBar(&left1, AFX_IDW_DOCKBAR_LEFT));
  ASSERT_TRUE(frame->DockControlBar(&left2, AFX_IDW_DOCKBAR_LEFT));
  EXPECT_EQ(top.windowRectInParent(), CRect(0, 0, fc.right, 200));
  EXPECT_EQ(left1.windowRectInParent(), CRect(0, 200, 250, fc.bottom));
  EXPECT_EQ(left2.windowRectInParent(), CRect(250, 200, 500, fc.bottom));
  EXPECT_EQ(frame->clientArea(), CRect(500, 200, fc.right, fc.bottom));

  left1.setDockedSize(100);  // dragging its splitter
  EXPECT_EQ(left2.windowRectInParent(), CRect(100, 200, 350, fc.bottom));

  // A hidden bar takes no room; a destroyed one neither.
  frame->ShowControlBar(&top, FALSE, FALSE);
  EXPECT_EQ(left1.windowRectInParent(), CRect(0, 0, 100, fc.bottom));
  left1.DestroyWindow();
  EXPECT_EQ(left2.windowRectInParent(), CRect(0, 0, 250, fc.bottom));
  EXPECT_EQ(frame->dockedBars(AFX_IDW_DOCKBAR_LEFT).size(), 1u);
}

TEST_F(DockBarTest, FloatingMovesTheBarIntoAFloatingFrameAndBack) {
  CMDIFrameWnd* frame = acedGetAcadFrame();
  const CRect fc = clientOf(frame);
  TestBar bar;
  ASSERT_TRUE(bar.Create(frame, L"Sheets manager"));
  bar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
  ASSERT_TRUE(bar.RestoreControlBar());
  bar.InitFloatingPosition(CRect(0, 0, 400, 500));
  EXPECT_FALSE(bar.IsFloating());

  frame->FloatControlBar(&bar, CPoint(300, 200));
  ASSERT_TRUE(bar.IsFloating());
  CMiniDockFrameWnd* mini = bar.floatingFrame();
  ASSERT_TRUE(IsWindow(mini));
  EXPECT_EQ(mini->GetWindowText(), L"Sheets manager");
  EXPECT_EQ(mini->GetOwner(), frame);
  EXPECT_EQ(bar.GetParent(), mini);
  CRect miniRect;
  mini->GetWindowRect(&miniRect);
  EXPECT_EQ(miniRect, CRect(300, 200, 700, 700));
  EXPECT_EQ(bar.windowRectInParent(), clientOf(mini));
  EXPECT_TRUE(bar.reports.back().floating);
  EXPECT_EQ(bar.reports.back().rect, clientOf(mini));
  EXPECT_EQ(frame->clientArea(), fc);  // the left edge is free again

  // Resizing the floating frame fits the bar and reports the new size.
  mini->MoveWindow(300, 200, 600, 300);
  EXPECT_EQ(bar.reports.back().rect, clientOf(mini));
  EXPECT_EQ(bar.floatingRect(), CRect(300, 200, 900, 500));

  // Docking again removes the floating frame.
  ASSERT_TRUE(frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_RIGHT));
  EXPECT_FALSE(IsWindow(mini));
  EXPECT_FALSE(bar.IsFloating());
  EXPECT_EQ(bar.GetParent(), frame);
  EXPECT_FALSE(bar.reports.back().floating);
}

TEST_F(DockBarTest, DoubleClickTogglesBetweenDockedAndFloating) {
  TestBar bar;
  ASSERT_TRUE(bar.Create(acedGetAcadFrame(), L"Sheets"));
  bar.EnableDocking(CBRS_ALIGN_RIGHT);
  ASSERT_TRUE(bar.RestoreControlBar(AFX_IDW_DOCKBAR_RIGHT));
  krv::win::Person::doubleClickAt(&bar, CPoint(5, 5));
  EXPECT_TRUE(bar.IsFloating());
  krv::win::Person::doubleClickAt(&bar, CPoint(5, 5));
  EXPECT_EQ(bar.dockSide(), AFX_IDW_DOCKBAR_RIGHT);

  // A window whose class has no double clicks gets two plain presses.
  int presses = 0, doubles = 0;
  struct Counter : CWnd {
    int* presses;
    int* doubles;
    void OnLButtonDown(UINT, CPoint) override { ++*presses; }
    void OnLButtonDblClk(UINT, CPoint) override { ++*doubles; }
  } plain;
  plain.presses = &presses, plain.doubles = &doubles;
  ASSERT_TRUE(plain.Create(AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 9, 9),
                           nullptr, 0));
  krv::win::Person::doubleClickAt(&plain, CPoint(1, 1));
  EXPECT_EQ(presses, 2);
  EXPECT_EQ(doubles, 0);
  plain.DestroyWindow();
}

TEST_F(DockBarTest, StateIsRememberedByToolIdentifier) {
  CMDIFrameWnd* frame = acedGetAcadFrame();
  {
    TestBar bar;
    ASSERT_TRUE(bar.Create(frame, L"Sheets"));
    bar.SetToolID(&kToolA);
    bar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    ASSERT_TRUE(bar.RestoreControlBar());
    bar.floatAt(CRect(50, 60, 450, 360));
    bar.DestroyWindow();
  }
  auto saved = CAcUiDockControlBar::savedState(kToolA);
  ASSERT_TRUE(saved);
  EXPECT_TRUE(saved->floating);
  EXPECT_EQ(saved->floatingRect, CRect(50, 60, 450, 360));

  TestBar again;
  ASSERT_TRUE(again.Create(frame, L"Sheets"));
  again.SetToolID(&kToolA);
  again.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
  ASSERT_TRUE(again.RestoreControlBar(AFX_IDW_DOCKBAR_LEFT));
  again.InitFloatingPosition(CRect(0, 0, 100, 100));  // the remembered place wins
  ASSERT_TRUE(again.IsFloating());
  CRect r;
  again.floatingFrame()->GetWindowRect(&r);
  EXPECT_EQ(r, CRect(50, 60, 450, 360));

  // Docked right and hidden, remembered as such.
  again.dockAt(AFX_IDW_DOCKBAR_RIGHT);
  again.setDockedSize(180);
  frame->ShowControlBar(&again, FALSE, FALSE);
  again.DestroyWindow();
  TestBar third;
  ASSERT_TRUE(third.Create(frame, L"Sheets"));
  third.SetToolID(&kToolA);
  third.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
  ASSERT_TRUE(third.RestoreControlBar(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_EQ(third.dockSide(), AFX_IDW_DOCKBAR_RIGHT);
  EXPECT_EQ(third.dockedSize(), 180);
  EXPECT_FALSE(third.IsVisible());

  // Another tool knows nothing of it.
  TestBar other;
  ASSERT_TRUE(other.Create(frame, L"Other"));
  other.SetToolID(&kToolB);
  other.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
  ASSERT_TRUE(other.RestoreControlBar(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_EQ(other.dockSide(), AFX_IDW_DOCKBAR_LEFT);
  EXPECT_TRUE(other.IsVisible());
}

TEST_F(DockBarTest, ClosingAsksTheBarThenHidesIt) {
  CMDIFrameWnd* frame = acedGetAcadFrame();
  TestBar bar;
  ASSERT_TRUE(bar.Create(frame, L"Sheets"));
  bar.EnableDocking(CBRS_ALIGN_LEFT);
  ASSERT_TRUE(bar.RestoreControlBar());

  bar.allowClose = false;
  krv::win::Person::close(&bar);
  EXPECT_EQ(bar.closings, 1);
  EXPECT_TRUE(bar.IsVisible());

  bar.allowClose = true;
  krv::win::Person::close(&bar);
  EXPECT_EQ(bar.closings, 2);
  EXPECT_TRUE(IsWindow(&bar));
  EXPECT_FALSE(bar.IsVisible());
  EXPECT_EQ(frame->clientArea(), clientOf(frame));

  frame->ShowControlBar(&bar, TRUE, FALSE);
  EXPECT_TRUE(bar.IsVisible());
  EXPECT_EQ(frame->clientArea().left, 250);

  // Closing a floating bar through its floating frame's close box.
  bar.floatAt(CRect(0, 0, 300, 300));
  CMiniDockFrameWnd* mini = bar.floatingFrame();
  krv::win::Person::close(mini);
  EXPECT_EQ(bar.closings, 3);
  EXPECT_TRUE(IsWindow(mini));
  EXPECT_FALSE(mini->IsWindowVisible());
  EXPECT_FALSE(bar.IsVisible());
}

TEST_F(DockBarTest, BarMayDeleteItselfWhileClosing) {
  auto* bar = new TestBar;
  ASSERT_TRUE(bar->Create(acedGetAcadFrame(), L"Sheets"));
  bar->EnableDocking(CBRS_ALIGN_LEFT);
  bar->floatAt(CRect(0, 0, 300, 300));
  CMiniDockFrameWnd* mini = bar->floatingFrame();
  bar->onClosing = [bar] {
    bar->DestroyWindow();
    delete bar;
  };
  krv::win::Person::close(bar);
  EXPECT_FALSE(IsWindow(mini));  // the floating frame went with the bar
}

TEST_F(DockBarTest, DelayedShowLaysOutWhenTheEventLoopRuns) {
  CMDIFrameWnd* frame = acedGetAcadFrame();
  TestBar bar;
  ASSERT_TRUE(bar.Create(frame, L"Sheets"));
  bar.EnableDocking(CBRS_ALIGN_LEFT);
  ASSERT_TRUE(bar.RestoreControlBar());
  frame->ShowControlBar(&bar, FALSE, TRUE);
  EXPECT_FALSE(bar.IsVisible());
  EXPECT_TRUE(frame->layoutPending());
  EXPECT_EQ(frame->clientArea().left, 250);
  krv::win::EventLoop::instance().runPending();
  EXPECT_FALSE(frame->layoutPending());
  EXPECT_EQ(frame->clientArea().left, 0);
}

TEST_F(DockBarTest, DestroyingTheFrameTakesItsBarsAlong) {
  auto* bar = new TestBar;
  ASSERT_TRUE(bar->Create(acedGetAcadFrame(), L"Sheets"));
  bar->EnableDocking(CBRS_ALIGN_LEFT);
  bar->floatAt(CRect(0, 0, 300, 300));
  auto* docked = new TestBar;
  ASSERT_TRUE(docked->Create(acedGetAcadFrame(), L"Docked"));
  docked->EnableDocking(CBRS_ALIGN_LEFT);
  ASSERT_TRUE(docked->RestoreControlBar());
  acad::destroyHostFrame();
  EXPECT_FALSE(IsWindow(bar->GetSafeHwnd()));
  EXPECT_FALSE(IsWindow(docked->GetSafeHwnd()));
  delete bar;
  delete docked;
}

}  // namespace
