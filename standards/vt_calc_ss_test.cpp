#include "standards/vt_calc_ss.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <utility>

#include "platform/win/message_box.h"
#include "standards/vt_calc_ss_test_support.h"

namespace krv::test {
namespace {

using Calc = CalcFixture;

// ---- loading and sections ------------------------------------------------------------

TEST_F(Calc, LoadFallsBackToTheStandardsFolderAndKeepsTheNameOnFailure) {
  const Krv_String path = writeSheet("Plate.vts", {{L"Input"}});
  VtCalcSS& e = openEngine();
  ASSERT_EQ(e.loadFile(L"Plate"), Acad::eOk);
  EXPECT_EQ(e.mFileName, path);
  EXPECT_FALSE(e.getBoolOption(krv::spread::kOptionAutoCalc));
  EXPECT_TRUE(e.getBoolOption(krv::spread::kOptionProgramSheet));
  EXPECT_TRUE(e.getBoolOption(krv::spread::kOptionEditMode));
  EXPECT_EQ(e.loadFile(L"Missing"), Acad::eInvalidInput);
  EXPECT_EQ(e.mFileName, path);
  ASSERT_EQ(e.loadFile(path), Acad::eOk);  // a full path is taken as it is
}

TEST_F(Calc, SectionsOverlapOnTheNextSectionsFirstDataRow) {
  writeSheet("S.vts", {{L"Input"},
                       {L"Double a", L"note", L"Int n"},
                       {L"Output"},
                       {L"Double shared"},
                       {L"String out"},
                       {L"Calc"}});
  VtCalcSS& e = openEngine();
  ASSERT_EQ(e.loadFile(L"S"), Acad::eOk);
  ASSERT_EQ(e.initVarCells(), Acad::eOk);  // no Local section is fine
  ASSERT_EQ(e.mVarCells.length(), 5);
  EXPECT_EQ(e.mVarCells[0].name(), L"a");
  EXPECT_EQ(e.mVarCells[1].name(), L"n");
  EXPECT_EQ(e.mVarCells[1].valueType(), Int);
  EXPECT_EQ(e.mVarCells[2].name(), L"shared");  // Output's first data row, scanned as Input
  EXPECT_TRUE(e.mVarCells[2].isInput());
  EXPECT_EQ(e.mVarCells[3].name(), L"shared");
  EXPECT_TRUE(e.mVarCells[3].isOutput());
  EXPECT_EQ(e.mVarCells[4].name(), L"out");
  EXPECT_EQ(e.mVarCells[4].column(), 1);
  EXPECT_EQ(e.mVarCells[4].row(), 5);

  ui->answerMessageBox(IDOK, L"Duplicate variable names:\n\nshared");
  ASSERT_EQ(e.calculate(), Acad::eOk);
  ASSERT_EQ(e.mVarCells.length(), 4);  // the second "shared" went
  EXPECT_TRUE(e.mVarCells[2].isInput());
  EXPECT_EQ(ui->messageBoxes().back().caption, L"Variable names must be unique");

  writeSheet("NoOutput.vts", {{L"Input"}, {L"Double a"}, {L"Calc"}});
  ASSERT_EQ(e.loadFile(L"NoOutput"), Acad::eOk);
  EXPECT_EQ(e.initVarCells(), Acad::eInvalidInput);
  EXPECT_EQ(e.mVarCells.length(), 1);  // what exists is still collected
  EXPECT_EQ(e.removeVarCell(1), Acad::eInvalidInput);
  EXPECT_EQ(e.removeVarCell(0), Acad::eOk);
}

TEST_F(Calc, AddVarCellsStopsAtTheSheetsLastRow) {
  writeSheet("Short.vts", {{L"Input"}, {L"Double a"}, {L"Int last"}});
  VtCalcSS& e = openEngine();
  ASSERT_EQ(e.loadFile(L"Short"), Acad::eOk);
  // A last row far beyond the sheet (up to the largest int) scans only the
  // sheet's rows instead of looping almost without end.
  ASSERT_EQ(e.addVarCells(2, std::numeric_limits<int>::max(), Input), Acad::eOk);
  ASSERT_EQ(e.mVarCells.length(), 2);
  EXPECT_EQ(e.mVarCells[1].name(), L"last")
      << "the declaration on the sheet's last row still counts";
}

TEST_F(Calc, ASheetWithoutCalcFailsToCalculate) {
  writeSheet("NoCalc.vts", {{L"Input"}, {L""}, {L"Double a"}, {L"Output"}, {L""}, {L"Double b"}});
  VtCalcSS& e = openEngine();
  ASSERT_EQ(e.loadFile(L"NoCalc"), Acad::eOk);
  ASSERT_EQ(e.initVarCells(), Acad::eOk);
  EXPECT_EQ(e.calculate(), Acad::eInvalidInput);
}

TEST_F(Calc, TheLargestSheetIsEvaluatedInTheTimeItsFilledCellsTake) {
  // 16384 x 1048576 cells declared, a handful filled: the Output section
  // runs to the far corner, the Calc section to the end of the sheet, and
  // the missing Local keyword is looked for everywhere. Visiting every
  // declared cell would take minutes.
  sheet::ControlDocument doc;
  ASSERT_TRUE(doc.setMaxCols(sheet::kControlMaxCols));
  ASSERT_TRUE(doc.setMaxRows(sheet::kControlMaxRows));
  const std::pair<int, const wchar_t*> column1[] = {
      {1, L"Input"}, {2, L"Double a"}, {3, L"Calc"}, {4, L"b = a * gen_k"}, {5, L"Output"}};
  for (const auto& [row, text] : column1) doc.setData(1, row, text);
  doc.setData(sheet::kControlMaxCols, sheet::kControlMaxRows, L"Double b");
  std::filesystem::create_directories(lib.path() / "Connection Standards");
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(
      sheet::saveSheetFile(doc, lib.path() / "Connection Standards" / "Huge.vts"), error))
      << error;

  Krv_Settings::current().setCalcMessages(false);  // the value left at the corner is no equation
  VtCalcSS& e = openEngine();
  ASSERT_EQ(e.loadFile(L"Huge"), Acad::eOk);
  VtDlgStandardsData data;
  data.mGenVarNames = {L"gen_k"};
  data.mGenVarValues = {L"2"};
  data.mVarCells.append(var(L"a", Input, L"21"));
  data.mVarCells.append(var(L"b", Output, L""));
  ASSERT_EQ(e.getFromVars(data), Acad::eOk);
  ASSERT_EQ(e.mVarCells.length(), 2) << "b is declared in the far corner";
  ASSERT_EQ(e.calcChild(data.mVarCells), Acad::eOk);
  EXPECT_EQ(data.mVarCells[1].value(), L"42.0000000");
}

TEST_F(Calc, ACellFilledByAnEarlierEquationIsStillVisited) {
  // The Local section lies below the Calc keyword: its declaration cell is
  // emptied before the calculation and filled again by the first equation,
  // so the reading-order pass meets the value there as a (failing) equation.
  writeSheet("Late.vts", {{L"Input"},
                          {L"Double a"},
                          {L"Output"},
                          {L""},
                          {L"Double b"},
                          {L"Calc"},
                          {L"tmp = a + 1"},
                          {L"b = tmp * 2"},
                          {L"Local"},
                          {L"Double tmp"}});
  VtDlgStandardsData data;
  data.mVarCells.append(var(L"a", Input, L"20"));
  data.mVarCells.append(var(L"b", Output, L""));
  ui->answerMessageBox(IDOK, L"failed:\nLocal\n");
  ui->answerMessageBox(IDOK, L"failed:\n21.0000000\n");
  ASSERT_TRUE(runChild(L"Late", data.mVarCells));
  EXPECT_EQ(messages().size(), 2u);
  EXPECT_EQ(data.mVarCells[1].value(), L"42.0000000");
}

// ---- equations -------------------------------------------------------------------------

SheetRows equationSheet(const std::wstring& equations) {
  return {{L"Input"},
          {L""},
          {L"String s", L"Int n"},
          {L"", L""},
          {L"", L"Double y"},
          {L"Output"},
          {L""},
          {L"Double x", L"String t"},
          {L"Local"},
          {L""},
          {L"Double tmp"},
          {L"Calc"},
          {equations}};
}

TEST_F(Calc, AnEquationSetsTheFormulaAndAssignsWithSevenDecimals) {
  writeSheet("Eq.vts", equationSheet(L"x = y + 1"));
  VtCalcSS& e = openEngine();
  ASSERT_EQ(e.loadFile(L"Eq"), Acad::eOk);
  VtDlgStandardsData data;
  for (auto v :
       {var(L"s", Input, L"txt", String), var(L"n", Input, L"2", Int),
        var(L"y", Input, L"0.123456789"), var(L"x", Output, L""), var(L"t", Output, L"", String)})
    data.mVarCells.append(v);
  ASSERT_EQ(e.getFromVars(data), Acad::eOk);
  ASSERT_EQ(e.calcChild(data.mVarCells), Acad::eOk);
  Krv_String formula;
  ASSERT_TRUE(e.getCellString(1, 13, formula, Formula));
  EXPECT_EQ(formula, L"=B5 + 1");  // y is declared in B5
  Krv_String shown;
  e.getCellString(1, 8, shown, Value);  // x's declaration cell
  EXPECT_EQ(shown, L"1.1234568");
  EXPECT_EQ(data.mVarCells[3].value(), L"1.1234568");
}

TEST_F(Calc, FailingCellsShowTheEquationMessageAndTheNextCellsStillRun) {
  writeSheet("Bad.vts", equationSheet(L""));
  VtCalcSS& e = openEngine();
  ASSERT_EQ(e.loadFile(L"Bad"), Acad::eOk);
  ASSERT_EQ(e.initVarCells(), Acad::eOk);
  e.setMaxRows(17);
  e.setCellData(1, 13, L"just a remark");
  e.setCellData(2, 13, L"undeclared = 1 + 1");
  e.setCellData(1, 14, L"x = nosuchname + 1");
  e.setCellData(1, 15, L"x = ROUNDTO(");
  e.setCellData(1, 16, L"tmp = 2 * 3");
  e.setCellData(1, 17, L"x = tmp + 1");
  ui->answerMessageBox(IDOK, L"The following equation failed:\njust a remark\nSpreadsheet : ");
  ui->answerMessageBox(IDOK, L"failed:\nundeclared = 1 + 1\n");
  ui->answerMessageBox(IDOK, L"x = nosuchname + 1\n");
  ui->answerMessageBox(IDOK, L"x = ROUNDTO(\n");
  ASSERT_EQ(e.calculate(), Acad::eOk);
  EXPECT_EQ(ui->messageBoxes().size(), 4u);
  EXPECT_NE(ui->messageBoxes()[0].text.find(L"(line: 13)\nHere's a tip for finding the cause :\n"),
            std::wstring::npos);
  EXPECT_EQ(ui->messageBoxes()[0].type, UINT(MB_OK | MB_ICONEXCLAMATION));
  int x = -1;
  ASSERT_EQ(e.mVarCells.findVarCell(L"x", x), Acad::eOk);
  EXPECT_EQ(e.mVarCells[x].value(), L"7.0000000");

  // With the calculation messages off nothing is shown.
  Krv_Settings::current().setCalcMessages(false);
  EXPECT_EQ(e.calcCell(1, 13), Acad::eInvalidInput);
  Krv_Settings::current().setCalcMessages(true);
  ui->answerMessageBox(IDOK, L"failed:\nCalc\n");
  EXPECT_EQ(e.calcCell(1, 12), Acad::eInvalidInput);  // the keyword is no equation
}

TEST_F(Calc, WholeWordReplacement) {
  Krv_String text = L"(len)+len*length-len_2+LEN-xlen";
  EXPECT_TRUE(VtCalcSS::replaceWholeWords(text, {L"len"}, {L"B3"}, false));
  EXPECT_EQ(text, L"(B3)+B3*length-len_2+B3-xlen");

  text = L"a + b";  // a value holding a later name is replaced again, in name order
  VtCalcSS::replaceWholeWords(text, {L"a", L"b"}, {L"b", L"1"}, false);
  EXPECT_EQ(text, L"1 + 1");
  text = L"b + a";
  VtCalcSS::replaceWholeWords(text, {L"b", L"a"}, {L"1", L"b"}, false);
  EXPECT_EQ(text, L"1 + b");

  text = L"w = gen_t & gen_n & gen_t2 & \u00e9gen_t";  // é is no word character
  EXPECT_TRUE(
      VtCalcSS::replaceWholeWords(text, {L"gen_t", L"gen_n", L"unused"}, {L"abc", L"12.5"}, true));
  EXPECT_EQ(text, L"w = \"abc\" & 12.5 & gen_t2 & \u00e9\"abc\"");
  text = L"nothing here";
  EXPECT_FALSE(VtCalcSS::replaceWholeWords(text, {L"gen_t"}, {L"1"}, true));
  text = L"my var + 1";  // names with blanks are searched literally
  EXPECT_TRUE(VtCalcSS::replaceWholeWords(text, {L"MY VAR"}, {L"C2"}, false));
  EXPECT_EQ(text, L"C2 + 1");
}

TEST_F(Calc, GeneralVariablesAreReplacedInEveryCell) {
  writeSheet("Gen.vts", equationSheet(L"t = gen_name"));
  VtCalcSS& e = openEngine();
  ASSERT_EQ(e.loadFile(L"Gen"), Acad::eOk);
  e.setCellData(2, 13, L"x = gen_gap * 2");
  VtDlgStandardsData data;
  data.mGenVarNames = {L"gen_name", L"gen_gap"};
  data.mGenVarValues = {L"HEA 200", L"12.5"};
  for (auto v : {var(L"s", Input, L"", String), var(L"n", Input, L"0", Int), var(L"y", Input, L"0"),
                 var(L"x", Output, L""), var(L"t", Output, L"", String)})
    data.mVarCells.append(v);
  ASSERT_EQ(e.getFromVars(data), Acad::eOk);
  Krv_String text;
  e.getCellString(1, 13, text, Data);
  EXPECT_EQ(text, L"t = \"HEA 200\"");
  e.getCellString(2, 13, text, Data);
  EXPECT_EQ(text, L"x = 12.5 * 2");
  ASSERT_EQ(e.calcChild(data.mVarCells), Acad::eOk);
  EXPECT_EQ(data.mVarCells[4].value(), L"HEA 200");
  EXPECT_EQ(data.mVarCells[3].value(), L"25.0000000");
}

}  // namespace
}  // namespace krv::test
