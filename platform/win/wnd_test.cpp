// Reading and writing the numbers of dialog items.
#include "platform/win/wnd.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/win/edit.h"
#include "platform/win/window_observer.h"

namespace {

constexpr int kFieldId = 1001;
constexpr int kMissingId = 4242;

class DlgItemIntTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        parent.Create(L"#32770", L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
    ASSERT_TRUE(field.Create(WS_CHILD | WS_VISIBLE, CRect(5, 5, 100, 25), &parent, kFieldId));
  }
  void TearDown() override { parent.DestroyWindow(); }

  CWnd parent;
  CEdit field;
};

struct IntCase {
  const wchar_t* text;
  BOOL isSigned;
  BOOL translated;
  UINT value;  // the result, 0 whenever the text is refused
  const char* why;
};

TEST_F(DlgItemIntTest, TranslatesWholeNumbersInRangeAndRefusesTheRest) {
  const IntCase cases[] = {
      {L"12", TRUE, TRUE, 12u, "a plain number"},
      {L"  12  ", TRUE, TRUE, 12u, "blanks around the number are allowed"},
      {L"12abc", TRUE, FALSE, 0u, "trailing text makes it no number"},
      {L"12 3", TRUE, FALSE, 0u, "a second number after a blank is trailing text too"},
      {L"abc", TRUE, FALSE, 0u, "no digits at all"},
      {L"", TRUE, FALSE, 0u, "an empty field holds no number"},
      {L"-7", TRUE, TRUE, static_cast<UINT>(-7), "a signed read gives the two's complement"},
      {L"-7", FALSE, FALSE, 0u, "an unsigned read refuses a sign"},
      {L"2147483647", TRUE, TRUE, static_cast<UINT>(INT_MAX), "the largest int"},
      {L"-2147483648", TRUE, TRUE, static_cast<UINT>(INT_MIN), "the smallest int"},
      {L"2147483648", TRUE, FALSE, 0u, "one beyond the largest int"},
      {L"-2147483649", TRUE, FALSE, 0u, "one below the smallest int"},
      {L"3000000000", TRUE, FALSE, 0u, "beyond the int range"},
      {L"3000000000", FALSE, TRUE, 3000000000u, "within the unsigned range"},
      {L"4294967295", FALSE, TRUE, UINT_MAX, "the largest unsigned value"},
      {L"4294967296", FALSE, FALSE, 0u, "one beyond the unsigned range"},
  };
  for (const auto& c : cases) {
    field.SetWindowText(c.text);
    BOOL translated = !c.translated;  // the call must set it either way
    const UINT value = parent.GetDlgItemInt(kFieldId, &translated, c.isSigned);
    EXPECT_EQ(translated, c.translated) << c.why;
    EXPECT_EQ(value, c.value) << c.why;
    // Without a flag to set the value is the same.
    EXPECT_EQ(parent.GetDlgItemInt(kFieldId, nullptr, c.isSigned), c.value) << c.why;
  }
}

TEST_F(DlgItemIntTest, MissingItemIsNotTranslated) {
  BOOL translated = TRUE;
  EXPECT_EQ(parent.GetDlgItemInt(kMissingId, &translated), 0u);
  EXPECT_FALSE(translated);
}

TEST_F(DlgItemIntTest, WrittenNumbersReadBack) {
  parent.SetDlgItemInt(kFieldId, static_cast<UINT>(-5));
  EXPECT_EQ(field.GetWindowText(), L"-5") << "a signed write shows the sign";
  parent.SetDlgItemInt(kFieldId, 3000000000u, FALSE);
  EXPECT_EQ(field.GetWindowText(), L"3000000000");
  BOOL translated = FALSE;
  EXPECT_EQ(parent.GetDlgItemInt(kFieldId, &translated, FALSE), 3000000000u);
  EXPECT_TRUE(translated);
}

TEST(WndTest, TextSetBeforeCreationIsKept) {
  CWnd window;
  window.SetWindowText(L"Beam");
  EXPECT_EQ(window.GetWindowText(), L"Beam");
}

// Counts the redraw requests of the observed window.
struct RedrawCounter : WindowObserver {
  int invalidated = 0;
  void windowChanged(CWnd&, WindowChange change) override {
    invalidated += change == WindowChange::Invalidated;
  }
};

TEST(WndTest, MovingOrSizingAloneRedraws) {
  constexpr int kLeft = 10, kTop = 20, kWidth = 100, kHeight = 50;
  struct Case {
    const char* what;
    int x, y, cx, cy;
    UINT flags;
    bool redrawn;
  };
  const Case cases[] = {
      {"moved only", kLeft + 5, kTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER, true},
      {"sized only", 0, 0, kWidth + 5, kHeight, SWP_NOMOVE | SWP_NOZORDER, true},
      {"moved and sized", kLeft + 5, kTop + 5, kWidth + 5, kHeight + 5, SWP_NOZORDER, true},
      {"put where it is", kLeft, kTop, kWidth, kHeight, SWP_NOZORDER, false},
      {"moved without redraw", kLeft + 5, kTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW,
       false},
  };
  for (const auto& c : cases) {
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, L"#32770", L"", WS_POPUP | WS_VISIBLE,
                                CRect(kLeft, kTop, kLeft + kWidth, kTop + kHeight), nullptr, 0));
    RedrawCounter counter;
    window.addObserver(&counter);
    window.SetWindowPos(nullptr, c.x, c.y, c.cx, c.cy, c.flags);
    EXPECT_EQ(counter.invalidated > 0, c.redrawn) << c.what;
    window.removeObserver(&counter);
    window.DestroyWindow();
  }
}

// A parent that records the notification codes its controls send.
class NotificationRecorder : public CWnd {
 public:
  std::vector<UINT> codes;
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    codes.push_back(HIWORD(wParam));
    return TRUE;
  }
};

TEST(WndTest, MovingTheFocusTellsTheWindowThatLosesIt) {
  NotificationRecorder parent;
  ASSERT_TRUE(
      parent.Create(L"#32770", L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
  CEdit first, second;
  ASSERT_TRUE(first.Create(WS_CHILD | WS_VISIBLE, CRect(5, 5, 100, 25), &parent, kFieldId));
  ASSERT_TRUE(second.Create(WS_CHILD | WS_VISIBLE, CRect(5, 30, 100, 50), &parent, kFieldId + 1));
  first.SetFocus();
  parent.codes.clear();
  second.SetFocus();
  EXPECT_EQ(parent.codes, (std::vector<UINT>{EN_KILLFOCUS, EN_SETFOCUS}))
      << "the first edit hears of its loss before the second of its gain";
  EXPECT_EQ(CWnd::GetFocus(), &second);
  parent.DestroyWindow();
}

}  // namespace
