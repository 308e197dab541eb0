#include "platform/win/tool_tip_ctrl.h"

#include <gtest/gtest.h>

#include "platform/win/adui_dialog.h"
#include "platform/win/event_loop.h"
#include "platform/win/gdi.h"
#include "platform/win/person.h"
#include "platform/win/resource_modules.h"
#include "platform/win/user_interface_test_support.h"

namespace {

using krv::win::EventLoop;

// A dialog-like window that relays its mouse messages to its tool tips, as
// dialogs do in PreTranslateMessage.
class Panel : public CWnd {
 public:
  CToolTipCtrl tips;
  int callbacks = 0;
  BOOL PreTranslateMessage(MSG* msg) override {
    tips.RelayEvent(msg);
    return FALSE;
  }
  BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT*) override {
    auto* info = reinterpret_cast<NMTTDISPINFO*>(lParam);
    if (info->hdr.code != TTN_GETDISPINFO) return FALSE;
    ++callbacks;
    wcscpy(info->szText, L"asked");
    return TRUE;
  }
};

void moveTo(CWnd* window, CPoint p) {
  MSG msg;
  msg.hwnd = window, msg.message = WM_MOUSEMOVE, msg.lParam = MAKELPARAM(p.x, p.y);
  krv::win::dispatchInput(msg);
}

class ToolTipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EventLoop::instance().reset();
    ASSERT_TRUE(
        panel.Create(L"#32770", L"", WS_POPUP | WS_VISIBLE, CRect(100, 100, 400, 300), nullptr, 0));
    ASSERT_TRUE(
        up.Create(L"BUTTON", L"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 30, 30), &panel, 1443));
    ASSERT_TRUE(
        down.Create(L"BUTTON", L"", WS_CHILD | WS_VISIBLE, CRect(40, 10, 60, 30), &panel, 1442));
    ASSERT_TRUE(panel.tips.Create(&panel));
    ASSERT_TRUE(panel.tips.AddTool(&up, L"Move up"));
    ASSERT_TRUE(panel.tips.AddTool(&down, L"Move down"));
  }
  void TearDown() override {
    panel.DestroyWindow();
    EventLoop::instance().reset();
  }
  Panel panel;
  CWnd up, down;
};

TEST_F(ToolTipTest, ShowsAfterTheDelayAndGoesAway) {
  CToolTipCtrl& tips = panel.tips;
  EXPECT_EQ(tips.GetToolCount(), 2);
  EXPECT_FALSE(tips.IsWindowVisible());
  EXPECT_EQ(tips.GetOwner(), &panel);
  moveTo(&up, CPoint(5, 5));
  EventLoop::instance().advance(499);
  EXPECT_FALSE(tips.isShowing());
  EventLoop::instance().advance(1);
  ASSERT_TRUE(tips.isShowing());
  EXPECT_EQ(tips.GetWindowText(), L"Move up");
  CRect r;
  tips.GetWindowRect(&r);
  EXPECT_EQ(r.TopLeft(), CPoint(100 + 10 + 5, 100 + 10 + 5 + 20));  // below the mouse

  // Moving to another tool shows its tip at once; leaving hides it.
  moveTo(&down, CPoint(1, 1));
  EXPECT_EQ(tips.GetWindowText(), L"Move down");
  EXPECT_TRUE(tips.isShowing());
  moveTo(&panel, CPoint(200, 150));
  EXPECT_FALSE(tips.isShowing());

  // It pops after the auto-pop delay and stays away until the mouse leaves.
  moveTo(&up, CPoint(5, 5));
  EventLoop::instance().advance(500);
  EXPECT_TRUE(tips.isShowing());
  EventLoop::instance().advance(5000);
  EXPECT_FALSE(tips.isShowing());
  moveTo(&up, CPoint(6, 6));
  EventLoop::instance().advance(1000);
  EXPECT_FALSE(tips.isShowing());
}

TEST_F(ToolTipTest, ClicksAndDeactivationHideTheTip) {
  CToolTipCtrl& tips = panel.tips;
  moveTo(&up, CPoint(5, 5));
  EventLoop::instance().advance(500);
  ASSERT_TRUE(tips.isShowing());
  krv::win::Person::clickAt(&up, CPoint(5, 5));
  EXPECT_FALSE(tips.isShowing());
  EventLoop::instance().advance(1000);
  EXPECT_FALSE(tips.isShowing());

  tips.Activate(FALSE);
  moveTo(&down, CPoint(5, 5));
  EventLoop::instance().advance(1000);
  EXPECT_FALSE(tips.isShowing());
  tips.Activate(TRUE);
  moveTo(&up, CPoint(5, 5));
  EventLoop::instance().advance(500);
  EXPECT_TRUE(tips.isShowing());
}

TEST_F(ToolTipTest, TextsRectanglesAndCallbacks) {
  CToolTipCtrl& tips = panel.tips;
  tips.UpdateTipText(L"Omhoog", &up);
  std::wstring text;
  tips.GetText(text, &up);
  EXPECT_EQ(text, L"Omhoog");
  tips.GetText(text, &panel, 7);
  EXPECT_EQ(text, L"");
  EXPECT_TRUE(tips.AddTool(&up, L"Again"));  // replaces, does not add
  EXPECT_EQ(tips.GetToolCount(), 2);

  // A rectangle tool of the panel itself, with its text asked for.
  CRect corner(250, 150, 300, 200);
  ASSERT_TRUE(tips.AddTool(&panel, LPSTR_TEXTCALLBACK, &corner, 7));
  moveTo(&panel, CPoint(260, 160));
  EventLoop::instance().advance(500);
  EXPECT_TRUE(tips.isShowing());
  EXPECT_EQ(tips.GetWindowText(), L"asked");
  EXPECT_EQ(panel.callbacks, 1);
  moveTo(&panel, CPoint(10, 160));
  EXPECT_FALSE(tips.isShowing());

  tips.DelTool(&panel, 7);
  EXPECT_EQ(tips.GetToolCount(), 2);
  CWnd dead;
  EXPECT_FALSE(tips.AddTool(&dead, L"x"));
  tips.SetDelayTime(TTDT_AUTOMATIC, 1000);
  EXPECT_EQ(tips.GetDelayTime(TTDT_INITIAL), 1000);
  EXPECT_EQ(tips.GetDelayTime(TTDT_AUTOPOP), 10000);
}

// --- The host's dialog base and template fonts ---------------------------

class AdUiDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module = krv::win::ResourceModules::add(L"adui", KRV_TESTDATA_DIR);
    CAdUiBaseDialog::forgetRememberedRects();
  }
  void TearDown() override {
    krv::win::ResourceModules::remove(module);
    EventLoop::instance().reset();
  }
  HINSTANCE module = nullptr;
};

TEST_F(AdUiDialogTest, TakesItsTemplateFromItsModuleAndRestoresLookup) {
  krv::win::ScriptedUserInterfaceGuard ui;
  const HINSTANCE before = AfxGetResourceHandle();
  ASSERT_NE(before, module);
  HINSTANCE during = nullptr;
  ui->onModal(
      [&](CDialog& d) {
        during = AfxGetResourceHandle();
        krv::win::Person::click(&d, IDOK);
      },
      100);
  CAdUiBaseDialog dlg(100, nullptr, module);
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(during, module);
  EXPECT_EQ(AfxGetResourceHandle(), before);

  // Without a module the current lookup is used, where template 100 is missing.
  CAdUiBaseDialog missing(100);
  EXPECT_EQ(missing.DoModal(), -1);
}

TEST_F(AdUiDialogTest, NamedDialogOpensWhereItWasClosed) {
  krv::win::ScriptedUserInterfaceGuard ui;
  CRect first;
  ui->onModal([&](CDialog& d) {
    d.GetWindowRect(&first);
    d.MoveWindow(10, 20, first.Width(), first.Height());
    krv::win::Person::click(&d, IDCANCEL);
  });
  CAdUiBaseDialog dlg(100, nullptr, module);
  dlg.SetDialogName(L"DLG_CONNECTION");
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  CRect saved;
  ASSERT_TRUE(CAdUiBaseDialog::rememberedRect(L"DLG_CONNECTION", saved));
  EXPECT_EQ(saved.TopLeft(), CPoint(10, 20));

  CRect second;
  ui->onModal([&](CDialog& d) {
    d.GetWindowRect(&second);
    krv::win::Person::click(&d, IDOK);
  });
  CAdUiBaseDialog again(100, nullptr, module);
  again.SetDialogName(L"DLG_CONNECTION");
  EXPECT_EQ(again.DoModal(), IDOK);
  EXPECT_EQ(second, CRect(CPoint(10, 20), first.Size()));
}

TEST_F(AdUiDialogTest, TemplateFontGoesToTheDialogAndItsControls) {
  krv::win::ScriptedUserInterfaceGuard ui;
  CFont* dialogFont = nullptr;
  CFont* editFont = nullptr;
  ui->onModal([&](CDialog& d) {
    dialogFont = d.GetFont();
    editFont = d.GetDlgItem(1001)->GetFont();
    ASSERT_NE(d.templateFont(), nullptr);
    LOGFONTW lf;
    d.templateFont()->GetLogFont(&lf);
    EXPECT_STREQ(lf.lfFaceName, L"MS Shell Dlg");
    krv::win::Person::click(&d, IDCANCEL);
  });
  CAdUiBaseDialog dlg(100, nullptr, module);
  dlg.DoModal();
  EXPECT_NE(dialogFont, nullptr);
  EXPECT_EQ(editFont, dialogFont);
}

}  // namespace
