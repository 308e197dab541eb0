// Reading designs for showing them: the controls are those the designer
// reads, from any folder, with warnings about the rest.
#include "tools/design_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/core/krv_settings.h"
#include "platform/core/temp_folder_for_tests.h"

namespace {

bool hasWarning(const krv::tools::DesignLoad& load, const std::string& part) {
  for (const std::string& w : load.warnings)
    if (w.find(part) != std::string::npos) return true;
  return false;
}

class DesignLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Krv_Settings::setLibDir(Krv_String(KRV_SOURCE_DIR "/examples/library/"));
    for (Krv_DlgDesignerData* d : {&shown, &read}) {
      d->mFirstResId = 33000;
      d->mLastResId = 33099;
    }
  }
  void TearDown() override { Krv_Settings::setLibDir(L""); }

  Krv_DlgDesignerData shown;
  Krv_DlgDesignerData read;
};

TEST_F(DesignLoaderTest, TheSamplesLoadAsTheDesignerReadsThem) {
  for (const wchar_t* name : {L"EndPlate\\General", L"EndPlate\\Bolts"}) {
    const Krv_String file = getDesignerRootFolder() + name + L".txt";
    const auto load = krv::tools::loadDesignForShow(file, shown);
    ASSERT_TRUE(load) << load.status().text();
    EXPECT_TRUE(load->warnings.empty()) << load->warnings.front();
    EXPECT_EQ(load->name, Krv_String(name));
    EXPECT_TRUE(load->bitmapLoaded);
    ASSERT_TRUE(read.readFromFile(file, true));
    ASSERT_EQ(shown.getNrControls(), read.getNrControls());
    for (int i = 0; i < read.getNrControls(); ++i) {
      const Krv_DesignerControl& a = *shown.getControl(i);
      const Krv_DesignerControl& b = *read.getControl(i);
      EXPECT_EQ(a.mType, b.mType) << i;
      EXPECT_EQ(a.mResId, b.mResId) << i;
      EXPECT_EQ(a.mTopLeftX, b.mTopLeftX) << i;
      EXPECT_EQ(a.mBottomRightY, b.mBottomRightY) << i;
      EXPECT_EQ(a.mContents, b.mContents) << i;
      EXPECT_EQ(a.getMergedExtComboList(), b.getMergedExtComboList()) << i;
    }
    int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    shown.getImageSize(w1, h1);
    read.getImageSize(w2, h2);
    EXPECT_EQ(w1, w2);
    EXPECT_EQ(h1, h2);
  }
}

TEST_F(DesignLoaderTest, KeysPastTheCountAreLeftOutAndAMissingCountLoadsNothing) {
  TempFolder dir;
  dir.writeBytes("Past.txt",
                 "Krv properties version 1\ni\tnrOfControls\t1\ni\ttype0\t2\n"
                 "d\tbottomRightX0\t0.5\nd\tbottomRightY0\t0.5\ni\ttype1\t2\ni\ttype2\t2\n"
                 "i\ttype02\t2\n");
  auto load = krv::tools::loadDesignForShow(dir.text("Past.txt"), shown);
  ASSERT_TRUE(load) << load.status().text();
  EXPECT_EQ(shown.getNrControls(), 1);
  EXPECT_EQ(load->name, L"Past");
  EXPECT_TRUE(hasWarning(*load, "the keys of controls 1 to 2 lie past the controls loaded (1)"));
  EXPECT_TRUE(hasWarning(*load, "control 0 lacks topLeftX0, topLeftY0, contents0, comboList0"));
  EXPECT_FALSE(hasWarning(*load, "has no area")) << "it spans 0 to 0.5";
  EXPECT_TRUE(hasWarning(*load, "there is no picture"));

  dir.writeBytes("NoCount.txt", "Krv properties version 1\ni\ttype0\t2\n");
  load = krv::tools::loadDesignForShow(dir.text("NoCount.txt"), shown);
  ASSERT_TRUE(load);
  EXPECT_EQ(shown.getNrControls(), 0) << "the designer loads no control either";
  EXPECT_TRUE(hasWarning(*load, "no nrOfControls"));
  EXPECT_TRUE(hasWarning(*load, "the keys of control 0 lie past the controls loaded (0)"));

  // A missing file changes nothing.
  EXPECT_FALSE(krv::tools::loadDesignForShow(dir.text("None.txt"), shown));
}

}  // namespace
