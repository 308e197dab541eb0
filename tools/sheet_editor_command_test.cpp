// The spreadsheet editor run by `korvane dialog` and `korvane picture`: its
// record is the sheet file, which only the person's Save writes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tools/exit_codes.h"
#include "tools/program_run_test_support.h"

namespace {

namespace fs = std::filesystem;
using krv::tools::test::korvane;
using krv::tools::test::quoted;
using krv::tools::test::readBytes;
using krv::tools::test::writeBytes;

class SheetEditorCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("krv_editor_cmd_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(fs::path(KRV_SOURCE_DIR) / "examples/records/CDlgSSAsTool.vts", sheet());
  }
  void TearDown() override { fs::remove_all(folder); }
  fs::path sheet() const { return folder / "beams.vts"; }
  krv::tools::test::ProgramRun run(const std::string& steps) {
    writeBytes(folder / "steps.txt", steps);
    return korvane("dialog CDlgSSAsTool --record " + quoted(sheet()) + " --script " +
                       quoted(folder / "steps.txt"),
                   "unset DISPLAY WAYLAND_DISPLAY");
  }
  fs::path folder;
};

TEST_F(SheetEditorCommand, AnEntrySavedInTheWindowIsInTheFileAndClosingEndsTheRun) {
  const auto done =
      run("type 1522 999\n"
          "key ENTER\n"
          "click 1503      # Save\n"
          "close\n");
  ASSERT_EQ(done.exitCode, krv::tools::kExitOk) << done.output;
  EXPECT_NE(done.output.find("confirmed: the record was written"), std::string::npos)
      << done.output;
  const std::string saved = readBytes(sheet());
  EXPECT_NE(saved.find("999"), std::string::npos) << saved;
  EXPECT_NE(saved.find("SUM(E1:E6)"), std::string::npos);
}

TEST_F(SheetEditorCommand, UnsavedChangesAreDroppedWhenThePersonSaysNo) {
  const std::string before = readBytes(sheet());
  const auto done =
      run("type 1522 999\n"
          "key ENTER\n"
          "close\n"
          "answer NO \"Save the changes to beams.vts?\"\n");
  ASSERT_EQ(done.exitCode, krv::tools::kExitOk) << done.output;
  EXPECT_NE(done.output.find("nothing was written"), std::string::npos) << done.output;
  EXPECT_EQ(readBytes(sheet()), before);
}

TEST_F(SheetEditorCommand, AFileThatIsNoSheetIsRefusedNamingIt) {
  writeBytes(sheet(), "{\"format\": \"korvane sheet\", \"version\": 1, \"cols\": -3}");
  const auto done = run("close\n");
  EXPECT_EQ(done.exitCode, krv::tools::kExitInput) << done.output;
  EXPECT_NE(done.output.find("beams.vts"), std::string::npos) << done.output;
}

TEST_F(SheetEditorCommand, ThePictureShowsTheEditorOnTheSampleSheet) {
  const auto done = korvane("picture CDlgSSAsTool --out " + quoted(folder / "editor.png"),
                            "unset DISPLAY WAYLAND_DISPLAY");
  ASSERT_EQ(done.exitCode, krv::tools::kExitOk) << done.output;
  EXPECT_GT(fs::file_size(folder / "editor.png"), 1000u);
}

}  // namespace
