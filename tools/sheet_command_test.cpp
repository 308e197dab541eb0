// korvane sheet show and convert on sheets that declare the largest size
// but hold next to nothing: the work follows the filled cells.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/program_run_test_support.h"

namespace fs = std::filesystem;

namespace {

using namespace krv::tools::test;

class SheetCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("krv_sheet_cmd_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  // A native sheet file of 16384 columns and 1048576 rows with the given cells.
  fs::path largestSheet(const std::string& name, const std::string& cells) {
    const fs::path file = folder / name;
    std::ofstream(file)
        << R"({"format": "korvane sheet", "version": 1, "cols": 16384, "rows": 1048576, "cells": [)"
        << cells << "]}\n";
    return file;
  }

  fs::path folder;
};

TEST_F(SheetCommand, ShowPrintsTheRowsAndColumnsThatHoldSomething) {
  const fs::path file = largestSheet(
      "corner.vts",
      R"({"col": 2, "row": 3, "values": ["near"]}, {"col": 16384, "row": 1048576, "values": ["far"]})");
  const ProgramRun run = korvane("sheet show " + quoted(file));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output,
            "sheet of 16384 columns and 1048576 rows\n"
            "        | B    | XFD\n"
            "3       | near |\n"
            "1048576 |      | far\n")
      << "a table of the declared size would need 17 G cells";

  const ProgramRun empty = korvane("sheet show " + quoted(largestSheet("empty.vts", "")));
  ASSERT_EQ(empty.exitCode, 0) << empty.output;
  EXPECT_EQ(empty.output, "sheet of 16384 columns and 1048576 rows\n");
}

TEST_F(SheetCommand, ShowListsTheCellsWhenTheirRowsAndColumnsMakeTooLargeATable) {
  // A diagonal of 1001 cells spans 1001 rows and columns: a table of a
  // million texts, mostly empty.
  std::string cells;
  for (int i = 1; i <= 1001; ++i)
    cells += (i > 1 ? ", " : "") + std::string(R"({"col": )") + std::to_string(i) + R"(, "row": )" +
             std::to_string(i) + R"(, "values": [)" + std::to_string(i) + "]}";
  const ProgramRun run = korvane("sheet show " + quoted(largestSheet("diagonal.vts", cells)));
  ASSERT_EQ(run.exitCode, 0) << run.output.substr(0, 500);
  const std::string start =
      "sheet of 16384 columns and 1048576 rows\n"
      "1001 filled cells, one a line (a table would be 1001 columns by 1001 rows)\n"
      "A1 | 1\n"
      "B2 | 2\n";
  EXPECT_EQ(run.output.substr(0, start.size()), start);
  EXPECT_NE(run.output.find("\nALM1001 | 1001\n"), std::string::npos);
}

TEST_F(SheetCommand, ConvertWritesTheUsedRangeAndRefusesATextBeyondTheReadersLimit) {
  const fs::path csv = folder / "out.csv";
  const ProgramRun near =
      korvane("sheet convert " +
              quoted(largestSheet("near.vts", R"({"col": 2, "row": 3, "values": ["x"]})")) + " " +
              quoted(csv));
  ASSERT_EQ(near.exitCode, 0) << near.output;
  EXPECT_EQ(readBytes(csv), ",\n,\n,x\n") << "columns A and B of rows 1 to 3";

  const ProgramRun none =
      korvane("sheet convert " + quoted(largestSheet("empty.vts", "")) + " " + quoted(csv));
  ASSERT_EQ(none.exitCode, 0) << none.output;
  EXPECT_EQ(readBytes(csv), "");

  // The far corner makes the used range the whole sheet: 17 G separators.
  const fs::path far =
      largestSheet("far.vts", R"({"col": 16384, "row": 1048576, "values": ["far"]})");
  const ProgramRun refused = korvane("sheet convert " + quoted(far) + " " + quoted(csv));
  EXPECT_NE(refused.exitCode, 0) << refused.output;
  EXPECT_NE(refused.output.find("out.csv"), std::string::npos) << refused.output;
  EXPECT_NE(refused.output.find("too large"), std::string::npos) << refused.output;
  EXPECT_EQ(readBytes(csv), "") << "the previous file stays";
}

TEST_F(SheetCommand, PrintWritesAPdfAndPagePicturesAndReportsWhatFails) {
  std::string cells;
  for (int r = 1; r <= 120; ++r)
    cells += (r > 1 ? ", " : "") + std::string(R"({"col": 1, "row": )") + std::to_string(r) +
             R"(, "values": ["Row )" + std::to_string(r) + R"(", 12.5]})";
  const fs::path sheet = largestSheet("bill.vts", cells);
  const fs::path pdf = folder / "bill.pdf";
  const fs::path pages = folder / "pages";
  fs::create_directories(pages);
  const ProgramRun run = korvane("sheet print " + quoted(sheet) + " --out " + quoted(pdf) +
                                 " --png-pages " + quoted(pages));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string bytes = readBytes(pdf);
  EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
  // 120 rows of 20 pixels: 51 on an A4 page with the default margins.
  EXPECT_TRUE(fs::exists(pages / "page-3.png"));
  EXPECT_FALSE(fs::exists(pages / "page-4.png"));

  // A missing folder for the PDF: nothing written, the path named, code 4.
  const fs::path missing = folder / "gone" / "out.pdf";
  const ProgramRun unwritable =
      korvane("sheet print " + quoted(sheet) + " --out " + quoted(missing));
  EXPECT_EQ(unwritable.exitCode, 4) << unwritable.output;
  EXPECT_NE(unwritable.output.find("gone/out.pdf"), std::string::npos) << unwritable.output;
  EXPECT_FALSE(fs::exists(missing.parent_path()));

  // An empty sheet prints nothing and keeps the previous PDF.
  const ProgramRun empty =
      korvane("sheet print " + quoted(largestSheet("empty.vts", "")) + " --out " + quoted(pdf));
  EXPECT_EQ(empty.exitCode, 1) << empty.output;
  EXPECT_NE(empty.output.find("nothing to print"), std::string::npos) << empty.output;
  EXPECT_EQ(readBytes(pdf), bytes);

  const ProgramRun unreadable =
      korvane("sheet print " + quoted(folder / "none.vts") + " --out " + quoted(pdf));
  EXPECT_EQ(unreadable.exitCode, 3) << unreadable.output;
  EXPECT_EQ(korvane("sheet print " + quoted(sheet) + " --out " + quoted(pdf) + " --fit --no-fit")
                .exitCode,
            2);
}

TEST_F(SheetCommand, ConvertCarriesASheetThroughXlsxAndRefusesADamagedWorkbook) {
  const fs::path vts = folder / "std.vts";
  std::ofstream(vts)
      << R"~({"format": "korvane sheet", "version": 1, "cols": 3, "rows": 2,)~"
      << R"~( "colHeaders": [[2, "Diameter"]], "tags": [[0, 0, "units\u00a4mm\u00a4"]],)~"
      << R"~( "cells": [{"col": 1, "row": 1, "values": [12.5, {"f": "=GETCELL(\"Bolts\",A1)"}]},)~"
      << R"~( {"col": 2, "row": 1, "values": ["M12"]}]})~";
  const fs::path xlsx = folder / "std.xlsx", back = folder / "back.vts";
  const ProgramRun there = korvane("sheet convert " + quoted(vts) + " " + quoted(xlsx));
  ASSERT_EQ(there.exitCode, 0) << there.output;
  const ProgramRun home = korvane("sheet convert " + quoted(xlsx) + " " + quoted(back));
  ASSERT_EQ(home.exitCode, 0) << home.output;
  const std::string text = readBytes(back);
  EXPECT_NE(text.find(R"~("=GETCELL(\"Bolts\",A1)")~"), std::string::npos) << text;
  EXPECT_NE(text.find("Diameter"), std::string::npos) << text;
  EXPECT_NE(text.find("units\u00a4mm\u00a4"), std::string::npos) << text;
  const ProgramRun shown = korvane("sheet show --formulas " + quoted(xlsx));
  ASSERT_EQ(shown.exitCode, 0) << shown.output;
  EXPECT_NE(shown.output.find("=GETCELL(\"Bolts\",A1)"), std::string::npos) << shown.output;

  // Half a workbook is refused with the file's name; the output stays.
  const std::string whole = readBytes(xlsx);
  const fs::path broken = folder / "broken.xlsx";
  std::ofstream(broken, std::ios::binary) << whole.substr(0, whole.size() / 2);
  const ProgramRun refused = korvane("sheet convert " + quoted(broken) + " " + quoted(back));
  EXPECT_NE(refused.exitCode, 0) << refused.output;
  EXPECT_NE(refused.output.find("broken.xlsx"), std::string::npos) << refused.output;
  EXPECT_NE(refused.output.find("truncated"), std::string::npos) << refused.output;
  EXPECT_EQ(readBytes(back), text);
  // Writing ods is refused.
  const ProgramRun ods = korvane("sheet convert " + quoted(vts) + " " + quoted(folder / "x.ods"));
  EXPECT_NE(ods.exitCode, 0) << ods.output;
  EXPECT_NE(ods.output.find("save as .xlsx"), std::string::npos) << ods.output;
}

}  // namespace
