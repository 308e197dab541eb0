#include "designer/krv_designer_control.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "platform/core/krv_settings.h"
#include "platform/core/properties_list.h"
#include "platform/core/temp_folder_for_tests.h"
#include "platform/win/button.h"
#include "platform/win/combo_box.h"
#include "platform/win/edit.h"
#include "platform/win/wnd.h"

namespace {

Krv_DesignerControl ofType(int type) {
  Krv_DesignerControl c;
  c.mType = static_cast<Krv_ControlType>(type);
  return c;
}

TEST(DesignerControlKinds, TypesMapToWindowClassesAndStyles) {
  const Krv_DesignerControl fresh;
  EXPECT_EQ(fresh.mType, ctText);
  EXPECT_FALSE(fresh.mReadOnly);
  EXPECT_EQ(fresh.mResId, 0);
  EXPECT_EQ(fresh.mTabOrder, 0);
  EXPECT_EQ(fresh.mBottomRightY, 0.0);

  EXPECT_STREQ(Krv_DesignerControl::className(Krv_DesignerControl::kindOf(ctText)), L"STATIC");
  EXPECT_STREQ(Krv_DesignerControl::className(Krv_DesignerControl::kindOf(ctGroupBox)), L"BUTTON");
  EXPECT_STREQ(Krv_DesignerControl::className(Krv_DesignerControl::kindOf(ctBoltData1)),
               L"COMBOBOX");
  EXPECT_STREQ(Krv_DesignerControl::className(Krv_DesignerControl::kindOf(ctBoltData2)), L"EDIT");
  EXPECT_STREQ(Krv_DesignerControl::className(ckScrollBar), L"SCROLLBAR");
  EXPECT_STREQ(Krv_DesignerControl::className(ckListBox), L"LISTBOX");
  // Types outside 0..30 are texts.
  EXPECT_EQ(Krv_DesignerControl::kindOf(31), ckStatic);
  EXPECT_EQ(Krv_DesignerControl::kindOf(-1), ckStatic);
  EXPECT_EQ(Krv_DesignerControl::addedStyle(31), 0u);

  int buttons = 0, edits = 0, combos = 0;
  for (int t = 0; t < kDesignerControlTypeCount; ++t) {
    const Krv_ControlKind k = Krv_DesignerControl::kindOf(t);
    buttons += k == ckButton;
    edits += k == ckEdit;
    combos += k == ckComboBox;
    EXPECT_EQ(Krv_DesignerControl::addedExStyle(t) == WS_EX_CLIENTEDGE, k == ckEdit) << t;
    if (k == ckComboBox) {
      EXPECT_TRUE(Krv_DesignerControl::addedStyle(t) & WS_VSCROLL) << t;
    }
  }
  EXPECT_EQ(buttons, 10);
  EXPECT_EQ(edits, 13);
  EXPECT_EQ(combos, 7);

  EXPECT_EQ(Krv_DesignerControl::addedStyle(ctVarCombo),
            CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL);
  EXPECT_EQ(Krv_DesignerControl::addedStyle(ctProfRotation),
            CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL);
  EXPECT_EQ(Krv_DesignerControl::addedStyle(ctCutCombo), CBS_DROPDOWNLIST | WS_VSCROLL);
  EXPECT_EQ(Krv_DesignerControl::addedStyle(ctBoltPatternCount), ES_MULTILINE | ES_AUTOVSCROLL);
  EXPECT_EQ(Krv_DesignerControl::addedStyle(ctArrayEntry), ES_AUTOHSCROLL);
  EXPECT_EQ(Krv_DesignerControl::addedStyle(ctGroupBox), BS_GROUPBOX);
  EXPECT_EQ(Krv_DesignerControl::addedStyle(ctFlexButton),
            BS_AUTOCHECKBOX | BS_ICON | BS_VCENTER | BS_PUSHLIKE);
  EXPECT_TRUE(Krv_DesignerControl::isTypeBoltCount(4));
  EXPECT_TRUE(Krv_DesignerControl::isTypeBoltCount(5));
  EXPECT_FALSE(Krv_DesignerControl::isTypeBoltCount(6));
}

TEST(DesignerControlExtList, FlexButtonPartsSplitAndMerge) {
  Krv_DesignerControl c = ofType(ctFlexButton);
  c.mFlexPart3 = L"old";
  c.mFlexPart4 = L"old";
  EXPECT_TRUE(c.setSplitExtComboList(L"G;A"));
  EXPECT_EQ(c.mFlexGroup, L"G");
  EXPECT_EQ(c.mFlexPart2, L"A");
  EXPECT_EQ(c.mFlexPart3, L"");
  EXPECT_EQ(c.mFlexPart4, L"");
  EXPECT_EQ(c.getMergedExtComboList(), L"G;A;;");

  c.setSplitExtComboList(L"1;2;3;4;5;6");
  EXPECT_EQ(c.getMergedExtComboList(), L"1;2;3;4");
  EXPECT_EQ(c.mComboList, L"");
}

TEST(DesignerControlExtList, CellButtonsTakeFiveParts) {
  for (int type : {ctCellButtonFixed, ctCellButtonLinked}) {
    Krv_DesignerControl c = ofType(type);
    c.mComboList = L"stale";
    c.setSplitExtComboList(L"cell;-a;b;2.5;extra;ignored");
    EXPECT_EQ(c.mExtPart1, L"cell");
    EXPECT_EQ(c.mExtPart2, L"-a");
    EXPECT_EQ(c.mExtPart3, L"b");
    EXPECT_EQ(c.mExtPart4, L"2.5");
    EXPECT_EQ(c.mComboList, L"extra");
    EXPECT_EQ(c.getMergedExtComboList(), L"cell;-a;b;2.5;extra");
    c.setSplitExtComboList(L"only");
    EXPECT_EQ(c.mExtPart1, L"only");
    EXPECT_EQ(c.mComboList, L"");
    EXPECT_EQ(c.getMergedExtComboList(), L"only;;;;");
  }
}

TEST(DesignerControlExtList, OtherTypesKeepTheWholeText) {
  Krv_DesignerControl c = ofType(ctVarEdit);
  c.mExtPart2 = L"x";
  c.setSplitExtComboList(L"a;b");
  EXPECT_EQ(c.mComboList, L"a;b");
  EXPECT_EQ(c.mExtPart2, L"");
  EXPECT_EQ(c.getMergedExtComboList(), L"a;b");
}

TEST(DesignerControlPropList, RoundTripsUnderIndexedKeys) {
  Krv_DesignerControl c = ofType(ctFlexButton);
  c.mTopLeftX = 0.1;
  c.mTopLeftY = 0.25;
  c.mBottomRightX = 0.3;
  c.mBottomRightY = 1.0 / 3.0;
  c.mContents = L"var";
  c.setSplitExtComboList(L"G;A;B;C");
  c.mResId = 33005;
  c.mReadOnly = true;
  c.mComboItems.append(L"item");

  Krv_PropertiesList list;
  c.setToPropList(list, 12);
  ASSERT_EQ(list.length(), 7);
  EXPECT_EQ(list.nameAt(0), L"type12");
  EXPECT_EQ(list.nameAt(1), L"topLeftX12");
  EXPECT_EQ(list.nameAt(6), L"comboList12");

  Krv_DesignerControl back;
  EXPECT_TRUE(back.getFromPropList(list, 12));
  EXPECT_EQ(back.mType, ctFlexButton);
  EXPECT_EQ(back.mTopLeftX, 0.1);
  EXPECT_EQ(back.mBottomRightY, 1.0 / 3.0);
  EXPECT_EQ(back.mContents, L"var");
  EXPECT_EQ(back.mFlexPart4, L"C");
  // Identifiers, the read-only flag and direct items are not stored.
  EXPECT_EQ(back.mResId, 0);
  EXPECT_FALSE(back.mReadOnly);
  EXPECT_TRUE(back.mComboItems.isEmpty());

  Krv_DesignerControl none;
  EXPECT_FALSE(none.getFromPropList(list, 1));
}

TEST(DesignerControlPropList, BadValuesLeaveDefaultsAndUnknownTypesStay) {
  Krv_PropertiesList list;
  list.setProperty(L"type0", 77);
  list.setProperty(L"topLeftX0", L"not a number");
  list.setProperty(L"topLeftY0", std::nan(""));
  list.setProperty(L"bottomRightX0", 2);  // an int reads as a factor
  list.setProperty(L"contents0", 5);      // a number is no text
  Krv_DesignerControl c;
  EXPECT_TRUE(c.getFromPropList(list, 0));
  EXPECT_EQ(static_cast<int>(c.mType), 77);
  EXPECT_EQ(c.kind(), ckStatic);
  EXPECT_EQ(c.mTopLeftX, 0.0);
  EXPECT_EQ(c.mTopLeftY, 0.0);
  EXPECT_EQ(c.mBottomRightX, 2.0);
  EXPECT_EQ(c.mContents, L"");
}

TEST(DesignerControlItems, ItemFileIsReadOnlyWhenItExists) {
  TempFolder dir;
  dir.writeBytes("items.txt", "one\ntwo\n");
  Krv_DesignerControl c = ofType(ctVarCombo);
  Krv_StringArray items{L"kept"};
  EXPECT_FALSE(c.getComboItemsFromFile(items));
  c.mComboList = dir.text("missing.txt");
  EXPECT_FALSE(c.getComboItemsFromFile(items));
  ASSERT_EQ(items.length(), 1);
  c.mComboList = dir.text("items.txt");
  EXPECT_TRUE(c.getComboItemsFromFile(items));
  ASSERT_EQ(items.length(), 2);
  EXPECT_EQ(items[1], L"two");
}

// The sample designs name their item files relative to the library folder
// ("Dialog Templates\Dialog Design\EndPlate\BoltGrades.lst").
TEST(DesignerControlItems, ARelativeItemFileIsTakenFromTheLibraryFolder) {
  TempFolder library;
  library.writeBytes("Lists/Grades.lst", "4.6\n8.8\n10.9\n");
  TempFolder elsewhere;
  elsewhere.writeBytes("Grades.lst", "other\n");
  Krv_Settings::setLibDir(library.text());
  Krv_DesignerControl c = ofType(ctBoltData1);
  c.mComboList = L"Lists\\Grades.lst";
  Krv_StringArray items{L"kept"};
  EXPECT_EQ(c.comboItemFilePath(), library.text("Lists\\Grades.lst"));
  ASSERT_TRUE(c.getComboItemsFromFile(items));
  EXPECT_EQ(items, (Krv_StringArray{L"4.6", L"8.8", L"10.9"}));

  // An absolute name stays as it is, whatever the library folder.
  c.mComboList = elsewhere.text("Grades.lst");
  ASSERT_TRUE(c.getComboItemsFromFile(items));
  EXPECT_EQ(items, (Krv_StringArray{L"other"}));

  // A relative name missing below the library folder changes nothing.
  c.mComboList = L"Lists\\Missing.lst";
  EXPECT_FALSE(c.getComboItemsFromFile(items));
  EXPECT_EQ(items, (Krv_StringArray{L"other"}));
  Krv_Settings::setLibDir(L"");
}

TEST(DesignerControlWindows, AccessorsAnswerOnlyForTheirTypes) {
  CWnd dialog;
  ASSERT_TRUE(dialog.Create(L"#32770", L"", WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0));
  std::vector<std::unique_ptr<CWnd>> children;
  const auto add = [&](const wchar_t* cls, int id) {
    children.push_back(krv::win::makeWindowObject(cls));
    ASSERT_TRUE(children.back()->Create(cls, L"", WS_CHILD, CRect(0, 0, 10, 10), &dialog, id));
  };
  add(L"COMBOBOX", 1);
  add(L"BUTTON", 2);
  add(L"EDIT", 3);

  Krv_DesignerControl c = ofType(ctVarCombo);
  c.mResId = 1;
  CWnd* window = nullptr;
  EXPECT_TRUE(c.getCtrlPtr(&dialog, window));
  EXPECT_EQ(window, dialog.GetDlgItem(1));
  EXPECT_FALSE(c.getCtrlPtr(nullptr, window));
  EXPECT_EQ(window, nullptr);
  EXPECT_NE(c.getComboPtr(&dialog), nullptr);
  for (int type : {ctBoltData1, ctTabListCombo, ctCutCombo}) {
    c.mType = static_cast<Krv_ControlType>(type);
    EXPECT_EQ(c.getComboPtr(&dialog), nullptr) << type;
  }

  Krv_DesignerControl b = ofType(ctVarCheck);
  b.mResId = 2;
  EXPECT_NE(b.getButtonPtr(&dialog), nullptr);
  EXPECT_EQ(b.getEditPtr(&dialog), nullptr);
  b.mResId = 0;
  EXPECT_EQ(b.getButtonPtr(&dialog), nullptr);

  Krv_DesignerControl e = ofType(ctArrayField3);
  e.mResId = 3;
  EXPECT_NE(e.getEditPtr(&dialog), nullptr);
  e.mResId = 4;
  EXPECT_EQ(e.getEditPtr(&dialog), nullptr);
  for (auto& child : children) child->DestroyWindow();
  dialog.DestroyWindow();
}

}  // namespace
