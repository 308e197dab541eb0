// A person's mouse drag, message by message.
#include "platform/win/person.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/win/event_loop.h"
#include "platform/win/window_class.h"

namespace {

using krv::win::Person;

struct Seen {
  UINT message;
  UINT flags;
  CPoint point;
  bool buttonHeld;  // GetKeyState(VK_LBUTTON) while it was handled
};

// A custom window that records its mouse messages.
class Canvas : public CWnd {
 public:
  std::vector<Seen> seen;
  void OnLButtonDown(UINT flags, CPoint p) override { record(WM_LBUTTONDOWN, flags, p); }
  void OnLButtonDblClk(UINT flags, CPoint p) override { record(WM_LBUTTONDBLCLK, flags, p); }
  void OnMouseMove(UINT flags, CPoint p) override { record(WM_MOUSEMOVE, flags, p); }
  void OnLButtonUp(UINT flags, CPoint p) override { record(WM_LBUTTONUP, flags, p); }

 private:
  void record(UINT message, UINT flags, CPoint p) {
    seen.push_back({message, flags, p, GetKeyState(VK_LBUTTON) < 0});
  }
};

// A parent that stops the moves it is shown (as a tool tip relay would see them).
class Owner : public CWnd {
 public:
  int movesSeen = 0;
  bool stopMoves = false;
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message != WM_MOUSEMOVE) return FALSE;
    ++movesSeen;
    return stopMoves;
  }
};

class PersonDragTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        owner.Create(L"#32770", L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
    ASSERT_TRUE(canvas.Create(AfxRegisterWndClass(CS_DBLCLKS), L"", WS_CHILD | WS_VISIBLE,
                              CRect(10, 10, 110, 110), &owner, 100));
  }
  void TearDown() override {
    owner.DestroyWindow();
    krv::win::KeyboardState::releaseAll();
  }
  Owner owner;
  Canvas canvas;
};

TEST_F(PersonDragTest, ADragIsDownMovesAndUpWithTheButtonHeldBetween) {
  Person::mouseMove(&canvas, CPoint(5, 5));
  Person::mouseDown(&canvas, CPoint(10, 20), false, true);
  Person::mouseMove(&canvas, CPoint(30, 40));
  Person::mouseMove(&canvas, CPoint(-15, 140));  // outside: the window still has the mouse
  Person::mouseUp(&canvas, CPoint(-15, 140));
  Person::mouseMove(&canvas, CPoint(1, 1));

  ASSERT_EQ(canvas.seen.size(), 6u);
  const UINT order[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MOUSEMOVE,
                        WM_MOUSEMOVE, WM_LBUTTONUP,   WM_MOUSEMOVE};
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(canvas.seen[i].message, order[i]) << i;
  EXPECT_EQ(canvas.seen[0].flags, 0u) << "a move without a button";
  EXPECT_FALSE(canvas.seen[0].buttonHeld);
  EXPECT_EQ(canvas.seen[1].flags, MK_LBUTTON | MK_CONTROL);
  EXPECT_EQ(canvas.seen[2].flags, MK_LBUTTON);
  EXPECT_TRUE(canvas.seen[2].buttonHeld);
  EXPECT_EQ(canvas.seen[3].point, CPoint(-15, 140)) << "coordinates keep their sign";
  EXPECT_EQ(canvas.seen[4].flags, 0u);
  EXPECT_FALSE(canvas.seen[4].buttonHeld);
  EXPECT_EQ(canvas.seen[5].flags, 0u) << "the button is no longer held";
}

TEST_F(PersonDragTest, TheSecondPressOfADoubleClickFollowsTheClass) {
  Person::mouseDown(&canvas, CPoint(3, 4));
  Person::mouseUp(&canvas, CPoint(3, 4));
  Person::mouseDown(&canvas, CPoint(3, 4), false, false, true);
  ASSERT_EQ(canvas.seen.size(), 3u);
  EXPECT_EQ(canvas.seen[2].message, static_cast<UINT>(WM_LBUTTONDBLCLK));

  // Without CS_DBLCLKS the second press is a plain press.
  Canvas plain;
  ASSERT_TRUE(plain.Create(L"plain", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &owner, 101));
  Person::mouseDown(&plain, CPoint(3, 4), false, false, true);
  ASSERT_EQ(plain.seen.size(), 1u);
  EXPECT_EQ(plain.seen[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
}

TEST_F(PersonDragTest, MovesPassThePreTranslationOfTheParentsAndDisabledWindowsGetNothing) {
  owner.stopMoves = true;
  Person::mouseMove(&canvas, CPoint(5, 5));
  EXPECT_EQ(owner.movesSeen, 1);
  EXPECT_TRUE(canvas.seen.empty()) << "the parent stopped it";

  canvas.EnableWindow(FALSE);
  Person::mouseDown(&canvas, CPoint(5, 5));
  Person::mouseUp(&canvas, CPoint(5, 5));
  EXPECT_TRUE(canvas.seen.empty());
  EXPECT_FALSE(GetKeyState(VK_LBUTTON) < 0) << "a press on a disabled window holds no button";
}

}  // namespace
