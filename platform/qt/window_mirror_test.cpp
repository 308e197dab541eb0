// The mirror keeps one widget per window, where the window system put it.
#include "platform/qt/window_mirror.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QWindow>
#include <vector>

#include "platform/qt/picture.h"
#include "platform/qt/qt_application.h"
#include "platform/win/button.h"
#include "platform/win/edit.h"
#include "platform/win/static_ctrl.h"

namespace {

using krv::qt::MirrorWidget;
using krv::qt::WindowMirror;

class WindowMirrorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(krv::qt::ensureApplication(krv::qt::Display::Offscreen));
    ASSERT_TRUE(dialog.Create(L"#32770", L"Connection",
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                              CRect(100, 100, 400, 300), nullptr, 0));
    ASSERT_TRUE(
        ok.Create(L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, CRect(10, 10, 85, 33), &dialog, IDOK));
  }
  void TearDown() override {
    if (IsWindow(dialog.GetSafeHwnd())) dialog.DestroyWindow();
  }
  CWnd dialog;
  CWnd ok;
};

TEST_F(WindowMirrorTest, EveryWindowHasAWidgetAtItsGeometry) {
  WindowMirror mirror;
  MirrorWidget* top = mirror.mirror(dialog);
  ASSERT_NE(top, nullptr);
  CRect client;
  dialog.GetClientRect(&client);
  EXPECT_EQ(top->size(), QSize(client.Width(), client.Height()))
      << "a top-level widget shows the client area";
  MirrorWidget* button = mirror.widgetFor(&ok);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->geometry(), QRect(10, 10, 75, 23));
  EXPECT_EQ(button->windowText(), "OK");
  EXPECT_EQ(button->windowClass(), "BUTTON");
}

TEST_F(WindowMirrorTest, ChangesOfTheWindowsReachTheWidgets) {
  WindowMirror mirror;
  mirror.mirror(dialog);
  ok.MoveWindow(20, 30, 100, 25);
  EXPECT_EQ(mirror.widgetFor(&ok)->geometry(), QRect(20, 30, 100, 25));
  ok.ShowWindow(SW_HIDE);
  EXPECT_TRUE(mirror.widgetFor(&ok)->isHidden());

  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(5, 50, 205, 70), &dialog, 1001));
  ASSERT_NE(mirror.widgetFor(&edit), nullptr) << "a window created later gets its widget";
  EXPECT_EQ(mirror.widgetCount(), 3u);
  edit.DestroyWindow();
  EXPECT_EQ(mirror.widgetFor(&edit), nullptr);
  EXPECT_EQ(mirror.widgetCount(), 2u);
}

TEST_F(WindowMirrorTest, APictureHasTheWindowsFullSize) {
  const QImage image = krv::qt::renderPicture(dialog);
  EXPECT_EQ(image.size(), QSize(300, 200)) << "frame and caption are part of the picture";
  dialog.DestroyWindow();
  EXPECT_TRUE(krv::qt::renderPicture(dialog).isNull());
}

}  // namespace

namespace {

// A panel that notes the presses and notifications that reach it.
class PressPanel : public CWnd {
 public:
  std::vector<CPoint> presses;
  std::vector<std::pair<int, int>> commands;  // (control, notification)

 protected:
  void OnLButtonDown(UINT, CPoint point) override { presses.push_back(point); }
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return TRUE;
  }
};

TEST(WindowMirrorMouse, DisabledControlsPlainTextsAndGroupBoxesLetTheMouseThroughToTheirParent) {
  ASSERT_TRUE(krv::qt::ensureApplication(krv::qt::Display::Offscreen));
  PressPanel panel;
  ASSERT_TRUE(panel.Create(L"#32770", L"Designer", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                           CRect(100, 100, 500, 300), nullptr, 0));
  const DWORD child = WS_CHILD | WS_VISIBLE;
  CEdit edit;
  ASSERT_TRUE(edit.Create(child | WS_DISABLED, CRect(10, 10, 110, 30), &panel, 1001));
  CStatic text, link;
  ASSERT_TRUE(text.Create(L"Pitch", child, CRect(10, 40, 110, 60), &panel, 1002));
  ASSERT_TRUE(link.Create(L"More", child | SS_NOTIFY, CRect(10, 70, 110, 90), &panel, 1003));
  CButton group, button;
  ASSERT_TRUE(group.Create(L"Bolts", child | BS_GROUPBOX, CRect(200, 10, 390, 180), &panel, 1004));
  ASSERT_TRUE(button.Create(L"Go", child, CRect(220, 40, 300, 64), &panel, 1005));
  {
    WindowMirror mirror;
    MirrorWidget* top = mirror.mirror(panel);
    top->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(top));
    const auto click = [&](QPoint at) {
      QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, at);
    };
    click(QPoint(50, 20));    // the disabled edit
    click(QPoint(50, 50));    // the plain text
    click(QPoint(250, 120));  // inside the group box, on no control
    ASSERT_EQ(panel.presses.size(), 3u);
    EXPECT_EQ(panel.presses[0], CPoint(50, 20)) << "at the panel's own client point";
    EXPECT_EQ(panel.presses[1], CPoint(50, 50));
    EXPECT_EQ(panel.presses[2], CPoint(250, 120));
    EXPECT_TRUE(panel.commands.empty());

    // Windows that take the mouse keep it: a text with SS_NOTIFY, a button
    // (inside the group box), and the edit once it is enabled.
    click(QPoint(50, 80));
    click(QPoint(250, 50));
    edit.EnableWindow(TRUE);
    click(QPoint(50, 20));
    EXPECT_EQ(panel.presses.size(), 3u);
    const std::vector<std::pair<int, int>> expected = {{1003, STN_CLICKED}, {1005, BN_CLICKED}};
    std::vector<std::pair<int, int>> clicks;
    for (const auto& c : panel.commands)
      if (c.first != 1001) clicks.push_back(c);  // the edit's focus notifications
    EXPECT_EQ(clicks, expected);
  }
  panel.DestroyWindow();
}

}  // namespace
