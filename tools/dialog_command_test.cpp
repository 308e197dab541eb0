// korvane dialog and korvane picture: launchers run on record files, driven
// by person scripts, headless.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tools/program_run_test_support.h"

namespace fs = std::filesystem;

namespace {

using namespace krv::tools::test;

class DialogCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("krv_dialog_cmd_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& e : fs::directory_iterator(fs::path(KRV_SOURCE_DIR) / "examples/records"))
      if (e.is_regular_file()) fs::copy_file(e.path(), folder / e.path().filename());
  }
  void TearDown() override { fs::remove_all(folder); }

  // Runs `korvane dialog LAUNCHER` on the copy of its sample record with
  // the script `steps`; no display.
  ProgramRun dialog(const std::string& launcher, const std::string& steps,
                    const std::string& more = "") {
    writeBytes(folder / "steps.txt", steps);
    return korvane("dialog " + launcher + " --record " + quoted(record(launcher)) + " --script " +
                       quoted(folder / "steps.txt") + " " + more,
                   "unset DISPLAY WAYLAND_DISPLAY");
  }
  fs::path record(const std::string& launcher) const { return folder / (launcher + ".json"); }
  std::string sample(const std::string& launcher) const {
    return readBytes(fs::path(KRV_SOURCE_DIR) / "examples/records" / (launcher + ".json"));
  }

  fs::path folder;
};

// Width and height of a PNG file, from its header.
std::pair<int, int> pngSize(const fs::path& file) {
  const std::string b = readBytes(file);
  if (b.size() < 24 || b.compare(1, 3, "PNG") != 0) return {0, 0};
  auto at = [&](int i) {
    return (static_cast<unsigned char>(b[i]) << 24) | (static_cast<unsigned char>(b[i + 1]) << 16) |
           (static_cast<unsigned char>(b[i + 2]) << 8) | static_cast<unsigned char>(b[i + 3]);
  };
  return {static_cast<int>(at(16)), static_cast<int>(at(20))};
}

TEST_F(DialogCommand, AScriptFillsTheGeneralVariablesAndOkWritesTheRecord) {
  const ProgramRun run = dialog("StartDlgGenVars",
                                "# a new drawing variable between the two\n"
                                "cell 1434 1 2\n"
                                "click 1435\n"
                                "cell 1434 1 2\n"
                                "type 1434 gen_fire\n"
                                "cell 1434 2 2   # the next cell finishes the entry\n"
                                "type 1434 R30\n"
                                "cell 1434 1 1\n"
                                "click OK\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("confirmed: the record was written"), std::string::npos);
  const std::string written = readBytes(record("StartDlgGenVars"));
  const auto grade = written.find("\"gen_grade\""), fire = written.find("\"gen_fire\""),
             coating = written.find("\"gen_coating\"");
  ASSERT_NE(fire, std::string::npos) << written;
  EXPECT_LT(grade, fire);
  EXPECT_LT(fire, coating);
  EXPECT_NE(written.find("\"value\": \"R30\""), std::string::npos) << written;
}

TEST_F(DialogCommand, CancelAndARunOutScriptWriteNothing) {
  ProgramRun run = dialog("StartDlgGenVars", "cell 1434 1 1\ntype 1434 changed\nclick CANCEL\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("cancelled: nothing was written"), std::string::npos);
  EXPECT_EQ(readBytes(record("StartDlgGenVars")), sample("StartDlgGenVars"));

  run = dialog("StartDlgGenVars", "cell 1434 1 1\ntype 1434 changed\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("the script ended while the dialog still ran; it was cancelled"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(readBytes(record("StartDlgGenVars")), sample("StartDlgGenVars"));
}

TEST_F(DialogCommand, AStepOnAMissingOrDisabledControlFailsNamingTheStepAndWritesNothing) {
  ProgramRun run = dialog("StartDlgGenVars", "cell 1434 1 1\ntype 1434 x\nclick 1999\nclick OK\n");
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find((folder / "steps.txt").string() +
                            ": line 3: there is no control 1999 in the dialog"),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("nothing was written"), std::string::npos);
  EXPECT_EQ(readBytes(record("StartDlgGenVars")), sample("StartDlgGenVars"));

  // The sample formula window calculates automatically: Recalculate is off.
  run = dialog("CFormula", "click 1107\nclick OK\n");
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find("line 1: control 1107 is disabled (\"click 1107\")"), std::string::npos)
      << run.output;
  EXPECT_EQ(readBytes(record("CFormula")), sample("CFormula"));

  // A box that appears without its answer in the script.
  run = dialog("CDlgFindReplace", "click 1205\nclose\n");
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find("line 1: a message box"), std::string::npos) << run.output;
  EXPECT_EQ(readBytes(folder / "sections.vts"),
            readBytes(fs::path(KRV_SOURCE_DIR) / "examples/records/sections.vts"));
}

TEST_F(DialogCommand, RefusedRecordsAndScriptsNameTheFileAndPlace) {
  const fs::path file = record("StartDlgGenVars");
  struct Case {
    std::string text, error;
  } cases[] = {
      {R"({"format": "korvane general variables", "version": 1, "drawings": [)",
       ": malformed JSON"},
      {R"({"format": "korvane formula window", "version": 1, "sheet": "x.vts"})",
       ": format: not a general variables file"},
      {R"({"format": "korvane general variables", "version": 9})",
       ": version: the file was written by a newer version"},
      {R"({"format": "korvane general variables", "version": 1, "standards": [{"value": 1}]})",
       ": standards[0]: the member \"name\" is missing"},
  };
  for (const Case& c : cases) {
    writeBytes(file, c.text);
    const ProgramRun run = dialog("StartDlgGenVars", "click OK\n");
    EXPECT_EQ(run.exitCode, 3) << run.output;
    EXPECT_NE(run.output.find(file.string() + c.error), std::string::npos) << run.output;
    EXPECT_EQ(readBytes(file), c.text) << "nothing is written";
  }
  const ProgramRun script = dialog("StartDlgGenVars", "click OK\npress 1\n");
  EXPECT_EQ(script.exitCode, 3);
  EXPECT_NE(script.output.find("steps.txt: line 2: unknown action \"press\""), std::string::npos)
      << script.output;
  const ProgramRun unknown = dialog("StartDlgNothing", "");
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_NE(unknown.output.find("no launcher StartDlgNothing (there are StartDlgGenVars"),
            std::string::npos);
}

TEST_F(DialogCommand, TheFormulaWindowOpensWithTheRecordsSettingsAndGivesBackTheNewOnes) {
  const ProgramRun unchanged = dialog("CFormula", "click OK\n");
  ASSERT_EQ(unchanged.exitCode, 0) << unchanged.output;
  const std::string same = readBytes(record("CFormula"));
  EXPECT_NE(same.find("\"referenceStyle\": \"A1\""), std::string::npos) << same;
  EXPECT_NE(same.find("\"autoCalc\": true"), std::string::npos) << same;

  const ProgramRun run = dialog("CFormula", "click 1007\nuncheck 1106\nclick 1107\nclick OK\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string written = readBytes(record("CFormula"));
  EXPECT_NE(written.find("\"referenceStyle\": \"R1C1\""), std::string::npos) << written;
  EXPECT_EQ(written.find("autoCalc"), std::string::npos) << "off is the default, left out";
  EXPECT_NE(written.find("\"sheet\": \"formulas.vts\""), std::string::npos)
      << "the sheet keeps its relative spelling";
}

TEST_F(DialogCommand, ClosingFindAndReplaceSavesTheReplacedCellsAndTheTexts) {
  const ProgramRun run = dialog("CDlgFindReplace",
                                "replace 1207 IPE 300\n"
                                "replace 1209 IPE 330\n"
                                "click 1205   # replace all\n"
                                "answer OK\n"
                                "close\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("also written: " + (folder / "sections.vts").string()),
            std::string::npos)
      << run.output;
  const ProgramRun show = korvane("sheet show " + quoted(folder / "sections.vts"));
  EXPECT_NE(show.output.find("| IPE 330 / HEA 200 |"), std::string::npos) << show.output;
  EXPECT_NE(show.output.find("| IPE 330           |"), std::string::npos) << show.output;
  const std::string written = readBytes(record("CDlgFindReplace"));
  EXPECT_NE(written.find("\"find\": \"IPE 300\""), std::string::npos) << written;

  // Closed without replacing, the sheet file stays as it is.
  const std::string before = readBytes(folder / "sections.vts");
  const ProgramRun found =
      dialog("CDlgFindReplace", "replace 1207 column\nclick OK   # find next\nclose\n");
  ASSERT_EQ(found.exitCode, 0) << found.output;
  EXPECT_EQ(readBytes(folder / "sections.vts"), before);
}

TEST_F(DialogCommand, AListIsLaidOutAndOkSavesItWhereTheRecordSays) {
  // The sample record names its template as "../install/list_template.vts".
  writeBytes(record("CFormulaListOutput"), [&] {
    std::string text = sample("CFormulaListOutput");
    const std::string from = "../install/list_template.vts";
    text.replace(text.find(from), from.size(),
                 (fs::path(KRV_SOURCE_DIR) / "examples/install/list_template.vts").string());
    return text;
  }());
  ProgramRun run = dialog("CFormulaListOutput", "click OK\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output.find("List template not loaded"), std::string::npos) << run.output;
  const ProgramRun show = korvane("sheet show " + quoted(folder / "bill.vts"));
  EXPECT_NE(show.output.find("| Total columns    | 5     | 9000   | 463.1"), std::string::npos)
      << show.output;
  EXPECT_NE(show.output.find("| Total beams      | 5     | 9200   | 448.4"), std::string::npos)
      << show.output;

  // A list without columns is refused before the window opens.
  const std::string bad = R"({"format": "korvane list output", "version": 1, "output": "x.vts"})";
  writeBytes(record("CFormulaListOutput"), bad);
  run = dialog("CFormulaListOutput", "click OK\n");
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find("The list has no columns."), std::string::npos) << run.output;
  EXPECT_FALSE(fs::exists(folder / "x.vts"));
  EXPECT_EQ(readBytes(record("CFormulaListOutput")), bad);
}

TEST_F(DialogCommand, SheetOptionsOkSavesTheSheetAndCancelLeavesItAlone) {
  const std::string before = readBytes(folder / "profiles.vts");
  ProgramRun run = dialog("CDlgSSOptions", "replace 1017 5\nkey TAB\nclick CANCEL\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(readBytes(folder / "profiles.vts"), before);

  // A bad count is refused; the dialog stays open and takes the next steps.
  run = dialog("CDlgSSOptions",
               "replace 1019 many\nclick OK\nanswer OK \"number of rows\"\n"
               "replace 1019 3\nreplace 1017 5\nkey TAB\ncell 1025 5 1\ntype 1025 Remark\n"
               "key ENTER\nclick OK\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("also written: " + (folder / "profiles.vts").string()),
            std::string::npos)
      << run.output;
  const ProgramRun show = korvane("sheet show " + quoted(folder / "profiles.vts"));
  EXPECT_NE(show.output.find("sheet of 5 columns and 3 rows"), std::string::npos) << show.output;
  EXPECT_NE(show.output.find("| Profile | Use    | Length | Mass"), std::string::npos)
      << show.output;
  const std::string saved = readBytes(folder / "profiles.vts");
  EXPECT_NE(saved.find("\"Remark\""), std::string::npos) << "the new column's header text";
}

TEST_F(DialogCommand, TheLanguageDialogWritesTheChosenCodeIntoTheRecord) {
  ProgramRun run = dialog("CDlgSSSettings", "choose 1398 2\nclick OK\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(readBytes(record("CDlgSSSettings")).find("\"language\": \"FR\""), std::string::npos);
  run = dialog("CDlgSSSettings", "choose 1398 \"Nederlands\"\nclick CANCEL\n");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(readBytes(record("CDlgSSSettings")).find("\"language\": \"FR\""), std::string::npos)
      << "cancelled: the record stays";
}

TEST_F(DialogCommand, AStandardsEvaluationShowsItsDialogAndOkWritesTheVariables) {
  const fs::path library = fs::path(KRV_SOURCE_DIR) / "examples/library";
  writeBytes(record("StartDlgStandardsSS"),
             R"({"format": "korvane standards evaluation", "version": 1, "standard": "EndPlate",
                 "macro": ")" +
                 (library / "Macros/EndPlateBeam.json").string() + R"(", "library": ")" +
                 library.string() + R"(",
                 "generalVariables": [{"name": "gen_edge_margin", "value": "10"},
                                      {"name": "gen_bolt_set", "value": "M20 8.8"}]})");
  const std::string macroBefore = readBytes(library / "Macros/EndPlateBeam.json");
  const ProgramRun run =
      dialog("StartDlgStandardsSS", "click OK\n", "--picture " + quoted(folder / "standards.png"));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string written = readBytes(record("StartDlgStandardsSS"));
  EXPECT_NE(written.find(R"("name": "PlateWidth",
      "kind": "Output",
      "type": "Double",
      "before": "200.00000000",
      "after": "180.0000000")"),
            std::string::npos)
      << written;
  EXPECT_EQ(readBytes(library / "Macros/EndPlateBeam.json"), macroBefore);
  EXPECT_GT(pngSize(folder / "standards.png").first, 300);
}

TEST_F(DialogCommand, TheSampleScriptsRunOnTheSampleRecords) {
  // The records beside a "library" that is the sample library, as in the
  // checkout, so that the standards record finds it where it says.
  const fs::path records = folder / "records";
  fs::create_directories(records);
  for (const auto& e : fs::directory_iterator(folder))
    if (e.is_regular_file()) fs::copy_file(e.path(), records / e.path().filename());
  fs::create_directory_symlink(fs::path(KRV_SOURCE_DIR) / "examples/library", folder / "library");
  for (const char* launcher :
       {"StartDlgGenVars", "StartDlgStandardsSS", "CFormula", "CDlgFindReplace",
        "CFormulaListOutput", "CDlgSSOptions", "CDlgSSSettings"}) {
    const fs::path script =
        fs::path(KRV_SOURCE_DIR) / "examples/records/scripts" / (std::string(launcher) + ".txt");
    const ProgramRun run = korvane("dialog " + std::string(launcher) + " --record " +
                                       quoted(records / (std::string(launcher) + ".json")) +
                                       " --script " + quoted(script),
                                   "unset DISPLAY WAYLAND_DISPLAY");
    EXPECT_EQ(run.exitCode, 0) << launcher << ": " << run.output;
    EXPECT_NE(run.output.find("confirmed: the record was written"), std::string::npos)
        << launcher << ": " << run.output;
    EXPECT_EQ(run.output.find("korvane dialog:"), std::string::npos)
        << launcher << ": every step played, none left over: " << run.output;
  }
  EXPECT_NE(readBytes(records / "StartDlgStandardsSS.json").find("\"variables\""),
            std::string::npos);
}

TEST_F(DialogCommand, PicturesNeedNoDisplayAndHaveTheDialogsSize) {
  const std::string noDisplay = "unset DISPLAY WAYLAND_DISPLAY";
  const ProgramRun byTemplate =
      korvane("picture 256 --out " + quoted(folder / "256.png"), noDisplay);
  ASSERT_EQ(byTemplate.exitCode, 0) << byTemplate.output;
  const auto templateSize = pngSize(folder / "256.png");
  EXPECT_GT(templateSize.first, 200);
  EXPECT_GT(templateSize.second, 200);

  // Every launcher on its sample record: the samples load and run.
  for (const char* launcher :
       {"StartDlgGenVars", "StartDlgStandardsSS", "CFormula", "CDlgFindReplace",
        "CFormulaListOutput", "CDlgSSOptions", "CDlgSSSettings"}) {
    const fs::path png = folder / (std::string(launcher) + ".png");
    const ProgramRun run =
        korvane("picture " + std::string(launcher) + " --out " + quoted(png), noDisplay);
    EXPECT_EQ(run.exitCode, 0) << launcher << ": " << run.output;
    EXPECT_GT(pngSize(png).first, 100) << launcher;
  }
  EXPECT_EQ(pngSize(folder / "StartDlgGenVars.png"), templateSize)
      << "the dialog run by its launcher has its template's size";

  const ProgramRun viaDialog =
      dialog("StartDlgGenVars", "click CANCEL\n", "--picture " + quoted(folder / "first.png"));
  ASSERT_EQ(viaDialog.exitCode, 0) << viaDialog.output;
  EXPECT_EQ(pngSize(folder / "first.png"), templateSize);

  const ProgramRun missing = korvane("picture 4321 --out " + quoted(folder / "x.png"), noDisplay);
  EXPECT_EQ(missing.exitCode, 3) << missing.output;
  EXPECT_FALSE(fs::exists(folder / "x.png"));
}

}  // namespace
