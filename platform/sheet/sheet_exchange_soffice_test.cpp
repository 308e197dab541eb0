// A sheet taken through the office suite's spreadsheet program when it is
// installed (soffice): the program re-saves our xlsx as xlsx and as ods, and
// what the standards need must survive: formulas with the standards' own
// function names, header texts and the settings text of the corner cell.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/sheet/sheet_file.h"

namespace krv::sheet {
namespace {

namespace fs = std::filesystem;

fs::path findSoffice() {
  for (const char* p :
       {"/usr/bin/soffice", "/usr/local/bin/soffice", "/usr/lib/libreoffice/program/soffice"})
    if (fs::exists(p)) return p;
  return {};
}

TEST(SheetExchangeSofficeTest, StandardsSheetSurvivesBeingResavedByTheSpreadsheetProgram) {
  const fs::path soffice = findSoffice();
  if (soffice.empty())
    GTEST_SKIP() << "soffice is not installed: the round trip through it is not checked";
  const fs::path dir = fs::temp_directory_path() / ("sheet_soffice_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "out");

  ControlDocument d;
  d.setMaxCols(4);
  d.setMaxRows(6);
  d.setData(1, 1, L"M12");
  d.setData(2, 1, L"12.5");
  d.setData(2, 2, L"12.5");
  d.setData(2, 3, L"12.5");  // equal rows: the program may write them as one repeated row
  ASSERT_TRUE(d.setFormula(3, 1, L"=GETCELL(\"Bolts\",A1,2)"));
  ASSERT_TRUE(d.setFormula(3, 2, L"=TOLERANCE(B1,0.5)+FROMTABLE(\"x\",A1:B3,$B$2)"));
  ASSERT_TRUE(d.setFormula(3, 3, L"=SUM(B1:B3)*2"));
  d.setData(2, 0, L"Diameter");
  d.setData(0, 2, L"Second");
  const std::wstring settings =
      L"defaultFont\xa4"
      L"4\xa4Tahoma\xa4units\xa4mm\xa4";
  d.setTag(0, 0, settings);
  d.changeAttributes(2, 1, 2, 1, [](CellAttributes& a) {
    a.type = kCellTypeNumber;
    a.decimals = 3;
    a.backColor = 0x00FFFF;
  });
  ASSERT_TRUE(saveSheetFile(d, dir / "std.xlsx"));

  for (const char* format : {"xlsx", "ods"}) {
    SCOPED_TRACE(format);
    const std::string command = "cd " + dir.string() + " && HOME=" + dir.string() + " " +
                                soffice.string() + " -env:UserInstallation=file://" + dir.string() +
                                "/profile --headless --convert-to " + format +
                                " --outdir out std.xlsx >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    ControlDocument back;
    const base::Status read = loadSheetFile(back, dir / "out" / (std::string("std.") + format));
    ASSERT_TRUE(read) << read.text();
    EXPECT_EQ(*back.formula(3, 1), L"=GETCELL(\"Bolts\",A1,2)");
    EXPECT_EQ(*back.formula(3, 2), L"=TOLERANCE(B1,0.5)+FROMTABLE(\"x\",A1:B3,$B$2)");
    EXPECT_EQ(*back.formula(3, 3), L"=SUM(B1:B3)*2");
    EXPECT_EQ(*back.data(3, 3), L"75");
    EXPECT_EQ(*back.data(2, 3), L"12.5");
    EXPECT_EQ(*back.data(2, 0), L"Diameter");
    EXPECT_EQ(*back.data(0, 2), L"Second");
    EXPECT_TRUE(back.tag(0, 0) == settings) << base::Status::error("settings differ").text();
    EXPECT_EQ(back.attributes(2, 1).type, kCellTypeNumber);
    EXPECT_EQ(back.attributes(2, 1).decimals, 3);
    EXPECT_EQ(back.attributes(2, 1).backColor, 0x00FFFFu);
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace krv::sheet
