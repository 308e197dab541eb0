// The program's main job, run as a person runs it: korvane evaluate on the
// sample library, on copies of its macro, never on the committed files.
// GCC 12 at -O2 reports the internals of std::regex (its std::function
// members) as maybe used uninitialized; the warning is about the library.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
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

#include "tools/exit_codes.h"
#include "tools/program_run_test_support.h"

namespace fs = std::filesystem;

namespace {

using namespace krv::tools::test;

// The lines of the variables table: from the line after "Variables:" to
// the first empty line.
std::string variablesTable(const std::string& output) {
  const auto start = output.find("Variables:\n");
  if (start == std::string::npos) return {};
  const auto from = start + 11;
  return output.substr(from, output.find("\n\n", from) - from);
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
  fs::path macro =
      fs::temp_directory_path() / ("krv_evaluate_" + std::to_string(::getpid())) / "macro.json";

  // A standard written as CSV and converted by the program itself.
  void writeStandard(const fs::path& vts, const std::string& csv) {
    const fs::path source = folder / "source.csv";
    writeBytes(source, csv);
    fs::create_directories(vts.parent_path());
    const ProgramRun run = korvane("sheet convert " + quoted(source) + " " + quoted(vts));
    ASSERT_EQ(run.exitCode, 0) << run.output;
  }
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
  const fs::path written =
      run.output.substr(at + marker.size(), run.output.find('\n', at) - at - marker.size());
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
  const ProgramRun run =
      korvane("evaluate EndPlate --macro " + quoted(macro) + " --out " + quoted(out));
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
  const ProgramRun run =
      korvane("evaluate EndPlate --macro " + quoted(macro) + " --caller EndPlateBeamLarge");
  EXPECT_NE(run.exitCode, 0) << run.output;
  EXPECT_EQ(readBytes(macro), original);
  EXPECT_EQ(fs::last_write_time(macro), time);
  // Nothing was left beside it (no temporary file of an atomic write).
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(EvaluateCommand, AStandardGivenByPathReadsTheMappingFileBesideIt) {
  // A copy of the sample standard in a folder of its own, named otherwise,
  // with its mapping file beside it; the library stays the sample's.
  const fs::path standards = folder / "my standards";
  fs::create_directories(standards);
  fs::copy_file(library / "Connection Standards" / "EndPlate.vts", standards / "Plate.vts");
  fs::copy_file(library / "Connection Standards" / "EndPlate.map", standards / "Plate.map");
  const fs::path out = folder / "out.json";
  ProgramRun run = korvane("evaluate " + quoted(standards / "Plate.vts") + " --macro " +
                           quoted(macro) + " --out " + quoted(out));
  ASSERT_EQ(run.exitCode, krv::tools::kExitOk) << run.output;
  EXPECT_EQ(run.output.find("Warning"), std::string::npos) << run.output;
  EXPECT_NE(korvane("macro show " + quoted(out)).output.find("variable Width = 150"),
            std::string::npos);
  // A path with a blank is printed so that a shell reads it back whole.
  EXPECT_NE(run.output.find("Standard : '" + (standards / "Plate.vts").string() + "'"),
            std::string::npos)
      << run.output;

  // The library's own standard given by its path finds the library's mapping file.
  run = korvane("evaluate " + quoted(library / "Connection Standards" / "EndPlate.vts") +
                " --macro " + quoted(macro) + " --out " + quoted(out));
  EXPECT_EQ(run.exitCode, krv::tools::kExitOk) << run.output;

  // Without a mapping file beside it, the one of the library's place is not taken.
  fs::remove(standards / "Plate.map");
  run = korvane("evaluate " + quoted(standards / "Plate.vts") + " --macro " + quoted(macro) +
                " --out " + quoted(out));
  EXPECT_EQ(run.exitCode, krv::tools::kExitInput) << run.output;
  EXPECT_NE(run.output.find("no mapping file '" + (standards / "Plate.map").string() + "'"),
            std::string::npos)
      << run.output;
}

TEST_F(EvaluateCommand, AStandardThatCannotBeLoadedSaysWhy) {
  const fs::path bad = folder / "Bad.vts";
  writeBytes(bad, "{\n \"version\": 1,\n \"cells\": [\n  {\"col\": 1,,\n");
  ProgramRun run = korvane("evaluate " + quoted(bad) + " --macro " + quoted(macro));
  EXPECT_EQ(run.exitCode, krv::tools::kExitFailed) << run.output;
  EXPECT_NE(run.output.find("line 4"), std::string::npos) << "the loader's place of the fault\n"
                                                          << run.output;

  writeBytes(bad, "{\"format\": \"korvane sheet\", \"version\": 99, \"cells\": []}\n");
  run = korvane("evaluate " + quoted(bad) + " --macro " + quoted(macro));
  EXPECT_EQ(run.exitCode, krv::tools::kExitFailed) << run.output;
  EXPECT_NE(run.output.find("newer version"), std::string::npos) << run.output;
  EXPECT_EQ(readBytes(macro), readBytes(sampleMacro));
}

TEST_F(EvaluateCommand, AMissingSectionKeywordIsNamed) {
  const fs::path lib = folder / "lib";
  writeStandard(lib / "Connection Standards" / "NoCalc.vts", "Input\nDouble a\nOutput\nDouble b\n");
  writeStandard(lib / "Connection Standards" / "NoOutput.vts", "Input\nDouble a\nCalc\na = 1\n");
  for (const auto& [name, keyword] :
       {std::pair{"NoCalc", "Calc"}, std::pair{"NoOutput", "Output"}}) {
    const ProgramRun run = korvane(std::string("evaluate ") + name + " --library " + quoted(lib) +
                                   " --module-group Plate --macro " + quoted(macro));
    EXPECT_EQ(run.exitCode, krv::tools::kExitFailed) << run.output;
    EXPECT_NE(run.output.find(std::string("no ") + keyword + " section"), std::string::npos)
        << run.output;
  }
}

TEST_F(EvaluateCommand, LongVariableNamesKeepTheTableInColumns) {
  const fs::path lib = folder / "lib";
  writeStandard(
      lib / "Connection Standards" / "Long.vts",
      "Input\n\nDouble plate_thickness_in_mm\nOutput\n\nDouble resulting_plate_width_mm\nCalc\n"
      "resulting_plate_width_mm = plate_thickness_in_mm * 10\n");
  writeBytes(
      lib / "Connection Standards" / "Long.map",
      "Mapping version 1.0\nEndPlateBeam=plate_thickness_in_mm\u0192Plate\u2022Distance Thick\u00bf"
      "resulting_plate_width_mm\u0192Plate\u2022Distance Width\n");
  const ProgramRun run = korvane("evaluate Long --library " + quoted(lib) + " --macro " +
                                 quoted(macro) + " --out " + quoted(folder / "o.json"));
  ASSERT_EQ(run.exitCode, krv::tools::kExitOk) << run.output;
  const std::string table = variablesTable(run.output);
  EXPECT_TRUE(std::regex_search(table, std::regex("plate_thickness_in_mm +15[.0]* +15[.0]*\n")))
      << "name, before and after apart\n"
      << table;
  EXPECT_TRUE(std::regex_search(table, std::regex("resulting_plate_width_mm +200[.0]* +150[.0]*")))
      << "name, before and after apart\n"
      << table;
  // The values stand below their headings.
  std::istringstream lines(table);
  std::string header, line, row;
  std::getline(lines, header);
  while (std::getline(lines, line))
    if (line.find("resulting_plate_width_mm") != std::string::npos) row = line;
  EXPECT_EQ(row.find(" 200") + 1, header.find("before")) << table;
  EXPECT_EQ(row.find(" 150") + 1, header.find("after")) << table;
}

TEST_F(EvaluateCommand, WithoutMacroValuesNoAfterValuesAreShown) {
  const ProgramRun run =
      korvane("evaluate EndPlate --macro " + quoted(macro) + " --caller NoSuchKey");
  EXPECT_EQ(run.exitCode, krv::tools::kExitInput) << run.output;
  const std::string table = variablesTable(run.output);
  ASSERT_NE(table.find("PlateWidth"), std::string::npos) << run.output;
  EXPECT_EQ(table.find("after"), std::string::npos) << "nothing was written\n" << table;
  EXPECT_EQ(table.find("150"), std::string::npos)
      << "the width computed from no inputs is not shown\n"
      << table;
}

TEST_F(EvaluateCommand, ExitCodesAreTheDocumentedOnesForEverySubcommand) {
  using namespace krv::tools;
  for (const char* help : {"--help", "evaluate --help", "sheet show --help"}) {
    const ProgramRun run = korvane(help);
    EXPECT_EQ(run.exitCode, kExitOk) << help;
    EXPECT_NE(run.output.find("Exit codes"), std::string::npos) << help << "\n" << run.output;
    EXPECT_NE(run.output.find("  3  an input cannot be used"), std::string::npos) << help;
  }
  // Bad usage, whatever the command line parser calls it.
  for (const std::string& usage : std::vector<std::string>{
           "evaluate EndPlate --macro " + quoted(macro) + " --caller A --module-group B",
           std::string("no-such-command"), std::string("sheet show"),
           std::string("evaluate --no-such-option"), std::string(""),
           "evaluate EndPlate --macro " + quoted(macro) + " --genvar novalue"}) {
    const ProgramRun run = korvane(usage);
    EXPECT_EQ(run.exitCode, kExitUsage) << usage << "\n" << run.output;
  }
  EXPECT_EQ(readBytes(macro), readBytes(sampleMacro));
  // An input that is missing.
  const std::string nowhere = quoted(folder / "nowhere");
  for (const std::string& input : std::vector<std::string>{
           "evaluate NoSuchStandard --macro " + quoted(macro),
           "evaluate EndPlate --macro " + nowhere, "evaluate --library " + nowhere,
           "sheet show " + nowhere, "sheet convert " + nowhere + " " + nowhere + ".csv",
           "macro show " + nowhere, "library " + nowhere, "formula =A1 --sheet " + nowhere,
           std::string("mapping show NoSuchStandard")}) {
    const ProgramRun run = korvane(input);
    EXPECT_EQ(run.exitCode, kExitInput) << input << "\n" << run.output;
  }
  // A result that cannot be written.
  const ProgramRun run = korvane("evaluate EndPlate --macro " + quoted(macro) + " --out " +
                                 quoted(folder / "no" / "x.json"));
  EXPECT_EQ(run.exitCode, kExitOutput) << run.output;
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
