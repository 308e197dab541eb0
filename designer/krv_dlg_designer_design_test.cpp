#include <gtest/gtest.h>

#include "designer/control_rect.h"
#include "designer/control_tracker.h"
#include "designer/krv_dlg_designer_data.h"
#include "designer/krv_dlg_prompt_string.h"
#include "platform/core/dial_string.h"
#include "platform/win/combo_box.h"
#include "platform/win/dialog.h"
#include "platform/win/edit.h"
#include "platform/win/person.h"
#include "platform/win/resource_modules.h"
#include "platform/win/scripted_user_interface.h"
#include "platform/win/static_ctrl.h"
#include "platform/win/wnd.h"

namespace {

using krv::win::Person;

constexpr int kCombo = 1005, kContentsLabel = 1016, kContents = 1304, kExtLabel = 1017, kExt = 1305;

Krv_DesignerControl control(Krv_ControlType type, const wchar_t* contents, double left, double top,
                            double right, double bottom) {
  Krv_DesignerControl c;
  c.mType = type;
  c.mContents = contents;
  c.mTopLeftX = left, c.mTopLeftY = top, c.mBottomRightX = right, c.mBottomRightY = bottom;
  return c;
}

class DesignModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static HINSTANCE module =
        krv::win::ResourceModules::add(L"korvane_ss", KRV_SOURCE_DIR "/resources");
    previousResources = AfxGetResourceHandle();
    AfxSetResourceHandle(module);
    ASSERT_TRUE(
        dialog.Create(L"#32770", L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 500, 400), nullptr, 0));
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(310, 10, 490, 200),
                             &dialog, kCombo));
    ASSERT_TRUE(contentsLabel.Create(L"", WS_CHILD | WS_VISIBLE, CRect(310, 40, 490, 50), &dialog,
                                     kContentsLabel));
    ASSERT_TRUE(
        contents.Create(WS_CHILD | WS_VISIBLE, CRect(310, 50, 490, 70), &dialog, kContents));
    ASSERT_TRUE(
        extLabel.Create(L"", WS_CHILD | WS_VISIBLE, CRect(310, 80, 490, 90), &dialog, kExtLabel));
    ASSERT_TRUE(ext.Create(WS_CHILD | WS_VISIBLE, CRect(310, 90, 490, 110), &dialog, kExt));
    data.mImageWidth = 300;
    data.mImageHeight = 200;
    ASSERT_TRUE(data.initialize(&dialog, 33000, 33099, kCombo, kContentsLabel, kContents, kExtLabel,
                                kExt, true));
  }
  void TearDown() override {
    data.removeAllDrawnCtrls();
    dialog.DestroyWindow();
    AfxSetResourceHandle(previousResources);
  }
  // Appends and draws a control; gives its identifier.
  int add(const Krv_DesignerControl& c) {
    const int id = data.append(c);
    EXPECT_TRUE(data.drawControl(data.mControls[data.getNrControls() - 1]));
    return id;
  }
  CRect windowRect(int id) {
    CRect r;
    dialog.GetDlgItem(id)->GetWindowRect(&r);
    dialog.ScreenToClient(&r);
    return r;
  }
  const Krv_DesignerControl& ctrl(int id) { return *data.getControlFromRes(id); }

  HINSTANCE previousResources = nullptr;
  CWnd dialog;
  CComboBox combo;
  CStatic contentsLabel;
  CEdit contents;
  CStatic extLabel;
  CEdit ext;
  Krv_DlgDesignerData data;
  krv::win::ScriptedUserInterface ui;
  krv::win::ScopedUserInterface scoped{ui};
};

TEST_F(DesignModeTest, InitializeFillsTheTypeComboOnceAndEmptiesTheProperties) {
  ASSERT_EQ(combo.GetCount(), 31);
  std::wstring text;
  combo.GetLBText(0, text);
  EXPECT_EQ(Krv_String(text), dialString(799));
  combo.GetLBText(4, text);
  EXPECT_EQ(Krv_String(text), dialString(803) + L" 1: " + dialString(2220));
  combo.GetLBText(5, text);
  EXPECT_EQ(Krv_String(text), dialString(803) + L" 2: " + dialString(2220));
  combo.GetLBText(25, text);
  EXPECT_EQ(Krv_String(text), dialString(823));
  combo.GetLBText(30, text);
  EXPECT_EQ(Krv_String(text), dialString(1428));
  EXPECT_FALSE(combo.IsWindowEnabled());
  EXPECT_FALSE(ext.IsWindowEnabled());
  CControlTracker* tracker = data.mTracker;
  ASSERT_NE(tracker, nullptr);
  ASSERT_TRUE(data.initialize(&dialog, 33000, 33099, kCombo, kContentsLabel, kContents, kExtLabel,
                              kExt, true));
  EXPECT_EQ(data.mTracker, tracker);
  EXPECT_EQ(combo.GetCount(), 31);
}

TEST_F(DesignModeTest, DesignWindowsAreDisabledExceptTextsAndRedrawKeepsOnePerControl) {
  const int text = add(control(ctText, L"Label", 0.1, 0.1, 0.3, 0.2));
  const int edit = add(control(ctVarEdit, L"a", 0.1, 0.3, 0.3, 0.4));
  const int combo3 = add(control(ctVarCombo, L"b", 0.1, 0.5, 0.3, 0.6));
  EXPECT_TRUE(dialog.GetDlgItem(text)->IsWindowEnabled());
  EXPECT_FALSE(dialog.GetDlgItem(edit)->IsWindowEnabled());
  EXPECT_FALSE(dialog.GetDlgItem(combo3)->IsWindowEnabled());
  // A combo box keeps its designed height in design mode.
  EXPECT_EQ(windowRect(combo3), CRect(30, 100, 90, 120));
  data.selectCtrls({edit});
  data.redrawAllControls();
  EXPECT_EQ(data.mDrawnCtrls.length(), 3);
  EXPECT_EQ(data.mTracker->controls().length(), 3);
  EXPECT_EQ(data.getCurSel(), -1);  // redrawing clears the selection
  int index = -1;
  CRect rect;
  ASSERT_TRUE(data.findDrawnCtrlFromResource(edit, index, rect));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(rect, CRect(30, 60, 90, 80));
  EXPECT_TRUE(data.removeDrawnCtrlOnly(edit));
  EXPECT_EQ(dialog.GetDlgItem(edit), nullptr);
  EXPECT_FALSE(data.removeDrawnCtrlOnly(edit));
  EXPECT_EQ(data.getNrControls(), 3);  // only the window went
}

TEST_F(DesignModeTest, NewControlsStartAtATwoTenthsCornerThirtyByEighteenPixels) {
  ASSERT_TRUE(data.addNewControl(ctVarEdit));
  const Krv_DesignerControl& c = data.mControls[0];
  EXPECT_DOUBLE_EQ(c.mTopLeftX, 0.2);
  EXPECT_DOUBLE_EQ(c.mBottomRightX, 0.3);
  EXPECT_DOUBLE_EQ(c.mTopLeftY, 0.2);
  EXPECT_DOUBLE_EQ(c.mBottomRightY, 0.29);
  EXPECT_EQ(c.mContents, dialString(171));
  EXPECT_EQ(windowRect(c.mResId), CRect(60, 40, 90, 58));
  // With every identifier in use nothing is added.
  Krv_DlgDesignerData full;
  ASSERT_TRUE(full.initialize(&dialog, 1, 1, 0, 0, 0, 0, 0, true));
  EXPECT_TRUE(full.addNewControl(ctText));
  EXPECT_FALSE(full.addNewControl(ctText));
  EXPECT_EQ(full.getNrControls(), 1);
  full.removeAllDrawnCtrls();
}

TEST_F(DesignModeTest, CopiesLieTwentyPixelsOffAndAreTheOnlySelection) {
  const int a = add(control(ctVarEdit, L"a", 0.1, 0.1, 0.2, 0.2));
  const int b = add(control(ctText, L"b", 0.5, 0.5, 0.6, 0.6));
  add(control(ctText, L"c", 0.7, 0.7, 0.8, 0.8));
  data.selectCtrls({b, a});
  ASSERT_TRUE(data.copyCurCtrls());
  ASSERT_EQ(data.getNrControls(), 5);
  const AcArray<int> selected = data.mTracker->selectedIds();
  ASSERT_EQ(selected.length(), 2);
  EXPECT_EQ(ctrl(selected[0]).mContents, L"b");
  EXPECT_EQ(ctrl(selected[1]).mContents, L"a");
  EXPECT_EQ(windowRect(selected[0]), CRect(170, 120, 200, 140));
  EXPECT_EQ(windowRect(selected[1]), CRect(50, 40, 80, 60));
  EXPECT_EQ(windowRect(a), CRect(30, 20, 60, 40));
  EXPECT_NEAR(ctrl(selected[1]).mBottomRightY, 0.3, 1e-12);
  data.selectCtrls(AcArray<int>());
  EXPECT_FALSE(data.copyCurCtrls());
  EXPECT_EQ(data.getNrControls(), 5);
}

TEST_F(DesignModeTest, SideBySideNeedsExactlyTwoAndTakesTheLeftOnesRowAndHeight) {
  const int a = add(control(ctVarEdit, L"a", 0.1, 0.1, 0.2, 0.2));
  const int b = add(control(ctVarEdit, L"b", 0.5, 0.5, 0.6, 0.7));
  const int c = add(control(ctVarEdit, L"c", 0.7, 0.7, 0.8, 0.8));
  data.selectCtrls({a});
  EXPECT_FALSE(data.stickRightCurCtrls());
  data.selectCtrls({a, b, c});
  EXPECT_FALSE(data.stickRightCurCtrls());
  EXPECT_EQ(windowRect(b), CRect(150, 100, 180, 140));
  data.selectCtrls({b, a});
  ASSERT_TRUE(data.stickRightCurCtrls());
  EXPECT_EQ(windowRect(a), CRect(30, 20, 60, 40));
  EXPECT_EQ(windowRect(b), CRect(60, 20, 90, 40));  // width 30 kept, a's top and bottom
  EXPECT_EQ(data.mTracker->selectedIds(), (AcArray<int>{b, a}));
}

TEST_F(DesignModeTest, BottomAlignmentFollowsTheLeftMostAndKeepsHeights) {
  const int a = add(control(ctVarEdit, L"a", 0.5, 0.1, 0.6, 0.2));
  const int b = add(control(ctText, L"b", 0.1, 0.5, 0.2, 0.6));  // left-most: bottom 120
  const int c = add(control(ctVarEdit, L"c", 0.7, 0.7, 0.8, 0.9));
  data.selectCtrls(AcArray<int>());
  EXPECT_FALSE(data.outlineCurCtrls());
  // A dragged window counts: b was moved down 10 pixels by the person.
  data.mDrawnCtrls[1]->moveTo(CRect(30, 110, 60, 130));
  data.selectCtrls({a, b, c});
  ASSERT_TRUE(data.outlineCurCtrls());
  EXPECT_EQ(windowRect(b), CRect(30, 110, 60, 130));
  EXPECT_EQ(windowRect(a), CRect(150, 110, 180, 130));
  EXPECT_EQ(windowRect(c), CRect(210, 90, 240, 130));
  EXPECT_EQ(data.mTracker->selectedIds().length(), 3);
}

TEST_F(DesignModeTest, SizeIsAskedForAndSetOnTheSelection) {
  const int a = add(control(ctVarEdit, L"a", 0.1, 0.1, 0.2, 0.2));
  const int b = add(control(ctVarEdit, L"b", 0.5, 0.5, 0.6, 0.6));
  data.selectCtrls({a, b});
  ui.onModal(
      [](CDialog& d) {
        EXPECT_EQ(Krv_String(d.GetDlgItemText(Krv_DlgPromptString::kValueEdit)), L"30");
        EXPECT_EQ(Krv_String(d.GetDlgItemText(Krv_DlgPromptString::kLabel)), dialString(825));
        Person::replaceText(d.GetDlgItem(Krv_DlgPromptString::kValueEdit), L"45");
        Person::click(&d, IDOK);
      },
      Krv_DlgPromptString::IDD);
  ASSERT_TRUE(data.changeCtrlSize(true));
  EXPECT_EQ(windowRect(a), CRect(30, 20, 75, 40));
  EXPECT_EQ(windowRect(b), CRect(150, 100, 195, 120));
  EXPECT_EQ(data.mTracker->selectedIds(), (AcArray<int>{a, b}));

  ui.onModal([](CDialog& d) { Person::click(&d, IDCANCEL); });
  EXPECT_FALSE(data.changeCtrlSize(false));
  EXPECT_EQ(windowRect(a), CRect(30, 20, 75, 40));

  data.selectCtrls({a});
  ui.onModal([](CDialog& d) {
    EXPECT_EQ(Krv_String(d.GetDlgItemText(Krv_DlgPromptString::kValueEdit)), L"18");
    Person::replaceText(d.GetDlgItem(Krv_DlgPromptString::kValueEdit), L"tall");
    Person::click(&d, IDOK);
  });
  ASSERT_TRUE(data.changeCtrlSize(false));  // not a number: 0 pixels, the top stays
  EXPECT_EQ(windowRect(a), CRect(30, 20, 75, 20));
  EXPECT_TRUE(ui.allUsed()) << ui.report();
  EXPECT_TRUE(ui.errors().empty()) << ui.report();
}

TEST_F(DesignModeTest, PromptOkWithAnEmptyValueDoesNothing) {
  Krv_DlgPromptString prompt;
  prompt.setValue(L"12");
  ui.onModal([](CDialog& d) {
    Person::replaceText(d.GetDlgItem(Krv_DlgPromptString::kValueEdit), L"");
    Person::click(&d, IDOK);
    EXPECT_TRUE(IsWindow(&d) && d.IsWindowVisible());  // still open
    Person::click(&d, IDCANCEL);
  });
  EXPECT_EQ(prompt.DoModal(), IDCANCEL);
  EXPECT_FALSE(prompt.accepted());
  EXPECT_EQ(prompt.value(), L"12");
  EXPECT_TRUE(ui.errors().empty()) << ui.report();
}

TEST_F(DesignModeTest, RemovalTakesTheSelectedControlsAndTheirWindows) {
  const int a = add(control(ctVarEdit, L"a", 0.1, 0.1, 0.2, 0.2));
  const int b = add(control(ctVarEdit, L"b", 0.5, 0.5, 0.6, 0.6));
  const int c = add(control(ctVarEdit, L"c", 0.7, 0.7, 0.8, 0.8));
  data.selectCtrls({a, c});
  ASSERT_TRUE(data.removeCurControls());
  ASSERT_EQ(data.getNrControls(), 1);
  EXPECT_EQ(data.mControls[0].mResId, b);
  EXPECT_EQ(dialog.GetDlgItem(a), nullptr);
  EXPECT_EQ(dialog.GetDlgItem(c), nullptr);
  EXPECT_EQ(data.mDrawnCtrls.length(), 1);
  Krv_DlgDesignerData runTime;
  EXPECT_FALSE(runTime.removeCurControls());
}

TEST_F(DesignModeTest, PropertiesFollowTheSingleSelection) {
  Krv_DesignerControl items = control(ctVarCombo, L"grade", 0.1, 0.1, 0.2, 0.2);
  items.mComboList = L"S235;S355";
  const int a = add(items);
  const int b = add(control(ctBoltData1, L"", 0.5, 0.5, 0.6, 0.6));
  data.selectCtrls({a});
  data.updatePropsOfCurSel();
  EXPECT_EQ(combo.GetCurSel(), int(ctVarCombo));
  EXPECT_EQ(Krv_String(contentsLabel.GetWindowText()), dialString(828));
  EXPECT_EQ(Krv_String(contents.GetWindowText()), L"grade");
  EXPECT_EQ(Krv_String(extLabel.GetWindowText()), dialString(833));
  EXPECT_EQ(Krv_String(ext.GetWindowText()), L"S235;S355");
  EXPECT_TRUE(ext.IsWindowEnabled());
  EXPECT_EQ(data.mTracker->selectedIds(), (AcArray<int>{a}));

  data.selectCtrls({b});
  data.updatePropsOfCurSel();
  EXPECT_TRUE(combo.IsWindowEnabled());
  EXPECT_EQ(Krv_String(contentsLabel.GetWindowText()), L"");
  EXPECT_FALSE(ext.IsWindowEnabled());

  data.selectCtrls({a, b});
  data.updatePropsOfCurSel();
  EXPECT_FALSE(combo.IsWindowEnabled());
  EXPECT_FALSE(contents.IsWindowEnabled());
  EXPECT_EQ(data.mTracker->selectedIds().length(), 2);

  EXPECT_EQ(Krv_DlgDesignerData::extListCaption(ctCellButtonLinked),
            dialString(1316) + L";" + dialString(1317) + L";" + dialString(1320) + L";" +
                dialString(1319));
  EXPECT_EQ(Krv_DlgDesignerData::contentsCaption(ctProfRotation), dialString(830));
}

TEST_F(DesignModeTest, EditedPropertiesReachTheControlAndItsWindow) {
  const int a = add(control(ctVarEdit, L"a", 0.1, 0.1, 0.2, 0.2));
  data.selectCtrls({a});
  data.updatePropsOfCurSel();
  contents.SetWindowText(L"thickness");
  data.propsOfCurSelUpdated();
  EXPECT_EQ(ctrl(a).mContents, L"thickness");
  EXPECT_EQ(Krv_String(dialog.GetDlgItem(a)->GetWindowText()), L"thickness");

  // A new type gives the window its new kind: a text, enabled, still selected.
  combo.SetCurSel(ctText);
  data.propsOfCurSelUpdated();
  EXPECT_EQ(ctrl(a).mType, ctText);
  CWnd* window = dialog.GetDlgItem(a);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->className(), std::wstring(L"STATIC"));
  EXPECT_TRUE(window->IsWindowEnabled());
  EXPECT_EQ(data.getCurSel(), 0);

  // Nothing while the properties are being shown.
  data.mUpdating = true;
  contents.SetWindowText(L"ignored");
  data.propsOfCurSelUpdated();
  EXPECT_EQ(ctrl(a).mContents, L"thickness");
  data.mUpdating = false;
}

}  // namespace
