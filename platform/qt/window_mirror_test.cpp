// The mirror keeps one widget per window, where the window system put it.
#include "platform/qt/window_mirror.h"

#include <gtest/gtest.h>

#include "platform/qt/picture.h"
#include "platform/qt/qt_application.h"
#include "platform/win/edit.h"

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
