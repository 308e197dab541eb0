// A standard exchanged with another spreadsheet program: exported to xlsx,
// changed and stored there (the office suite's soffice, driven headless),
// imported again, and evaluated. Skipped where no office suite is installed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/program_run_test_support.h"

namespace fs = std::filesystem;

namespace {

using namespace krv::tools::test;

// Whether soffice and the scripting bridge of the system's Python are there.
bool officeAvailable() {
  return std::system(
             "command -v soffice >/dev/null 2>&1 && "
             "/usr/bin/python3 -c 'import uno' >/dev/null 2>&1") == 0;
}

// The line of the variables table that names `variable`.
std::string variableLine(const std::string& output, const std::string& variable) {
  const auto at = output.find(" " + variable + " ");
  if (at == std::string::npos) return {};
  const auto start = output.rfind('\n', at) + 1;
  return output.substr(start, output.find('\n', at) - start);
}

TEST(SheetExchange, AStandardChangedInAnotherSpreadsheetProgramEvaluatesToTheChange) {
  if (!officeAvailable()) GTEST_SKIP() << "soffice or its Python bridge is not installed";
  const fs::path folder =
      fs::temp_directory_path() / ("krv_exchange_" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  const fs::path library = folder / "library";
  fs::copy(fs::path(KRV_SOURCE_DIR) / "examples" / "library", library, fs::copy_options::recursive);
  const fs::path macro = folder / "macro.json";
  fs::copy_file(library / "Macros" / "EndPlateBeam.json", macro);
  const fs::path standard = library / "Connection Standards" / "EndPlate.vts";

  const ProgramRun before = korvane("evaluate EndPlate --library " + quoted(library) + " --macro " +
                                    quoted(macro) + " --out " + quoted(folder / "before.json"));
  ASSERT_EQ(before.exitCode, 0) << before.output;
  EXPECT_NE(variableLine(before.output, "PlateHeight").find("320"), std::string::npos)
      << before.output;

  const fs::path exported = folder / "EndPlate.xlsx", edited = folder / "EndPlate-edited.xlsx";
  ProgramRun run = korvane("sheet convert " + quoted(standard) + " " + quoted(exported));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  // The equation of the plate height, in A26, now adds four gaps instead of two.
  const std::string script =
      "/usr/bin/python3 " + quoted(fs::path(KRV_SOURCE_DIR) / "tools/testdata/office_set_cell.py") +
      " " + quoted(exported) + " " + quoted(edited) +
      " A26 'PlateHeight = ROUNDTO(BeamDepth + 4 * Gap, 10)'";
  ASSERT_EQ(std::system(script.c_str()), 0) << script;
  run = korvane("sheet convert " + quoted(edited) + " " + quoted(standard));
  ASSERT_EQ(run.exitCode, 0) << run.output;

  const ProgramRun after = korvane("evaluate EndPlate --library " + quoted(library) + " --macro " +
                                   quoted(macro) + " --out " + quoted(folder / "after.json"));
  ASSERT_EQ(after.exitCode, 0) << after.output;
  const std::string line = variableLine(after.output, "PlateHeight");
  EXPECT_NE(line.find("340"), std::string::npos)
      << "300 + 4 x 10 rounded to 10; the rest of the standard (child call, look-ups) "
         "survived the exchange:\n"
      << after.output;
  EXPECT_NE(variableLine(after.output, "PlateThick").find("15"), std::string::npos);
  fs::remove_all(folder);
}

}  // namespace
