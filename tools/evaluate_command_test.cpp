// The program's main job, run as a person runs it: korvane evaluate on the
// sample library, on copies of its macro, never on the committed files.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct ProgramRun {
  int exitCode = -1;
  std::string output;  // standard output and standard error
};

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

// Runs the program with `arguments` in the checkout's folder.
ProgramRun korvane(const std::string& arguments) {
  const std::string cmd = "cd " + quoted(KRV_SOURCE_DIR) + " && " + quoted(KORVANE_EXE) + " " + arguments + " 2>&1";
  ProgramRun run;
  FILE* pipe = ::popen(cmd.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
  const int status = ::pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string readBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class EvaluateCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("krv_evaluate_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(sampleMacro, macro);
  }
  void TearDown() override { fs::remove_all(folder); }

  const fs::path library = fs::path(KRV_SOURCE_DIR) / "examples" / "library";
  const fs::path sampleMacro = library / "Macros" / "EndPlateBeam.json";
  fs::path folder;
  fs::path macro = fs::temp_directory_path() / ("krv_evaluate_" + std::to_string(::getpid())) / "macro.json";
};

TEST_F(EvaluateCommand, WithoutArgumentsEvaluatesTheSampleAndLeavesItsMacroAlone) {
  const std::string before = readBytes(sampleMacro);
  ASSERT_FALSE(before.empty());
  const ProgramRun run = korvane("evaluate");
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(readBytes(sampleMacro), before);

  // The result went to the file the program names.
  const std::string marker = "the macro was written to ";
  const auto at = run.output.find(marker);
  ASSERT_NE(at, std::string::npos) << run.output;
  const fs::path written = run.output.substr(at + marker.size(), run.output.find('\n', at) - at - marker.size());
  ASSERT_TRUE(fs::exists(written)) << written;
  const ProgramRun shown = korvane("macro show " + quoted(written));
  fs::remove(written);
  EXPECT_EQ(shown.exitCode, 0);
  // The sample's plate of 200 by 360 was sized by the standard.
  EXPECT_NE(shown.output.find("variable Width = "), std::string::npos) << shown.output;
  EXPECT_EQ(shown.output.find("variable Width = 200"), std::string::npos) << shown.output;
  EXPECT_EQ(shown.output.find("variable Height = 360"), std::string::npos) << shown.output;
}

TEST_F(EvaluateCommand, OutWritesAMacroWhoseChangedValuesReadBack) {
  const fs::path out = folder / "out.json";
  const ProgramRun run = korvane("evaluate EndPlate --macro " + quoted(macro) + " --out " + quoted(out));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(readBytes(macro), readBytes(sampleMacro));  // only --out is written

  const ProgramRun before = korvane("macro show " + quoted(macro));
  const ProgramRun after = korvane("macro show " + quoted(out));
  ASSERT_EQ(after.exitCode, 0) << after.output;
  for (const char* was : {"variable Width = 200", "variable Height = 360", "variable Pitch = 70"})
    EXPECT_NE(before.output.find(was), std::string::npos) << was;
  for (const char* now : {"variable Width = 150", "variable Height = 320", "variable Pitch = 75"})
    EXPECT_NE(after.output.find(now), std::string::npos) << now << "\n" << after.output;
  // Values the standard does not write stay as they were.
  EXPECT_NE(after.output.find("variable Gauge = 100"), std::string::npos);
  EXPECT_NE(after.output.find("variable Len = 4500"), std::string::npos);
}

TEST_F(EvaluateCommand, FailuresExitNonZeroAndChangeNoFile) {
  const std::string original = readBytes(macro);

  // A standard that does not exist.
  ProgramRun run = korvane("evaluate NoSuchStandard --macro " + quoted(macro));
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.output.find("no standard NoSuchStandard"), std::string::npos) << run.output;

  // A caller key the mapping file does not hold: the macro is not written.
  run = korvane("evaluate EndPlate --macro " + quoted(macro) + " --caller NoSuchKey");
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.output.find("has no key NoSuchKey"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("the macro file was not changed"), std::string::npos) << run.output;

  // A malformed macro file is refused as it is.
  const std::string truncated = original.substr(0, original.size() / 2);
  std::ofstream(macro, std::ios::binary | std::ios::trunc) << truncated;
  run = korvane("evaluate EndPlate --macro " + quoted(macro));
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.output.find("korvane evaluate: "), std::string::npos) << run.output;
  EXPECT_EQ(readBytes(macro), truncated);

  // A missing library folder.
  run = korvane("evaluate --library " + quoted(folder / "nowhere"));
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.output.find("no library folder"), std::string::npos) << run.output;
  EXPECT_FALSE(fs::exists(folder / "nowhere"));
}

TEST_F(EvaluateCommand, MissingMappingKeyLeavesTheMacroFileUntouched) {
  const std::string original = readBytes(macro);
  const auto time = fs::last_write_time(macro);
  const ProgramRun run = korvane("evaluate EndPlate --macro " + quoted(macro) + " --caller EndPlateBeamLarge");
  EXPECT_NE(run.exitCode, 0) << run.output;
  EXPECT_EQ(readBytes(macro), original);
  EXPECT_EQ(fs::last_write_time(macro), time);
  // Nothing was left beside it (no temporary file of an atomic write).
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

// The lines of a text with every number and true or false replaced by "#":
// what is left is the form of each line.
std::vector<std::string> lineForms(const std::string& text) {
  static const std::regex value(R"(-?[0-9][0-9.eE+-]*|true|false)");
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(std::regex_replace(line, value, "#"));
  return lines;
}

TEST_F(EvaluateCommand, WritingBackChangesOnlyTheLinesOfChangedValues) {
  const ProgramRun run = korvane("evaluate EndPlate --macro " + quoted(macro));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string original = readBytes(sampleMacro), written = readBytes(macro);
  ASSERT_NE(written, original) << "the standard changes some values of the sample";
  EXPECT_EQ(lineForms(written), lineForms(original))
      << "same lines, in the same order, in the same form; only values differ\n"
      << written;
}

}  // namespace
