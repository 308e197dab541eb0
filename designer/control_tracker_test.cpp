#include "designer/control_tracker.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "designer/control_rect.h"
#include "platform/win/dc.h"
#include "platform/win/scripted_user_interface.h"
#include "platform/win/window_observer.h"
#include "platform/win/wnd.h"

// From window_class.h, whose cursor names clash with rect_tracker.h.
HCURSOR GetCursor();
namespace krv::win {
UINT standardCursorId(HCURSOR cursor);
}

namespace {

class ControlTrackerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        dialog.Create(L"#32770", L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
    tracker.setDialog(&dialog);
  }
  void TearDown() override {
    tracker.removeAll();
    rects.clear();
    dialog.DestroyWindow();
  }
  CControlRect* addControl(int id, const CRect& r) {
    auto rect = std::make_unique<CControlRect>();
    EXPECT_TRUE(rect->create(0, L"EDIT", L"x", WS_DISABLED, r, &dialog, id));
    tracker.add(rect.get());
    rects.push_back(std::move(rect));
    return rects.back().get();
  }
  CRect windowRect(int id) {
    CRect r;
    dialog.GetDlgItem(id)->GetWindowRect(&r);
    dialog.ScreenToClient(&r);
    return r;
  }

  CWnd dialog;
  CControlTracker tracker;
  std::vector<std::unique_ptr<CControlRect>> rects;
  krv::win::ScriptedUserInterface ui;
  krv::win::ScopedUserInterface scoped{ui};
};

TEST_F(ControlTrackerTest, ControlRectHasAllHandlesOutsideAndMovesItsWindow) {
  CControlRect* a = addControl(33000, CRect(10, 10, 60, 30));
  EXPECT_EQ(a->GetHandleMask(), 255u);
  EXPECT_EQ(a->m_nHandleSize, 5);
  EXPECT_EQ(a->window()->GetStyle() & (WS_CHILD | WS_VISIBLE), DWORD(WS_CHILD | WS_VISIBLE));
  EXPECT_EQ(a->HitTest(CPoint(8, 8)), CRectTracker::hitTopLeft);
  a->moveTo(CRect(100, 50, 120, 70));
  EXPECT_EQ(windowRect(33000), CRect(100, 50, 120, 70));
  // An empty rectangle keeps the tracker rectangle set before.
  CControlRect b;
  b.m_rect = CRect(5, 6, 25, 26);
  ASSERT_TRUE(b.create(0, L"STATIC", L"t", 0, CRect(), &dialog, 33050));
  EXPECT_EQ(windowRect(33050), CRect(5, 6, 25, 26));
}

TEST_F(ControlTrackerTest, LaterControlsLieOnTopAndRemovalDeselects) {
  addControl(33000, CRect(10, 10, 60, 30));
  addControl(33001, CRect(20, 20, 70, 40));
  addControl(33002, CRect(30, 30, 80, 50));
  const auto& kids = dialog.children();
  ASSERT_EQ(kids.size(), 3u);
  EXPECT_EQ(kids[0]->GetDlgCtrlID(), 33002);
  EXPECT_EQ(kids[1]->GetDlgCtrlID(), 33001);
  EXPECT_EQ(kids[2]->GetDlgCtrlID(), 33000);
  EXPECT_TRUE(tracker.select(33001, false));
  EXPECT_TRUE(tracker.select(33000, false));
  EXPECT_EQ(tracker.selectedIds(), (AcArray<int>{33001, 33000}));
  EXPECT_EQ(tracker.singleSelectedId(), -1);
  EXPECT_TRUE(tracker.remove(33001));
  EXPECT_FALSE(tracker.remove(33001));
  EXPECT_EQ(tracker.singleSelectedId(), 33000);
  EXPECT_FALSE(tracker.select(4711, true));
  EXPECT_EQ(tracker.singleSelectedId(), -1);
}

TEST_F(ControlTrackerTest, TrackedWindowsGatherBelowTheNewOneWhateverLiesBetween) {
  addControl(33000, CRect(10, 10, 60, 30));
  addControl(33001, CRect(20, 20, 70, 40));
  // A window that is not tracked comes to lie between the tracked ones.
  CWnd other;
  ASSERT_TRUE(other.Create(L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &dialog, 1));
  dialog.GetDlgItem(33000)->SetWindowPos(&other, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  addControl(33002, CRect(30, 30, 80, 50));
  std::vector<int> order;
  for (const CWnd* w : dialog.children()) order.push_back(w->GetDlgCtrlID());
  EXPECT_EQ(order, (std::vector<int>{1, 33002, 33001, 33000}));
  addControl(33003, CRect(40, 40, 90, 60));
  order.clear();
  for (const CWnd* w : dialog.children()) order.push_back(w->GetDlgCtrlID());
  EXPECT_EQ(order, (std::vector<int>{1, 33003, 33002, 33001, 33000}));
  other.DestroyWindow();
}

// Counts what changes in the dialog's windows.
class ChangeCounter : public WindowObserver {
 public:
  void windowChanged(CWnd& window, WindowChange change) override {
    if (change == WindowChange::Rect) moved.push_back(window.GetDlgCtrlID());
    if (change == WindowChange::Created || change == WindowChange::Destroyed) ++remade;
  }
  std::vector<int> moved;
  int remade = 0;
};

TEST_F(ControlTrackerTest, ADragMovesTheSelectedWindowsAndNoOther) {
  for (int i = 0; i < 30; ++i) addControl(33000 + i, CRect(10 * i, 5, 10 * i + 8, 20));
  for (int i = 0; i < 30; i += 3) tracker.select(33000 + i, false);
  ChangeCounter counter;
  dialog.addObserver(&counter);
  CRect bounds = tracker.selectionBounds();
  EXPECT_EQ(bounds, CRect(0, 5, 278, 20));
  bounds.OffsetRect(4, 7);
  ui.answerTrack(true, bounds);
  EXPECT_TRUE(tracker.trackButtonDown(CPoint(34, 10), 0, true));  // on 33003, selected
  dialog.removeObserver(&counter);
  std::vector<int> expected;
  for (int i = 0; i < 30; i += 3) expected.push_back(33000 + i);
  EXPECT_EQ(counter.moved, expected);
  EXPECT_EQ(counter.remade, 0);
  EXPECT_EQ(windowRect(33003), CRect(34, 12, 42, 27));
  EXPECT_EQ(windowRect(33004), CRect(40, 5, 48, 20));
  EXPECT_TRUE(ui.allUsed()) << ui.report();
}

TEST_F(ControlTrackerTest, CtrlTogglesAndShiftAddsWithoutMoving) {
  addControl(33000, CRect(10, 10, 60, 30));
  addControl(33001, CRect(100, 10, 150, 30));
  EXPECT_TRUE(tracker.trackButtonDown(CPoint(20, 20), MK_CONTROL, true));
  EXPECT_TRUE(tracker.trackButtonDown(CPoint(120, 20), MK_SHIFT, true));
  EXPECT_EQ(tracker.selectedIds(), (AcArray<int>{33000, 33001}));
  EXPECT_TRUE(tracker.trackButtonDown(CPoint(120, 20), MK_SHIFT, true));  // stays selected
  EXPECT_TRUE(tracker.trackButtonDown(CPoint(20, 20), MK_CONTROL, true));
  EXPECT_EQ(tracker.selectedIds(), (AcArray<int>{33001}));
  // Nothing hit with a modifier: not handled, selection kept, no drag.
  EXPECT_FALSE(tracker.trackButtonDown(CPoint(300, 200), MK_SHIFT, true));
  EXPECT_EQ(tracker.singleSelectedId(), 33001);
  EXPECT_EQ(windowRect(33000), CRect(10, 10, 60, 30));
  EXPECT_EQ(windowRect(33001), CRect(100, 10, 150, 30));
  EXPECT_TRUE(ui.allUsed()) << ui.report();
  EXPECT_TRUE(ui.errors().empty()) << ui.report();
}

TEST_F(ControlTrackerTest, DraggingOneSelectedControlMovesTheWholeSelection) {
  addControl(33000, CRect(10, 10, 60, 30));
  addControl(33001, CRect(100, 50, 150, 70));
  addControl(33002, CRect(200, 200, 250, 220));
  tracker.select(33000, true);
  tracker.select(33001, false);
  // The bounding rectangle of the selection is dragged 15 right, 5 down.
  ui.answerTrack(true, CRect(25, 15, 165, 75));
  EXPECT_TRUE(tracker.trackButtonDown(CPoint(120, 60), 0, true));
  EXPECT_EQ(windowRect(33000), CRect(25, 15, 75, 35));
  EXPECT_EQ(windowRect(33001), CRect(115, 55, 165, 75));
  EXPECT_EQ(windowRect(33002), CRect(200, 200, 250, 220));
  EXPECT_EQ(tracker.selectedIds(), (AcArray<int>{33000, 33001}));
  EXPECT_TRUE(ui.allUsed()) << ui.report();
}

TEST_F(ControlTrackerTest, PressOnAnUnselectedControlSelectsOnlyItAndAHandleResizesIt) {
  addControl(33000, CRect(10, 10, 60, 30));
  addControl(33001, CRect(100, 50, 150, 70));
  tracker.select(33000, true);
  ui.answerTrack(false);  // pressed in the middle, not moved
  EXPECT_TRUE(tracker.trackButtonDown(CPoint(120, 60), 0, true));
  EXPECT_EQ(tracker.selectedIds(), (AcArray<int>{33001}));
  ui.answerTrack(true, CRect(100, 50, 190, 80));  // bottom-right handle
  EXPECT_TRUE(tracker.trackButtonDown(CPoint(152, 72), 0, true));
  EXPECT_EQ(windowRect(33001), CRect(100, 50, 190, 80));
  EXPECT_EQ(windowRect(33000), CRect(10, 10, 60, 30));
  EXPECT_TRUE(ui.allUsed()) << ui.report();
}

TEST_F(ControlTrackerTest, RubberBandSelectsOnlyControlsWhollyInside) {
  addControl(33000, CRect(10, 10, 60, 30));
  addControl(33001, CRect(100, 10, 150, 30));
  tracker.select(33001, true);
  ui.answerTrack(true, CRect(120, 40, 5, 5));  // dragged up-left, partly over 33001
  EXPECT_TRUE(tracker.trackButtonDown(CPoint(120, 40), 0, true));
  EXPECT_EQ(tracker.selectedIds(), (AcArray<int>{33000}));
  // Without the rubber band a press on nothing only clears the selection.
  EXPECT_TRUE(tracker.trackButtonDown(CPoint(300, 250), 0, false));
  EXPECT_EQ(tracker.selectedIds().length(), 0);
  EXPECT_TRUE(ui.allUsed()) << ui.report();
}

TEST_F(ControlTrackerTest, CursorAndHandlesFollowTheControls) {
  addControl(33000, CRect(10, 10, 60, 30));
  EXPECT_TRUE(tracker.setTrackerCursor(CPoint(20, 20)));
  EXPECT_EQ(krv::win::standardCursorId(GetCursor()), UINT(IDC_SIZEALL));
  EXPECT_TRUE(tracker.setTrackerCursor(CPoint(62, 32)));
  EXPECT_NE(GetCursor(), nullptr);
  EXPECT_FALSE(tracker.setTrackerCursor(CPoint(200, 200)));
}

}  // namespace
