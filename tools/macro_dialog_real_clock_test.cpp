// The delayed close of a modeless macro dialog while the desktop runs:
// with the real clock driving the window system, a busy dialog is retried
// every 50 ms and goes as soon as its macro is free.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>

#include "frame/exported_functions.h"
#include "frame/macro_dialog_slots.h"
#include "frame/resource_guard.h"
#include "platform/acad/acad_frame.h"
#include "platform/acad/command_line.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/real_clock.h"
#include "platform/win/event_loop.h"
#include "platform/win/resource_modules.h"

namespace {

using krv::frame::MacroDialogBase;

class BusyMacroDialog : public MacroDialogBase {
 public:
  bool busy = true;
  bool isMacroBusy() const override { return busy; }
  void copyMacroData(MacroData&) const override {}

 protected:
  void OnCancel() override { EndDlgMacroModeless(mSlot); }
};

// Lets Qt run until `done` holds or `ms` milliseconds have passed; gives
// the milliseconds it ran.
qint64 runQtUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer elapsed;
  elapsed.start();
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (done() || elapsed.elapsed() >= ms) loop.quit();
  });
  poll.start(2);
  loop.exec();
  return elapsed.elapsed();
}

class MacroDialogRealClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(krv::qt::ensureApplication(krv::qt::Display::Offscreen));
    krv::win::EventLoop::instance().reset();
    module = krv::win::ResourceModules::add(L"frame-tests", KRV_SOURCE_DIR "/frame/testdata");
    krv::frame::moduleResourceOverride().SaveDefaultResource(module);
    acad::destroyHostFrame();
    ASSERT_NE(acedGetAcadFrame(), nullptr);
  }
  void TearDown() override {
    DestroyAllMacroDlgs();
    acad::destroyHostFrame();
    krv::frame::moduleResourceOverride().SaveDefaultResource(nullptr);
    krv::win::ResourceModules::remove(module);
    krv::win::EventLoop::instance().reset();
  }
  HINSTANCE module = nullptr;
};

TEST_F(MacroDialogRealClockTest, ABusyDialogClosesOnTheRealClockOnceItsMacroIsFree) {
  acad::CommandLineCapture out;
  BusyMacroDialog* dialog = nullptr;
  int slot = -2;
  ASSERT_TRUE(krv::frame::openModelessMacroDialog(true, slot, [&](CWnd*) {
    dialog = new BusyMacroDialog;
    return dialog;
  }));
  ASSERT_TRUE(EndDlgMacroModeless(slot));
  ASSERT_EQ(krv::frame::modelessMacroDialog(slot), dialog) << "busy: the close waits";

  krv::qt::RealClock clock;
  clock.start();
  runQtUntil([] { return false; }, 130);
  EXPECT_EQ(krv::frame::modelessMacroDialog(slot), dialog) << "still busy";
  EXPECT_EQ(krv::frame::pendingMacroDialogCloses(), 1);
  const std::wstring tries = out.text();
  EXPECT_GE(tries.size(), 2 * std::wstring(L"Delayed timer called.\n").size())
      << "retried every 50 ms";

  dialog->busy = false;
  const qint64 waited =
      runQtUntil([&] { return krv::frame::modelessMacroDialog(slot) == nullptr; }, 280);
  EXPECT_EQ(krv::frame::modelessMacroDialog(slot), nullptr);
  EXPECT_LE(waited, 200) << "closed at the next retry (50 ms, and slack for a slow machine)";
  EXPECT_EQ(krv::frame::pendingMacroDialogCloses(), 0);
  EXPECT_EQ(krv::win::EventLoop::instance().timerCount(), 0u) << "no retry is left";
}

}  // namespace
