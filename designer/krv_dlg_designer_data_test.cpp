#include "designer/krv_dlg_designer_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <utility>

#include "platform/acad/command_line.h"
#include "platform/core/krv_settings.h"
#include "platform/core/properties_list.h"
#include "platform/core/temp_folder_for_tests.h"
#include "platform/win/bitmap.h"
#include "platform/win/bmp_file.h"
#include "platform/win/wnd.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

Krv_DesignerControl control(int type, const wchar_t* contents, double left = 0, double top = 0,
                            double right = 0, double bottom = 0) {
  Krv_DesignerControl c;
  c.mType = static_cast<Krv_ControlType>(type);
  c.mContents = contents;
  c.mTopLeftX = left;
  c.mTopLeftY = top;
  c.mBottomRightX = right;
  c.mBottomRightY = bottom;
  return c;
}

// A library folder whose designer root folder holds the test's designs.
class DesignerDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Krv_Settings::setLibDir(lib.text());
    std::filesystem::create_directories(rootOs());
    ASSERT_TRUE(dialog.Create(L"#32770", L"", WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0));
  }
  void TearDown() override {
    dialog.DestroyWindow();
    Krv_Settings::setLibDir(L"");
  }
  std::filesystem::path rootOs() const { return lib.path() / "Dialog Templates" / "Dialog Design"; }
  Krv_String design(const char* relative) const {
    return getDesignerRootFolder() + Krv_String(relative);
  }
  void writeDesignText(const char* relative, const std::string& text) const {
    lib.writeBytes(std::string("Dialog Templates/Dialog Design/") + relative, text);
  }
  void writeBitmap(const char* relative, const krv::win::BitmapImage& image) const {
    ASSERT_TRUE(krv::win::writeBmpFile(rootOs() / relative, image).ok());
  }

  TempFolder lib;
  CWnd dialog;
};

TEST_F(DesignerDataTest, NewAndCopiedObjectsStartEmpty) {
  Krv_DlgDesignerData data;
  EXPECT_FALSE(data.mInitialized);
  EXPECT_EQ(data.getDlgPtr(), nullptr);
  EXPECT_FALSE(data.initialize(nullptr, 1, 2, 0, 0, 0, 0, 0, false));
  ASSERT_TRUE(data.initialize(&dialog, 33000, 33099, 0, 0, 0, 0, 0, false));
  EXPECT_EQ(data.getDlgPtr(), &dialog);
  data.append(control(ctVarEdit, L"a"));
  data.mName = L"x";

  Krv_DlgDesignerData copy(data);
  EXPECT_FALSE(copy.mInitialized);
  EXPECT_EQ(copy.getNrControls(), 0);
  EXPECT_EQ(copy.mName, L"");
  Krv_DlgDesignerData assigned;
  assigned = data;
  EXPECT_EQ(assigned.getNrControls(), 0);
  EXPECT_EQ(assigned.mLastResId, 0);
}

TEST_F(DesignerDataTest, IdentifiersAreTheLowestFreeOfTheRange) {
  Krv_DlgDesignerData data;
  ASSERT_TRUE(data.initialize(&dialog, 33000, 33099, 0, 0, 0, 0, 0, false));
  EXPECT_EQ(data.append(control(ctText, L"a")), 33000);
  EXPECT_EQ(data.append(control(ctText, L"b")), 33001);
  EXPECT_EQ(data.append(control(ctText, L"c")), 33002);
  EXPECT_TRUE(data.removeControl(1));
  EXPECT_FALSE(data.removeControl(2));
  EXPECT_FALSE(data.removeControl(-1));
  EXPECT_EQ(data.append(control(ctText, L"d")), 33001);
  EXPECT_EQ(data.getControl(2)->mContents, L"d");
  EXPECT_EQ(data.getControlFromRes(33002)->mContents, L"c");
  EXPECT_EQ(data.getControlFromRes(0), nullptr);
  EXPECT_EQ(data.getControl(3), nullptr);
  EXPECT_EQ(data.getControlWrite(-1), nullptr);

  // 101 controls in a range of 100: the last gets no identifier.
  Krv_DlgDesignerData full;
  ASSERT_TRUE(full.initialize(&dialog, 33000, 33099, 0, 0, 0, 0, 0, false));
  for (int i = 0; i < 100; ++i) EXPECT_EQ(full.append(control(ctText, L"")), 33000 + i);
  EXPECT_EQ(full.append(control(ctText, L"last")), 0);
  EXPECT_EQ(full.getNrControls(), 101);
}

TEST_F(DesignerDataTest, DesignRoundTripsWithFreshIdentifiers) {
  Krv_DlgDesignerData data;
  ASSERT_TRUE(data.initialize(&dialog, 33000, 33099, 0, 0, 0, 0, 0, false));
  data.append(control(ctVarEdit, L"width", 0.1, 0.2, 0.3, 0.25));
  Krv_DesignerControl flex = control(ctFlexButton, L"flexVar");
  flex.setSplitExtComboList(L"G;A");
  data.append(flex);
  data.append(control(ctVarEdit, L"height"));
  data.getControlWrite(0)->mReadOnly = true;
  ASSERT_TRUE(data.writeToFile(design("Beam\\Endplate.txt")));
  EXPECT_EQ(data.mName, L"Beam\\Endplate");

  Krv_DlgDesignerData back;
  ASSERT_TRUE(back.initialize(&dialog, 33050, 33099, 0, 0, 0, 0, 0, false));
  ASSERT_TRUE(back.readFromFile(design("Beam\\Endplate.txt"), false));
  EXPECT_EQ(back.mName, L"Beam\\Endplate");
  ASSERT_EQ(back.getNrControls(), 3);
  EXPECT_EQ(back.getControl(0)->mResId, 33050);
  EXPECT_EQ(back.getControl(2)->mResId, 33052);
  EXPECT_FALSE(back.getControl(0)->mReadOnly);
  EXPECT_EQ(back.getControl(0)->mBottomRightY, 0.25);
  EXPECT_EQ(back.getControl(1)->mFlexGroup, L"G");
  EXPECT_EQ(back.getControl(1)->getMergedExtComboList(), L"G;A;;");

  Krv_StringArray names;
  ASSERT_TRUE(GetImageDlgCtrlNames(design("Beam\\Endplate.txt"), names));
  EXPECT_EQ(names, (Krv_StringArray{L"width", L"height"}));
  EXPECT_FALSE(GetImageDlgCtrlNames(design("none.txt"), names));
  EXPECT_TRUE(names.isEmpty());
}

TEST_F(DesignerDataTest, PathsOutsideTheRootFolderAreRefused) {
  Krv_String name;
  EXPECT_TRUE(Krv_DlgDesignerData::getNameFromFile(design("Beam/Endplate.txt"), name));
  EXPECT_EQ(name, L"Beam\\Endplate");
  Krv_String upper = getDesignerRootFolder().upper() + L"Col.txt";
  EXPECT_TRUE(Krv_DlgDesignerData::getNameFromFile(upper, name));
  EXPECT_EQ(name, L"Col");
  EXPECT_FALSE(Krv_DlgDesignerData::getNameFromFile(lib.text("elsewhere.txt"), name));

  Krv_DlgDesignerData data;
  data.append(control(ctText, L"a"));
  data.mName = L"kept";
  const krv::base::Status status = data.writeDesign(lib.text("elsewhere.txt"));
  EXPECT_FALSE(status.ok());
  EXPECT_NE(status.message().find("designer folder"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(lib.path() / "elsewhere.txt"));
  EXPECT_EQ(data.mName, L"kept");

  lib.writeBytes("elsewhere.txt", "Krv properties version 1\ni\tnrOfControls\t0\n");
  EXPECT_FALSE(data.readFromFile(lib.text("elsewhere.txt"), false));
  EXPECT_FALSE(data.readFromFile(design("missing.txt"), false));
  EXPECT_EQ(data.getNrControls(), 1);
  EXPECT_EQ(data.mName, L"kept");
}

TEST_F(DesignerDataTest, SavingUnderANewNameCopiesTheBitmap) {
  const krv::win::BitmapImage red(4, 3, RGB(255, 0, 0));
  writeBitmap("Old.bmp", red);
  writeDesignText("Old.txt", "Krv properties version 1\ni\tnrOfControls\t0\n");
  Krv_DlgDesignerData data;
  ASSERT_TRUE(data.readFromFile(design("Old.txt"), true));
  EXPECT_EQ(data.mImageWidth, 4);

  // An existing bitmap under the new name is replaced.
  writeBitmap("New.bmp", krv::win::BitmapImage(2, 2, RGB(0, 0, 255)));
  ASSERT_TRUE(data.writeToFile(design("New.txt")));
  EXPECT_EQ(lib.readBytes("Dialog Templates/Dialog Design/New.bmp"),
            lib.readBytes("Dialog Templates/Dialog Design/Old.bmp"));
  EXPECT_EQ(data.mName, L"New");

  // Saving under the same name leaves its bitmap as it is.
  const std::string before = lib.readBytes("Dialog Templates/Dialog Design/New.bmp");
  ASSERT_TRUE(data.writeToFile(design("New.txt")));
  EXPECT_EQ(lib.readBytes("Dialog Templates/Dialog Design/New.bmp"), before);
}

TEST_F(DesignerDataTest, AbsurdDesignFilesLoadWhatTheyHold) {
  Krv_DlgDesignerData data;
  ASSERT_TRUE(data.initialize(&dialog, 33000, 33099, 0, 0, 0, 0, 0, false));

  writeDesignText("Empty.txt", "Krv properties version 1\ni\tnrOfControls\t0\n");
  ASSERT_TRUE(data.readFromFile(design("Empty.txt"), false));
  EXPECT_EQ(data.getNrControls(), 0);

  writeDesignText("Huge.txt",
                  "Krv properties version 1\ni\tnrOfControls\t1000000000\n"
                  "i\ttype0\t2\ns\tcontents0\ta\n"
                  "i\ttype1\t99\nd\tbottomRightY1\t-0.5\n");
  ASSERT_TRUE(data.readFromFile(design("Huge.txt"), false));
  ASSERT_EQ(data.getNrControls(), 2);
  EXPECT_EQ(data.getControl(0)->mContents, L"a");
  EXPECT_EQ(static_cast<int>(data.getControl(1)->mType), 99);
  EXPECT_EQ(data.getControl(1)->kind(), ckStatic);
  EXPECT_EQ(data.getControl(1)->mBottomRightY, -0.5);

  writeDesignText("Negative.txt", "Krv properties version 1\ni\tnrOfControls\t-5\ni\ttype0\t2\n");
  ASSERT_TRUE(data.readFromFile(design("Negative.txt"), false));
  EXPECT_EQ(data.getNrControls(), 0);

  writeDesignText("Text.txt", "Krv properties version 1\ns\tnrOfControls\tmany\ni\ttype0\t2\n");
  ASSERT_TRUE(data.readFromFile(design("Text.txt"), false));
  EXPECT_EQ(data.getNrControls(), 0);

  // A file that is no properties list changes nothing and says why.
  data.append(control(ctText, L"keep"));
  writeDesignText("Junk.txt", "\x01garbage\n");
  const krv::base::Status status = data.readDesign(design("Junk.txt"), false);
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(data.getNrControls(), 1);
  EXPECT_EQ(data.mName, L"Text");
}

TEST_F(DesignerDataTest, SavedFuzzInputsLoadAndSaveAgainUnchanged) {
  // The fuzzer's seeds and what it found: each loads what it holds, and
  // what loads writes and reads again to the same controls.
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(
           std::filesystem::path(KRV_TESTDATA_DIR) / "fuzz_design")) {
    SCOPED_TRACE(entry.path().filename().string());
    ++files;
    std::filesystem::copy_file(entry.path(), rootOs() / "In.txt",
                               std::filesystem::copy_options::overwrite_existing);
    Krv_DlgDesignerData data;
    data.mFirstResId = 33000;
    data.mLastResId = 33099;
    if (!data.readFromFile(design("In.txt"), false)) continue;
    EXPECT_LE(data.getNrControls(), Krv_DlgDesignerData::kMaxControlsRead);
    ASSERT_TRUE(data.writeToFile(design("Again.txt")));
    Krv_DlgDesignerData again;
    ASSERT_TRUE(again.readFromFile(design("Again.txt"), false));
    ASSERT_EQ(again.getNrControls(), data.getNrControls());
    for (int i = 0; i < data.getNrControls(); ++i) {
      const Krv_DesignerControl &a = *data.getControl(i), &b = *again.getControl(i);
      EXPECT_EQ(a.mType, b.mType);
      EXPECT_EQ(a.mContents, b.mContents);
      EXPECT_EQ(a.getMergedExtComboList(), b.getMergedExtComboList());
      // NaN stays NaN; every other factor reads back exactly.
      for (auto [x, y] : {std::pair{a.mTopLeftX, b.mTopLeftX},
                          {a.mTopLeftY, b.mTopLeftY},
                          {a.mBottomRightX, b.mBottomRightX},
                          {a.mBottomRightY, b.mBottomRightY}})
        EXPECT_TRUE(x == y || (std::isnan(x) && std::isnan(y))) << x << " " << y;
    }
  }
  EXPECT_GE(files, 3);
}

TEST_F(DesignerDataTest, WhitePixelsAreTransparent) {
  krv::win::BitmapImage image(3, 2, kWhite);
  image.setPixel(0, 0, RGB(10, 20, 30));
  image.setPixel(2, 1, RGB(254, 255, 255));
  writeBitmap("Pic.bmp", image);

  Krv_DlgDesignerData data;
  int w = -1, h = -1;
  data.getImageSize(w, h);
  EXPECT_EQ(w, 0);
  ASSERT_TRUE(data.attachBitmap(design("Pic.bmp")));
  EXPECT_EQ(data.mImageWidth, 3);
  EXPECT_EQ(data.mImageHeight, 2);
  data.getImageSize(w, h);
  EXPECT_EQ(w, 0) << "not before initialize";
  ASSERT_TRUE(data.initialize(&dialog, 1, 1, 0, 0, 0, 0, 0, false));
  data.getImageSize(w, h);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2);

  const krv::win::BitmapImage& shown = data.mBitmap->image();
  const krv::win::BitmapImage& mask = data.mMaskBitmap->image();
  EXPECT_EQ(shown.pixel(0, 0), RGB(10, 20, 30));
  EXPECT_EQ(mask.pixel(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(shown.pixel(1, 0), RGB(0, 0, 0));
  EXPECT_EQ(mask.pixel(1, 0), kWhite);
  EXPECT_EQ(shown.pixel(2, 1), RGB(254, 255, 255));
  EXPECT_EQ(mask.pixel(2, 1), RGB(0, 0, 0));

  // Pure white: only the dialog shows through.
  writeBitmap("White.bmp", krv::win::BitmapImage(2, 2, kWhite));
  ASSERT_TRUE(data.attachBitmap(design("White.bmp")));
  for (COLORREF p : data.mBitmap->image().pixels()) EXPECT_EQ(p, RGB(0, 0, 0));
  for (COLORREF p : data.mMaskBitmap->image().pixels()) EXPECT_EQ(p, kWhite);

  // A missing file keeps the image; an unreadable one drops it.
  EXPECT_FALSE(data.attachBitmap(design("None.bmp")));
  EXPECT_EQ(data.mImageWidth, 2);
  EXPECT_NE(data.mBitmap, nullptr);
  writeDesignText("Bad.bmp", "BMnot really");
  EXPECT_FALSE(data.attachBitmap(design("Bad.bmp")));
  EXPECT_EQ(data.mImageWidth, 0);
  EXPECT_EQ(data.mBitmap, nullptr);
}

TEST_F(DesignerDataTest, ModuleImagesAreRelativeSortedNames) {
  writeDesignText("Column.txt", "");
  writeDesignText("Beam/Endplate.txt", "");
  writeDesignText("Beam/picture.bmp", "");
  writeDesignText("A10.txt", "");
  writeDesignText("A9.txt", "");
  Krv_StringArray names{L"stale"};
  getModuleImages(names);
  EXPECT_EQ(names, (Krv_StringArray{L"A9", L"A10", L"Beam\\Endplate", L"Column"}));

  Krv_Settings::setLibDir(lib.text("nowhere"));
  getModuleImages(names);
  EXPECT_TRUE(names.isEmpty());
}

TEST_F(DesignerDataTest, CoordinatesConvertThroughTheImageSize) {
  Krv_DlgDesignerData data;
  Krv_DesignerControl c;
  // No image yet: conversions give 0 instead of dividing by zero.
  data.setTopLeftX(c, 50);
  EXPECT_EQ(c.mTopLeftX, 0.0);
  EXPECT_EQ(data.pixelsToFactor(false, 10), 0.0);

  data.mImageWidth = 300;
  data.mImageHeight = 200;
  // A new control: top-left at (0.2, 0.2), 30 x 18 pixels.
  c.mTopLeftX = 0.2;
  c.mTopLeftY = 0.2;
  data.setBottomRightX(c, data.getTopLeftX(c) + 30);
  data.setBottomRightY(c, data.getTopLeftY(c) + 18);
  EXPECT_DOUBLE_EQ(c.mBottomRightX, 0.3);
  EXPECT_DOUBLE_EQ(c.mBottomRightY, 0.29);
  EXPECT_DOUBLE_EQ(data.getWidth(c), 30);
  EXPECT_DOUBLE_EQ(data.getHeight(c), 18);

  data.setWidth(c, 60);
  EXPECT_DOUBLE_EQ(c.mTopLeftX, 0.2);
  EXPECT_DOUBLE_EQ(data.getBottomRightX(c), 120);
  data.setHeight(c, 38);
  EXPECT_DOUBLE_EQ(c.mBottomRightY, 0.29);
  EXPECT_DOUBLE_EQ(data.getTopLeftY(c), 20);
}

TEST_F(DesignerDataTest, LeftMostControlSizesAndPrintedPositions) {
  Krv_DlgDesignerData data;
  data.mFirstResId = 1;
  data.mLastResId = 9;
  data.mImageWidth = 300;
  data.mImageHeight = 200;
  data.append(control(ctVarEdit, L"a", 0.5, 0.1, 0.6, 0.2));
  data.append(control(ctVarEdit, L"b", 0.2, 0.1, 0.3, 0.2));
  data.append(control(ctVarEdit, L"c", 0.2, 0.5, 0.3, 0.6));
  int index = -1;
  EXPECT_TRUE(data.findMostLeftCtrl(AcArray<int>{1, 3, 2}, index));
  EXPECT_EQ(index, 2) << "equal left edges: the earlier identifier wins";
  EXPECT_TRUE(data.findMostLeftCtrl(AcArray<int>{1}, index));
  EXPECT_EQ(index, 0);
  EXPECT_FALSE(data.findMostLeftCtrl(AcArray<int>{7, 0}, index));

  data.changeCtrlSize(0, true, 60);
  data.changeCtrlSize(0, false, 10);
  data.changeCtrlSize(5, true, 60);
  EXPECT_DOUBLE_EQ(data.getControl(0)->mBottomRightX, 0.7);
  EXPECT_DOUBLE_EQ(data.getControl(0)->mBottomRightY, 0.15);
  EXPECT_DOUBLE_EQ(data.getControl(0)->mTopLeftX, 0.5);

  acad::CommandLineCapture capture;
  data.removeControl(2);
  data.removeControl(1);
  data.printPositions();
  EXPECT_EQ(capture.text(),
            L"**** Control a ****\nLeft: 0.500000 - Right: 0.700000\n"
            L"Top: 0.100000 - Bottom: 0.150000\n********\n");
}

TEST_F(DesignerDataTest, TabOrderGoesRowByRowLeftToRight) {
  Krv_DlgDesignerData data;
  data.append(control(ctVarEdit, L"right", 0.5, 0.1, 0.6, 0.2));
  data.append(control(ctText, L"label", 0.0, 0.0, 0.1, 0.1));
  data.append(control(ctVarEdit, L"left", 0.1, 0.1, 0.2, 0.2));
  // Its top lies exactly on the leader's bottom: same row.
  data.append(control(ctVarCombo, L"onEdge", 0.3, 0.2, 0.4, 0.3));
  data.append(control(ctVarEdit, L"below", 0.0, 0.21, 0.1, 0.3));
  data.append(control(ctGroupBox, L"group", 0.0, 0.0, 1.0, 1.0));
  data.append(control(ctVarEdit, L"readOnly", 0.0, 0.5, 0.1, 0.6));
  data.getControlWrite(6)->mReadOnly = true;
  data.getControlWrite(6)->mTabOrder = 9;  // not a candidate: keeps its order
  data.append(control(ctVarEdit, L"tieLater", 0.9, 0.7, 0.95, 0.8));
  data.append(control(ctVarEdit, L"tieSame", 0.9, 0.7, 0.95, 0.8));
  // Below the search start of 100.0: still numbered, and sorting ends.
  data.append(control(ctVarEdit, L"farBelow", 0.0, 150.0, 0.1, 151.0));

  data.sortAllControls();
  const auto order = [&](int i) { return data.getControl(i)->mTabOrder; };
  EXPECT_EQ(order(2), 1);  // left
  EXPECT_EQ(order(3), 2);  // onEdge
  EXPECT_EQ(order(0), 3);  // right
  EXPECT_EQ(order(4), 4);  // below: a row of its own
  EXPECT_EQ(order(7), 5);  // equal left edges keep list order
  EXPECT_EQ(order(8), 6);
  EXPECT_EQ(order(9), 7);
  EXPECT_EQ(order(1), 0);
  EXPECT_EQ(order(5), 0);
  EXPECT_EQ(order(6), 9);

  int index = -1;
  EXPECT_TRUE(data.findCtrlWithTabOrder(2, index));
  EXPECT_EQ(index, 3);
  EXPECT_FALSE(data.findCtrlWithTabOrder(8, index));
  EXPECT_TRUE(data.containsEditableCtrls());
}

TEST_F(DesignerDataTest, FlexButtonGroups) {
  Krv_DlgDesignerData data;
  data.mFirstResId = 100;
  data.mLastResId = 199;
  const auto flex = [&](const wchar_t* contents, const wchar_t* parts) {
    Krv_DesignerControl c = control(ctFlexButton, contents);
    c.setSplitExtComboList(parts);
    return data.append(c);
  };
  flex(L"a", L"G1");
  data.append(control(ctVarEdit, L"edit"));
  flex(L"b", L"G2;x;p3");
  const int c = flex(L"c", L"G1;y;p3");
  Krv_DesignerControl notFlex = control(ctVarEdit, L"a");
  notFlex.mFlexGroup = L"G1";
  data.append(notFlex);

  Krv_StringArray groups;
  data.getFlexBtnsGroups(groups);
  EXPECT_EQ(groups, (Krv_StringArray{L"G1", L"G2"}));

  AcArray<int> buttons{7}, withPart3{7};
  EXPECT_TRUE(data.getFlexBtnsInGroup(L"G1", buttons, withPart3));
  EXPECT_EQ(buttons, (AcArray<int>{0, 3}));
  EXPECT_EQ(withPart3, (AcArray<int>{3}));
  EXPECT_TRUE(data.getFlexBtnsInGroup(L"", buttons, withPart3));
  EXPECT_TRUE(buttons.isEmpty());

  int index = -1;
  EXPECT_TRUE(data.findFlexButton(L"G1", L"c", index));
  EXPECT_EQ(index, 3);
  EXPECT_FALSE(data.findFlexButton(L"G2", L"c", index));
  Krv_StringArray vars;
  EXPECT_TRUE(data.getAllFlexVarsOfGroup(L"G1", vars));
  EXPECT_EQ(vars, (Krv_StringArray{L"a", L"c"}));
  EXPECT_FALSE(data.getAllFlexVarsOfGroup(L"G3", vars));

  Krv_String group, contents;
  EXPECT_TRUE(data.getFlexBtnGroupName(c, group, contents));
  EXPECT_EQ(group, L"G1");
  EXPECT_EQ(contents, L"c");
  EXPECT_FALSE(data.getFlexBtnGroupName(101, group, contents));  // the edit
}

}  // namespace
