#include "platform/core/dlg_utils.h"

#include <gtest/gtest.h>

#include "platform/acad/acad_frame.h"
#include "platform/core/temp_folder_for_tests.h"
#include "platform/win/combo_box.h"
#include "platform/win/dialog.h"
#include "platform/win/dialog_template.h"
#include "platform/win/list_box.h"
#include "platform/win/resource_modules.h"

namespace {

constexpr UINT kTemplate = 700;
constexpr int kEditCombo = 1001, kSortedList = 1002, kList = 1003, kMultiList = 1004,
              kFirstEdit = 1005, kSecondEdit = 1006, kNoSuchControl = 1999;

const char kTemplateText[] = R"({
  "id": 700, "caption": "Utilities", "style": "WS_POPUP | WS_CAPTION", "cx": 200, "cy": 150,
  "controls": [
    {"id": 1001, "class": "COMBOBOX", "style": "CBS_DROPDOWN | WS_TABSTOP", "x": 5, "y": 5, "cx": 90, "cy": 60},
    {"id": 1002, "class": "COMBOBOX", "style": "CBS_DROPDOWNLIST | CBS_SORT | WS_TABSTOP", "x": 100, "y": 5, "cx": 90, "cy": 60},
    {"id": 1003, "class": "LISTBOX", "style": "WS_TABSTOP", "x": 5, "y": 25, "cx": 90, "cy": 40},
    {"id": 1004, "class": "LISTBOX", "style": "LBS_EXTENDEDSEL | WS_TABSTOP", "x": 100, "y": 25, "cx": 90, "cy": 40},
    {"id": 1005, "class": "EDIT", "style": "WS_TABSTOP", "x": 5, "y": 70, "cx": 90, "cy": 14},
    {"id": 1006, "class": "EDIT", "style": "WS_TABSTOP", "x": 100, "y": 70, "cx": 90, "cy": 14}
  ]})";

// A modeless dialog of the template above, in a resource module of its own.
class DlgUtils : public ::testing::Test {
 protected:
  void SetUp() override {
    mFolder.writeBytes("templates/700.json", kTemplateText);
    mModule = krv::win::ResourceModules::add(L"dlg-utils-tests", mFolder.path());
    mPrevious = AfxGetResourceHandle();
    AfxSetResourceHandle(mModule);
    ASSERT_TRUE(mDialog.Create(kTemplate)) << krv::win::lastResourceError().text();
  }
  void TearDown() override {
    mDialog.DestroyWindow();
    AfxSetResourceHandle(mPrevious);
    krv::win::ResourceModules::remove(mModule);
    acad::destroyHostFrame();
  }
  CComboBox* combo(int id) { return dynamic_cast<CComboBox*>(mDialog.GetDlgItem(id)); }
  CListBox* list(int id) { return dynamic_cast<CListBox*>(mDialog.GetDlgItem(id)); }

  TempFolder mFolder;
  HINSTANCE mModule = nullptr;
  HINSTANCE mPrevious = nullptr;
  CDialog mDialog;
};

TEST_F(DlgUtils, FillComboReplacesTheItemsAndSelects) {
  ASSERT_TRUE(FillCombo(&mDialog, kEditCombo, {L"old"}, 0));
  ASSERT_TRUE(FillCombo(&mDialog, kEditCombo, {L"IPE", L"HEA", L"HEB"}, 1));
  CComboBox* box = combo(kEditCombo);
  ASSERT_EQ(box->GetCount(), 3) << "the old items are gone";
  EXPECT_EQ(box->itemText(0), L"IPE");
  EXPECT_EQ(box->GetCurSel(), 1);
  EXPECT_EQ(box->GetWindowText(), L"HEA") << "the edit field shows the selection";

  ASSERT_TRUE(FillCombo(box, {L"IPE", L"HEA"}, 5));
  EXPECT_EQ(box->GetCurSel(), CB_ERR) << "an index beyond the items selects nothing";
  EXPECT_EQ(box->GetWindowText(), L"");
}

TEST_F(DlgUtils, FillComboSelectsByPositionInASortingBox) {
  ASSERT_TRUE(FillCombo(&mDialog, kSortedList, {L"Zeta", L"Alpha", L"Mu"}, 0));
  EXPECT_EQ(combo(kSortedList)->itemText(0), L"Alpha");
  EXPECT_EQ(combo(kSortedList)->GetWindowText(), L"Alpha") << "the index is one of the filled box";
}

TEST_F(DlgUtils, FillListSelectsOneItemInEitherKindOfBox) {
  ASSERT_TRUE(FillList(&mDialog, kList, {L"a", L"b", L"c"}, 2));
  EXPECT_EQ(list(kList)->GetCount(), 3);
  EXPECT_EQ(list(kList)->GetCurSel(), 2);

  ASSERT_TRUE(FillList(&mDialog, kMultiList, {L"a", L"b", L"c"}, -1));
  ASSERT_TRUE(FillList(&mDialog, kMultiList, {L"x", L"y"}, 1));
  EXPECT_EQ(list(kMultiList)->GetCount(), 2);
  EXPECT_EQ(list(kMultiList)->GetSelCount(), 1);
  EXPECT_TRUE(list(kMultiList)->GetSel(1));
}

TEST_F(DlgUtils, FillingSomethingThatIsNoBoxFailsAndChangesNothing) {
  EXPECT_FALSE(FillCombo(&mDialog, kNoSuchControl, {L"a"}));
  EXPECT_FALSE(FillCombo(&mDialog, kList, {L"a"})) << "a list box is not a combo box";
  EXPECT_FALSE(FillList(&mDialog, kEditCombo, {L"a"}));
  EXPECT_FALSE(FillCombo(static_cast<CWnd*>(nullptr), kEditCombo, {L"a"}));
  CComboBox uncreated;
  EXPECT_FALSE(FillCombo(&uncreated, {L"a"}));
  EXPECT_EQ(list(kList)->GetCount(), 0);
}

TEST_F(DlgUtils, EnDisCtrlAndShowOrHideCtrlChangeTheNamedControls) {
  EXPECT_TRUE(EnDisCtrl(&mDialog, kFirstEdit, false));
  EXPECT_FALSE(mDialog.GetDlgItem(kFirstEdit)->IsWindowEnabled());
  EXPECT_TRUE(EnDisCtrl(&mDialog, {kFirstEdit, kSecondEdit}, true));
  EXPECT_TRUE(mDialog.GetDlgItem(kFirstEdit)->IsWindowEnabled());

  EXPECT_TRUE(ShowOrHideCtrl(&mDialog, {kList, kMultiList}, 0));
  EXPECT_FALSE(mDialog.GetDlgItem(kList)->GetStyle() & WS_VISIBLE);
  EXPECT_FALSE(mDialog.GetDlgItem(kMultiList)->GetStyle() & WS_VISIBLE);
  EXPECT_TRUE(ShowOrHideCtrl(&mDialog, kList, 5)) << "any value but 0 shows";
  EXPECT_TRUE(mDialog.GetDlgItem(kList)->GetStyle() & WS_VISIBLE);

  EXPECT_FALSE(EnDisCtrl(&mDialog, {kFirstEdit, kNoSuchControl}, false))
      << "one control is missing";
  EXPECT_FALSE(mDialog.GetDlgItem(kFirstEdit)->IsWindowEnabled()) << "the others still change";
  EXPECT_FALSE(ShowOrHideCtrl(nullptr, kList, 0));
}

TEST_F(DlgUtils, DisablingOrHidingTheFocusedControlMovesTheFocusOn) {
  mDialog.ShowWindow(SW_SHOW);
  mDialog.GetDlgItem(kFirstEdit)->SetFocus();
  ASSERT_TRUE(EnDisCtrl(&mDialog, kFirstEdit, false));
  EXPECT_EQ(CWnd::GetFocus(), mDialog.GetDlgItem(kSecondEdit))
      << "the next tab stop takes the keyboard";

  ASSERT_TRUE(ShowOrHideCtrl(&mDialog, kSecondEdit, 0));
  EXPECT_EQ(CWnd::GetFocus(), mDialog.GetDlgItem(kEditCombo))
      << "tab order wraps to the first control";

  for (int id : {kEditCombo, kSortedList, kList, kMultiList})
    ASSERT_TRUE(EnDisCtrl(&mDialog, id, false));
  EXPECT_EQ(CWnd::GetFocus(), &mDialog) << "with no tab stop left the dialog keeps the keyboard";
}

TEST_F(DlgUtils, DialogsAreOwnedByTheWindowThePersonWorksIn) {
  CWnd* host = adsw_acadMainWnd();
  ASSERT_TRUE(IsWindow(host));
  EXPECT_EQ(getDlgOwner(), host) << "nothing has the focus: the host's main window";

  mDialog.ShowWindow(SW_SHOW);
  mDialog.GetDlgItem(kFirstEdit)->SetFocus();
  EXPECT_EQ(getDlgOwner(), &mDialog) << "the top-level window of the focused control";

  mDialog.EnableWindow(FALSE);  // as while a modal dialog it owns runs
  EXPECT_EQ(getDlgOwner(), host);
}

TEST_F(DlgUtils, SafeSizeIsTheDesignedSizeWithinTheScreen) {
  int width = 500, height = 400;
  ASSERT_TRUE(getSafeDlgSize(&mDialog, width, height));
  EXPECT_EQ(width, krv::win::dialogUnitsToPixelsX(200));
  EXPECT_EQ(height, krv::win::dialogUnitsToPixelsY(150));

  mFolder.writeBytes(
      "templates/701.json",
      R"({"id": 701, "caption": "Huge", "style": "WS_POPUP", "cx": 30000, "cy": 20, "controls": []})");
  ASSERT_TRUE(getSafeDlgSize(701, width, height));
  EXPECT_EQ(width, krv::win::screenRect().Width()) << "never wider than the screen";
  EXPECT_EQ(height, krv::win::dialogUnitsToPixelsY(20));
}

TEST_F(DlgUtils, SafeSizeKeepsTheDefaultWithoutAReadableTemplate) {
  mFolder.writeBytes("templates/702.json", "{ not a template");
  for (UINT id : {702u, 703u}) {
    int width = 500, height = 400;
    EXPECT_FALSE(getSafeDlgSize(id, width, height)) << id;
    EXPECT_EQ(width, 500);
    EXPECT_EQ(height, 400);
  }
  int width = 500, height = 400;
  EXPECT_FALSE(getSafeDlgSize(static_cast<const CDialog*>(nullptr), width, height));
}

TEST_F(DlgUtils, SafeSizeFindsATemplateOfTheResourceChain) {
  AFX_EXTENSION_MODULE extension;
  ASSERT_TRUE(AfxInitExtensionModule(extension, mModule));
  new CDynLinkLibrary(extension);
  AfxSetResourceHandle(AfxGetInstanceHandle());
  int width = 0, height = 0;
  EXPECT_TRUE(getSafeDlgSize(kTemplate, width, height)) << "the host's module is current";
  EXPECT_EQ(width, krv::win::dialogUnitsToPixelsX(200));
  AfxTermExtensionModule(extension);
}

}  // namespace
