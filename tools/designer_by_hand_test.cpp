// A person builds the sample bolts page (EndPlate\Bolts) from its picture in
// the dialog designer with the mouse and keyboard: headless through a
// person script, and in the desktop under a real X server through a
// desktop script. The design saved in a library of the test's own must be
// the sample, control by control.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <filesystem>
#include <string>

#include "designer/krv_dlg_designer_data.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "tools/designer_steps_test_support.h"
#include "tools/exit_codes.h"
#include "tools/program_run_test_support.h"

namespace krv::tools {
namespace {

namespace fs = std::filesystem;
using test::korvane;
using test::quoted;

const fs::path kSampleLibrary = fs::path(KRV_SOURCE_DIR) / "examples" / "library";
const fs::path kDesignFolder = fs::path("Dialog Templates") / "Dialog Design";

bool haveXvfbRun() { return std::system("command -v xvfb-run >/dev/null 2>&1") == 0; }

// Reads design `name` (EndPlate\Bolts) of `library`, which is the library
// folder while it is read.
bool readDesign(const fs::path& library, const char* name, Krv_DlgDesignerData& design) {
  const Krv_String previous = Krv_Settings::libDir();
  Krv_Settings::setLibDir(krv::core::fromOsPath(library) + L"\\");
  const bool read =
      design.readFromFile(getDesignerRootFolder() + Krv_String(name) + L".txt", false);
  Krv_Settings::setLibDir(previous);
  return read;
}

class DesignerByHand : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("korvane-designer-by-hand-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    library = folder / "library";
    fs::create_directories(library);
    record = folder / "new-design.json";
    test::writeBytes(record, "{\"format\": \"korvane dialog design\", \"version\": 1}\n");
    ASSERT_TRUE(readDesign(kSampleLibrary, "EndPlate\\Bolts", sample));
    std::tie(width, height) = test::bmpSize(samplePicture());
    ASSERT_GT(width, 0);
  }
  void TearDown() override { fs::remove_all(folder); }

  fs::path samplePicture() const {
    return kSampleLibrary / kDesignFolder / "EndPlate" / "Bolts.bmp";
  }
  fs::path savedAs() const { return library / kDesignFolder / "EndPlate" / "Bolts.txt"; }

  // The design the person saved is the sample, and its picture is the
  // sample's picture.
  void expectTheSampleWasBuilt() {
    Krv_DlgDesignerData built;
    ASSERT_TRUE(readDesign(library, "EndPlate\\Bolts", built)) << "nothing saved at " << savedAs();
    test::expectSameDesign(sample, built, width, height);
    EXPECT_EQ(test::readBytes(savedAs().replace_extension(".bmp")),
              test::readBytes(samplePicture()));
  }

  fs::path folder, library, record;
  Krv_DlgDesignerData sample;
  int width = 0, height = 0;
};

TEST_F(DesignerByHand, APersonScriptBuildsTheBoltsPageFromItsPicture) {
  const std::string steps = test::designerSteps(sample, width, height, samplePicture(), savedAs(),
                                                test::StepsFor::PersonScript) +
                            "click OK\n";
  test::writeBytes(folder / "steps.txt", steps);
  const auto run = korvane("dialog CDlgDesigner --record " + quoted(record) + " --script " +
                               quoted(folder / "steps.txt") + " --library " + quoted(library),
                           "unset DISPLAY WAYLAND_DISPLAY");
  ASSERT_EQ(run.exitCode, kExitOk) << run.output;
  EXPECT_EQ(run.output.find("message box"), std::string::npos)
      << "the design was saved, so closing asks nothing: " << run.output;
  EXPECT_EQ(run.output.find("not played"), std::string::npos) << run.output;
  expectTheSampleWasBuilt();
  EXPECT_TRUE(fs::is_regular_file(kSampleLibrary / kDesignFolder / "EndPlate" / "Bolts.txt"));
}

// The hand-written demonstration, examples/scripts/build-bolts-page.desktop,
// run as its comment says, with the test's library in place of the one the
// script names.
TEST_F(DesignerByHand, TheDesktopScriptBuildsTheBoltsPageWithTheMouseInARealXServer) {
  if (!haveXvfbRun()) GTEST_SKIP() << "xvfb-run is not installed";
  const std::string demoLibrary = "/tmp/korvane-demo-library";
  std::string script = test::readBytes(fs::path(KRV_SOURCE_DIR) / "examples" / "scripts" /
                                       "build-bolts-page.desktop");
  ASSERT_NE(script.find(demoLibrary), std::string::npos);
  for (std::size_t at; (at = script.find(demoLibrary)) != std::string::npos;)
    script.replace(at, demoLibrary.size(), library.string());
  test::writeBytes(folder / "steps.desktop", script);
  const std::string first = std::to_string(100 + ::getpid() % 800);
  const auto run = korvane(
      "desktop --library " + quoted(library) + " --script " + quoted(folder / "steps.desktop"), "",
      "env -u QT_QPA_PLATFORM timeout 180 xvfb-run -a -n " + first +
          " -s '-screen 0 1280x1024x24'");
  ASSERT_EQ(run.exitCode, kExitOk) << run.output;
  expectTheSampleWasBuilt();
  const QImage shot(QString::fromStdString((library / "desktop-designer.png").string()));
  ASSERT_FALSE(shot.isNull()) << run.output;
  EXPECT_EQ(shot.width(), 1000);
  EXPECT_TRUE(fs::is_regular_file(kSampleLibrary / kDesignFolder / "EndPlate" / "Bolts.txt"));
}

}  // namespace
}  // namespace krv::tools
