// The designed controls as live windows of a hosting dialog.
#include <gtest/gtest.h>

#include "designer/krv_dlg_designer_data.h"
#include "platform/core/dial_string.h"
#include "platform/win/button.h"
#include "platform/win/combo_box.h"
#include "platform/win/edit.h"
#include "platform/win/event_loop.h"
#include "platform/win/resource_modules.h"
#include "platform/win/wnd.h"

namespace {

Krv_DesignerControl control(int type, const wchar_t* contents, double left, double top,
                            double right, double bottom) {
  Krv_DesignerControl c;
  c.mType = static_cast<Krv_ControlType>(type);
  c.mContents = contents;
  c.mTopLeftX = left;
  c.mTopLeftY = top;
  c.mBottomRightX = right;
  c.mBottomRightY = bottom;
  return c;
}

// A design hosted on a 300 x 200 dialog at run time, its image as large.
class DesignerRunTimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        dialog.Create(L"#32770", L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
    ASSERT_TRUE(data.initialize(&dialog, 33000, 33099, 0, 0, 0, 0, 0, false));
    data.mImageWidth = 300;
    data.mImageHeight = 200;
  }
  void TearDown() override {
    krv::win::KeyboardState::releaseAll();
    data.removeRunTimeCtrls();
    dialog.DestroyWindow();
  }
  CWnd* window(int resId) { return dialog.GetDlgItem(resId); }
  Krv_String value(int resId) {
    Krv_String v;
    EXPECT_TRUE(data.getCtrlValue(resId, v));
    return v;
  }

  CWnd dialog;
  Krv_DlgDesignerData data;
};

TEST_F(DesignerRunTimeTest, ControlsBecomeWindowsOfTheirKind) {
  const int edit = data.append(control(ctVarEdit, L"12.5", 0.1, 0.1, 0.3, 0.2));
  Krv_DesignerControl combo = control(ctVarCombo, L"b", 0.5, 0.1, 0.7, 0.2);
  combo.mComboItems = Krv_StringArray{L"a", L"b"};
  const int comboId = data.append(combo);
  const int cut = data.append(control(ctCutCombo, L"2", 0.5, 0.3, 0.7, 0.4));
  Krv_DesignerControl check = control(ctVarCheck, L"Stiffener", 0.1, 0.5, 0.3, 0.6);
  check.mComboList = L"1";
  const int checkId = data.append(check);
  Krv_DesignerControl readOnly = control(ctVarEdit, L"ro", 0.1, 0.7, 0.3, 0.8);
  readOnly.mReadOnly = true;
  const int roId = data.append(readOnly);
  const int text = data.append(control(ctText, L"Label", 0.0, 0.0, 0.1, 0.05));

  data.redrawAllControls();
  const std::size_t windows = krv::win::liveWindowCount();
  data.redrawAllControls();
  EXPECT_EQ(krv::win::liveWindowCount(), windows) << "a redraw replaces the windows";

  CWnd* e = window(edit);
  ASSERT_NE(e, nullptr);
  CRect r;
  e->GetWindowRect(&r);
  dialog.ScreenToClient(&r);
  EXPECT_EQ(r, CRect(30, 20, 90, 40));
  EXPECT_EQ(e->GetWindowText(), L"12.5");
  EXPECT_TRUE(e->GetStyle() & WS_VISIBLE);
  EXPECT_TRUE(e->GetStyle() & ES_AUTOHSCROLL);
  EXPECT_TRUE(e->GetExStyle() & WS_EX_CLIENTEDGE);
  EXPECT_NE(dynamic_cast<CEdit*>(e), nullptr);
  EXPECT_TRUE(e->IsWindowEnabled());
  EXPECT_FALSE(window(roId)->IsWindowEnabled());
  EXPECT_EQ(window(text)->GetWindowText(), L"Label");

  auto* c = dynamic_cast<CComboBox*>(window(comboId));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->GetCount(), 2);
  EXPECT_EQ(c->GetCurSel(), 1);
  c->GetWindowRect(&r);
  EXPECT_EQ(r.Height(), 200) << "room for the dropped list";

  auto* alternatives = dynamic_cast<CComboBox*>(window(cut));
  ASSERT_NE(alternatives, nullptr);
  EXPECT_EQ(alternatives->GetCount(), 5);
  EXPECT_EQ(alternatives->GetCurSel(), 2);
  EXPECT_EQ(value(cut), L"2");

  EXPECT_EQ(dynamic_cast<CButton*>(window(checkId))->GetCheck(), BST_CHECKED);
  EXPECT_TRUE(data.isADynControl(checkId));
  EXPECT_FALSE(data.isADynControl(0));

  // No drawing before initialize.
  Krv_DlgDesignerData fresh;
  EXPECT_FALSE(fresh.drawControl(control(ctVarEdit, L"", 0, 0, 0.1, 0.1)));
}

TEST_F(DesignerRunTimeTest, BoltCountEditsGrowWithTheTextScale) {
  const int id = data.append(control(ctBoltPatternCount, L"4", 0.0, 0.0, 0.2, 0.1));  // 20 high
  const double saved = Krv_DlgDesignerData::designerTextScale();
  Krv_DlgDesignerData::designerTextScale() = 1.5;  // d = 9, 20 + 9 / 1.6 = 25.6 -> 26
  data.redrawAllControls();
  CRect r;
  window(id)->GetWindowRect(&r);
  EXPECT_EQ(r.Height(), 26);
  EXPECT_TRUE(window(id)->GetStyle() & ES_MULTILINE);
  Krv_DlgDesignerData::designerTextScale() = 3.0;  // would pass 36: stays
  data.redrawAllControls();
  window(id)->GetWindowRect(&r);
  EXPECT_EQ(r.Height(), 20);
  Krv_DlgDesignerData::designerTextScale() = saved;
}

TEST_F(DesignerRunTimeTest, ValuesPassAsText) {
  const int check = data.append(control(ctVarCheck, L"Check", 0.1, 0.1, 0.3, 0.2));
  const int edit = data.append(control(ctVarEdit, L"", 0.1, 0.3, 0.3, 0.4));
  const int cell = data.append(control(ctCellButtonFixed, L"Pick", 0.1, 0.5, 0.3, 0.6));
  const int label = data.append(control(ctText, L"", 0.1, 0.7, 0.3, 0.8));
  data.redrawAllControls();

  auto* box = dynamic_cast<CButton*>(window(check));
  ASSERT_NE(box, nullptr);
  const Krv_String mixed = dialString(695);
  EXPECT_TRUE(data.setCtrlValue(check, mixed));
  EXPECT_EQ(box->buttonType(), static_cast<UINT>(BS_AUTO3STATE));
  EXPECT_TRUE(box->GetStyle() & WS_VISIBLE);
  EXPECT_EQ(value(check), mixed);
  data.setCtrlValue(check, L"0.5");
  EXPECT_EQ(box->buttonType(), static_cast<UINT>(BS_AUTOCHECKBOX));
  EXPECT_EQ(value(check), L"1");
  data.setCtrlValue(check, L"-1");
  EXPECT_EQ(value(check), L"0");

  EXPECT_TRUE(data.setCtrlValue(edit, L"42"));
  EXPECT_EQ(value(edit), L"42");
  EXPECT_TRUE(data.setCtrlValue(cell, L"ignored"));
  EXPECT_EQ(value(cell), L"Pick");
  Krv_String v;
  EXPECT_FALSE(data.getCtrlValue(33099, v));
  EXPECT_FALSE(data.setCtrlValue(0, L"x"));

  EXPECT_TRUE(data.setCtrlReadOnly(edit, true));
  EXPECT_FALSE(window(edit)->IsWindowEnabled());
  EXPECT_TRUE(data.setCtrlReadOnly(edit, false));
  EXPECT_TRUE(window(edit)->IsWindowEnabled());
  EXPECT_FALSE(data.setCtrlReadOnly(label, true));
  EXPECT_TRUE(window(label)->IsWindowEnabled());
}

TEST_F(DesignerRunTimeTest, TabMovesAlongTheTabOrder) {
  const int a = data.append(control(ctVarEdit, L"a", 0.1, 0.1, 0.2, 0.2));
  const int b = data.append(control(ctVarEdit, L"b", 0.3, 0.1, 0.4, 0.2));
  const int c = data.append(control(ctVarEdit, L"c", 0.1, 0.5, 0.2, 0.6));
  data.redrawAllControls();
  Krv_TabMsgHandle outcome = tabHandled;

  ASSERT_TRUE(data.setFocusToCtrl(true));
  EXPECT_EQ(CWnd::GetFocus(), window(a));
  EXPECT_FALSE(data.handleTabKey(VK_RETURN, outcome));
  EXPECT_EQ(outcome, tabNotHandled);

  EXPECT_TRUE(data.handleTabKey(VK_TAB, outcome));
  EXPECT_EQ(outcome, tabHandled);
  EXPECT_EQ(CWnd::GetFocus(), window(b));

  krv::win::KeyboardState::setDown(VK_SHIFT, true);
  EXPECT_TRUE(data.handleTabKey(VK_TAB, outcome));
  EXPECT_EQ(CWnd::GetFocus(), window(a));
  EXPECT_TRUE(data.handleTabKey(VK_TAB, outcome));
  EXPECT_EQ(outcome, tabBeforeFirst);
  EXPECT_EQ(CWnd::GetFocus(), window(a));
  krv::win::KeyboardState::setDown(VK_SHIFT, false);

  ASSERT_TRUE(data.setFocusToCtrl(false));
  EXPECT_EQ(CWnd::GetFocus(), window(c));
  EXPECT_TRUE(data.handleTabKey(VK_TAB, outcome));
  EXPECT_EQ(outcome, tabPastLast);
  EXPECT_EQ(CWnd::GetFocus(), window(c));

  // The focus outside the design is not the design's business.
  dialog.SetFocus();
  EXPECT_FALSE(data.handleTabKey(VK_TAB, outcome));
  EXPECT_EQ(outcome, tabNotHandled);
  for (int i = 0; i < data.getNrControls(); ++i) data.getControlWrite(i)->mReadOnly = true;
  EXPECT_FALSE(data.setFocusToCtrl(true));
}

TEST_F(DesignerRunTimeTest, FlexButtonStates) {
  Krv_DesignerControl flex = control(ctFlexButton, L"v1", 0.1, 0.1, 0.2, 0.2);
  flex.setSplitExtComboList(L"G");
  const int first = data.append(flex);
  flex.mContents = L"v2";
  const int second = data.append(flex);
  data.redrawAllControls();
  EXPECT_TRUE(window(first)->GetStyle() & BS_PUSHLIKE);

  int status = -1;
  EXPECT_TRUE(data.setFlexBtnStatus(L"G", L"v2", 1));
  EXPECT_TRUE(data.getFlexBtnStatus(1, status));
  EXPECT_EQ(status, 1);
  EXPECT_TRUE(data.setFlexBtnStatus(L"G", L"v2", 2));
  EXPECT_TRUE(data.getFlexBtnStatus(1, status));
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(data.setFlexBtnStatus(L"G", L"none", 1));

  data.hideAllFlexBtns(L"G");
  EXPECT_FALSE(IsWindowVisible(window(first)));
  EXPECT_FALSE(IsWindowVisible(window(second)));
}

// Flex buttons show icon 239 of the module's resources, loaded once for
// the design and shared by all its flex buttons.
TEST_F(DesignerRunTimeTest, FlexButtonsShowTheModulesFlexIcon) {
  static HINSTANCE module =
      krv::win::ResourceModules::add(L"korvane_ss", KRV_SOURCE_DIR "/resources");
  const HINSTANCE previous = AfxGetResourceHandle();
  AfxSetResourceHandle(module);
  Krv_DesignerControl flex = control(ctFlexButton, L"v1", 0.1, 0.1, 0.2, 0.2);
  flex.setSplitExtComboList(L"G");
  const int first = data.append(flex);
  flex.mContents = L"v2";
  const int second = data.append(flex);
  data.redrawAllControls();
  auto* a = dynamic_cast<CButton*>(window(first));
  auto* b = dynamic_cast<CButton*>(window(second));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_TRUE(a->GetStyle() & BS_ICON);
  EXPECT_NE(a->GetIcon(), nullptr) << "resources/icons/239.ico is the flex icon";
  EXPECT_EQ(a->GetIcon(), LoadIcon(module, 239));
  EXPECT_EQ(b->GetIcon(), a->GetIcon());
  EXPECT_EQ(data.mFlexIcon, a->GetIcon());
  AfxSetResourceHandle(previous);
}

}  // namespace
