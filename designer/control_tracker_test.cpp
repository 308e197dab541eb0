#include "designer/control_tracker.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "designer/control_rect.h"
#include "platform/win/dc.h"
#include "platform/win/scripted_user_interface.h"
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
