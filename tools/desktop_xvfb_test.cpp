// The desktop as a person starts it: in a real X server (xvfb-run), driven
// by a script, and without any display.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "tools/exit_codes.h"
#include "tools/launchers.h"
#include "tools/program_run_test_support.h"

namespace krv::tools {
namespace {

namespace fs = std::filesystem;
using test::korvane;
using test::quoted;

bool haveXvfbRun() { return std::system("command -v xvfb-run >/dev/null 2>&1") == 0; }

// Runs `korvane desktop` with the script in a fresh X server of 1280 x 1024,
// on Qt's X11 platform (the offscreen one that tests in this process asked
// for is not passed on). Servers are looked for from a number of this
// process, so that tests run side by side do not race for the same one.
test::ProgramRun desktopInXvfb(const fs::path& script) {
  const std::string first = std::to_string(100 + ::getpid() % 800);
  return korvane("desktop --script " + quoted(script), "",
                 "env -u QT_QPA_PLATFORM timeout 120 xvfb-run -a -n " + first +
                     " -s '-screen 0 1280x1024x24'");
}

class DesktopXvfbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("korvane-xvfb-test-" + std::to_string(::getpid()));
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }
  fs::path write(const std::string& name, const std::string& text) {
    test::writeBytes(folder / name, text);
    return folder / name;
  }
  fs::path folder;
};

TEST_F(DesktopXvfbTest, WithoutADisplayItSaysHowToGetOne) {
  const auto run = korvane("desktop", "unset DISPLAY WAYLAND_DISPLAY");
  EXPECT_EQ(run.exitCode, kExitFailed) << run.output;
  EXPECT_NE(run.output.find("no display"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("xvfb-run -a korvane desktop"), std::string::npos) << run.output;
}

TEST_F(DesktopXvfbTest, FormulaWindowOpensFromTheMenuAndTheScreenShowsIt) {
  if (!haveXvfbRun()) GTEST_SKIP() << "xvfb-run is not installed";
  const fs::path sheet =
      fs::path(KRV_SOURCE_DIR) / "examples" / "library" / "Connection Standards" / "EndPlate.vts";
  const fs::path shot = folder / "formula.png";
  const fs::path script = write("formula.txt",
                                "resize 900 640\n"
                                "files \"" +
                                    sheet.string() +
                                    "\"\n"
                                    "menu Tools \"Formula window\"\n"
                                    "wait 300\n"
                                    "screenshot \"" +
                                    shot.string() +
                                    "\"\n"
                                    "click CANCEL\n"
                                    "quit\n");

  const auto run = desktopInXvfb(script);
  ASSERT_EQ(run.exitCode, kExitOk) << run.output;
  const QImage image(QString::fromStdString(shot.string()));
  ASSERT_FALSE(image.isNull()) << run.output;
  EXPECT_EQ(image.width(), 900);
  EXPECT_EQ(image.height(), 640);
}

// The first launcher whose sample record is in examples/records.
bool sampleRecord(const Launcher*& launcher, fs::path& record) {
  for (const Launcher& l : launchers()) {
    const fs::path sample = fs::path(KRV_SOURCE_DIR) / "examples" / "records" / l.sampleRecord;
    if (!l.sampleRecord.empty() && fs::is_regular_file(sample)) {
      launcher = &l;
      record = sample;
      return true;
    }
  }
  return false;
}

TEST_F(DesktopXvfbTest, DialogFromTheMenuWritesItsRecordOnOk) {
  if (!haveXvfbRun()) GTEST_SKIP() << "xvfb-run is not installed";
  const Launcher* launcher = nullptr;
  fs::path sample;
  if (!sampleRecord(launcher, sample)) GTEST_SKIP() << "no launcher has a sample record";
  const fs::path record = folder / "record.json";
  fs::copy_file(sample, record);
  // An old time, so that the write back shows.
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365);
  fs::last_write_time(record, old);
  const fs::path shot = folder / "dialog.png";
  const std::string title = launcher->title.empty() ? launcher->name : launcher->title;
  const fs::path script = write("dialog.txt",
                                "resize 1000 700\n"
                                "files \"" +
                                    record.string() +
                                    "\"\n"
                                    "menu Dialogs \"" +
                                    title +
                                    "\"\n"
                                    "wait 300\n"
                                    "screenshot \"" +
                                    shot.string() +
                                    "\"\n"
                                    "click OK\n"
                                    "wait 200\n"
                                    "quit\n");
  const auto run = desktopInXvfb(script);
  ASSERT_EQ(run.exitCode, kExitOk) << run.output;
  EXPECT_GT(fs::last_write_time(record), old) << "the record was not written back";
  const QImage image(QString::fromStdString(shot.string()));
  ASSERT_FALSE(image.isNull()) << run.output;
  EXPECT_EQ(image.width(), 1000);
  EXPECT_EQ(image.height(), 700);
}

TEST_F(DesktopXvfbTest, SheetEditOpensTheEditorOnTheFileWhereAnEntryIsSaved) {
  if (!haveXvfbRun()) GTEST_SKIP() << "xvfb-run is not installed";
  const fs::path sheet = folder / "beams.vts";
  fs::copy_file(fs::path(KRV_SOURCE_DIR) / "examples" / "records" / "CDlgSSAsTool.vts", sheet);
  const fs::path shot = folder / "editor.png";
  // The sheet (1522) has E3 active; the entry goes there and Save (1503)
  // writes the file the editor was opened on.
  const fs::path script = write("edit.txt",
                                "resize 1000 700\n"
                                "type 1522 1234\n"
                                "key ENTER\n"
                                "click 1503\n"
                                "wait 200\n"
                                "screenshot \"" +
                                    shot.string() +
                                    "\"\n"
                                    "quit\n");
  const std::string first = std::to_string(100 + ::getpid() % 800);
  const auto run = korvane("sheet edit " + quoted(sheet) + " --script " + quoted(script), "",
                           "env -u QT_QPA_PLATFORM timeout 120 xvfb-run -a -n " + first +
                               " -s '-screen 0 1280x1024x24'");
  ASSERT_EQ(run.exitCode, kExitOk) << run.output;
  const std::string saved = test::readBytes(sheet);
  EXPECT_NE(saved.find("1234"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("B3*C3*D3"), std::string::npos) << "the entry replaced the formula";
  EXPECT_NE(saved.find("SUM(E1:E6)"), std::string::npos) << "the rest is kept";
  const QImage image(QString::fromStdString(shot.string()));
  ASSERT_FALSE(image.isNull()) << run.output;
  EXPECT_EQ(image.width(), 1000);
}

TEST_F(DesktopXvfbTest, SheetEditWithoutADisplayOrWithoutTheFileSaysWhy) {
  const fs::path sheet = fs::path(KRV_SOURCE_DIR) / "examples" / "records" / "CDlgSSAsTool.vts";
  auto run = korvane("sheet edit " + quoted(sheet), "unset DISPLAY WAYLAND_DISPLAY");
  EXPECT_EQ(run.exitCode, kExitFailed) << run.output;
  EXPECT_NE(run.output.find("korvane sheet edit: "), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("xvfb-run -a korvane desktop"), std::string::npos) << run.output;
  run = korvane("sheet edit " + quoted(folder / "missing.vts"), "unset DISPLAY WAYLAND_DISPLAY");
  EXPECT_EQ(run.exitCode, kExitInput) << run.output;
  EXPECT_NE(run.output.find("there is no sheet file"), std::string::npos) << run.output;
}

TEST_F(DesktopXvfbTest, AFailingStepEndsTheDesktopNamingTheLine) {
  if (!haveXvfbRun()) GTEST_SKIP() << "xvfb-run is not installed";
  const fs::path script = write("fail.txt", "# nothing is open to click in\nclick OK\nquit\n");
  const auto run = desktopInXvfb(script);
  EXPECT_EQ(run.exitCode, kExitFailed) << run.output;
  EXPECT_NE(run.output.find("fail.txt:2: no window is open"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace krv::tools
