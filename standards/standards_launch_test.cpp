// Evaluations through the exported entry points: child calls and their
// binding, the guard against circular calls, the dialog pool, a main
// evaluation of the sample library, and reading sheet files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/acad/command_line.h"
#include "platform/core/macro_file.h"
#include "standards/calc_timers.h"
#include "standards/vt_calc_ss_test_support.h"

namespace krv::test {
namespace {

using namespace krv::standards;

using Launch = CalcFixture;

// A child with one input and one output: out = in * 2.
SheetRows doubler() {
  return {{L"Input"}, {L""},           {L"Double in"}, {L"Output"},
          {L""},      {L"Double out"}, {L"Calc"},      {L"out = in * 2"}};
}

SheetRows parentCalling(const std::wstring& call, const std::wstring& bKind = L"Output") {
  SheetRows rows = {{L"Input"}, {L""}, {L"Double a"}};
  if (bKind == L"Input") rows.push_back({L"Double b"});
  rows.push_back({L"Output"});
  rows.push_back({L""});
  rows.push_back({L"Double c"});
  if (bKind == L"Output") rows.push_back({L"Double b"});
  rows.push_back({L"Calc"});
  rows.push_back({call});
  rows.push_back({L"c = b + 1"});
  return rows;
}

VtVarCells vars(std::initializer_list<VtVarCell> cells) {
  VtVarCells list;
  for (const auto& c : cells) list.append(c);
  return list;
}

TEST_F(Launch, ChildCallBindsInputsThenOutputsAndWritesResultsBack) {
  writeSheet("Childs/Doubler.vts", doubler());
  writeSheet("Parent.vts", parentCalling(L"CallChild(\"Doubler.vts\", a, b)"));
  VtVarCells v = vars({var(L"a", Input, L"21"), var(L"c", Output, L""), var(L"b", Output, L"")});
  ASSERT_TRUE(runChild(L"Parent", v));
  EXPECT_EQ(v[1].value(), L"43.0000000");  // c = b + 1 saw the child's result
  EXPECT_EQ(v[2].value(), L"42.0000000");
  EXPECT_EQ(gSSDlgsMgr.dialogCount(), 2);  // the child ran in a dialog of its own
  EXPECT_EQ(gSSDlgsMgr.inUseCount(), 0);

  // A second run reuses both dialogs.
  ASSERT_TRUE(runChild(L"Parent", v));
  EXPECT_EQ(gSSDlgsMgr.dialogCount(), 2);
}

TEST_F(Launch, ChildBindingFailures) {
  writeSheet("Childs/Doubler.vts", doubler());
  // b is an input of the parent: the child's output would be bound to it.
  writeSheet("InputB.vts", parentCalling(L"CallChild(\"Doubler.vts\", a, b)", L"Input"));
  VtVarCells v = vars({var(L"a", Input, L"1"), var(L"b", Input, L"2"), var(L"c", Output, L"")});
  ui->answerMessageBox(IDOK, L"CallChild(\"Doubler.vts\", a, b)\nSpreadsheet : ");
  ASSERT_TRUE(runChild(L"InputB", v));  // the failing cell does not stop the sheet
  EXPECT_EQ(v[2].value(), L"3.0000000");

  // Fewer variables passed than the child declares.
  writeSheet("TooFew.vts", parentCalling(L"CallChild(\"Doubler.vts\", a)"));
  v = vars({var(L"a", Input, L"1"), var(L"c", Output, L""), var(L"b", Output, L"5")});
  ui->answerMessageBox(IDOK, L"CallChild(\"Doubler.vts\", a)");
  ASSERT_TRUE(runChild(L"TooFew", v));
  EXPECT_EQ(v[2].value(), L"5");  // untouched

  // A missing child, an unknown variable, a call without its parenthesis.
  writeSheet("Broken.vts", parentCalling(L"CallChild(\"Nobody.vts\", a, b)"));
  v = vars({var(L"a", Input, L"1"), var(L"c", Output, L""), var(L"b", Output, L"5")});
  ui->answerMessageBox(IDOK, L"Nobody.vts");
  ASSERT_TRUE(runChild(L"Broken", v));
  writeSheet("Unknown.vts", parentCalling(L"CallChild(\"Doubler.vts\", a, zz)"));
  ui->answerMessageBox(IDOK, L"zz)");
  ASSERT_TRUE(runChild(L"Unknown", v));
  writeSheet("Open.vts", parentCalling(L"b = CallChild \"Doubler.vts\", a, b"));
  ui->answerMessageBox(IDOK, L"CallChild \"Doubler.vts\"");
  ASSERT_TRUE(runChild(L"Open", v));
  EXPECT_EQ(gSSDlgsMgr.inUseCount(), 0);
}

TEST_F(Launch, ChildModeNeedsEnoughPassedVariables) {
  writeSheet("Childs/Doubler.vts", doubler());
  VtVarCells none;
  EXPECT_FALSE(runChild(L"Childs\\Doubler", none));
  VtVarCells one = vars({var(L"x", Input, L"4")});
  EXPECT_FALSE(runChild(L"Childs\\Doubler", one));
  VtVarCells wrong = vars({var(L"x", Input, L"4"), var(L"y", Input, L"0")});
  EXPECT_FALSE(runChild(L"Childs\\Doubler", wrong));  // an output bound to a passed input
  VtVarCells surplus =
      vars({var(L"x", Input, L"4"), var(L"y", Output, L"0"), var(L"z", Output, L"9")});
  ASSERT_TRUE(runChild(L"Childs\\Doubler", surplus));
  EXPECT_EQ(surplus[1].value(), L"8.0000000");
  EXPECT_EQ(surplus[1].name(), L"y");  // only the value is copied back
  EXPECT_EQ(surplus[2].value(), L"9");

  VtDlgStandardsData other;
  other.mMode = VtDlgStandardsData::kLoadOnly;
  other.mStandardsName = L"Childs\\Doubler";
  EXPECT_TRUE(StartDlgStandardsSS(other));  // loads only
  other.mStandardsName = L"Childs\\Missing";
  EXPECT_FALSE(StartDlgStandardsSS(other));
  EXPECT_EQ(gSSDlgsMgr.inUseCount(), 0);
}

TEST_F(Launch, SheetsThatCallThemselvesAreRefused) {
  // Directly.
  const Krv_String self = writeSheet("Self.vts", parentCalling(L"CallChild(\"Self.vts\", a, b)"));
  VtVarCells v = vars({var(L"a", Input, L"1"), var(L"c", Output, L""), var(L"b", Output, L"2")});
  ui->answerMessageBox(IDOK, L"Self.vts");
  ASSERT_TRUE(runChild(self, v));
  EXPECT_EQ(v[1].value(), L"3.0000000");

  // Through another sheet: A calls B, B calls A. B's call is refused with
  // its message; B's other cells and A still evaluate, and nothing hangs.
  writeSheet("A.vts", parentCalling(L"CallChild(\"B.vts\", a, c, b)"));
  writeSheet("B.vts", parentCalling(L"CallChild(\"A.vts\", a, c, b)"));
  ui->answerMessageBox(IDOK, L"CallChild(\"A.vts\", a, c, b)\nSpreadsheet : ");
  v[2].set(L"b", Output, Double, L"5");
  ASSERT_TRUE(runChild(L"A", v));
  EXPECT_EQ(ui->messageBoxes().size(), 2u);
  EXPECT_NE(ui->messageBoxes()[1].text.find(L"B.vts (line: 9)"), std::wstring::npos);
  EXPECT_EQ(v[2].value(), L"5");  // B returned the b it was given
  EXPECT_EQ(v[1].value(), L"6.0000000");
  EXPECT_EQ(gSSDlgsMgr.inUseCount(), 0);
}

TEST_F(Launch, NestingIsLimited) {
  // Sheet i calls sheet i + 1; the last one only computes.
  const int chain = VtCalcSS::kMaxNesting + 3;
  for (int i = 0; i < chain; ++i) {
    const std::wstring next = L"CallChild(\"N" + std::to_wstring(i + 1) + L".vts\", a, c, b)";
    SheetRows rows = parentCalling(i + 1 < chain ? next : L"b = a * 10");
    writeSheet("N" + std::to_string(i) + ".vts", rows);
  }
  VtVarCells v = vars({var(L"a", Input, L"1"), var(L"c", Output, L""), var(L"b", Output, L"0")});
  // The 32nd sheet's call is refused; the sheets above it still finish.
  ui->answerMessageBox(IDOK, L"CallChild(\"N32.vts\", a, c, b)");
  ASSERT_TRUE(runChild(L"N0", v));
  ASSERT_EQ(ui->messageBoxes().size(), 1u);
  EXPECT_NE(ui->messageBoxes().front().text.find(L"N31.vts (line: 9)"), std::wstring::npos);
  EXPECT_EQ(gSSDlgsMgr.dialogCount(), VtCalcSS::kMaxNesting);
  EXPECT_EQ(gSSDlgsMgr.inUseCount(), 0);

  // A chain within the limit evaluates to its end.
  for (int i = 0; i < 3; ++i)
    writeSheet("S" + std::to_string(i) + ".vts",
               parentCalling(i < 2 ? L"CallChild(\"S" + std::to_wstring(i + 1) + L".vts\", a, c, b)"
                                   : L"b = a * 10"));
  v = vars({var(L"a", Input, L"1"), var(L"c", Output, L""), var(L"b", Output, L"0")});
  ASSERT_TRUE(runChild(L"S0", v));
  EXPECT_EQ(v[2].value(), L"10.0000000");
}

TEST_F(Launch, ChildFilesAreFoundNextToTheCallerFirst) {
  writeSheet("Sub/Parent.vts", parentCalling(L"CallChild(\"Doubler.vts\", a, b)"));
  SheetRows tripler = doubler();
  tripler.back() = {L"out = in * 3"};
  writeSheet("Sub/Doubler.vts", tripler);
  writeSheet("Childs/Doubler.vts", doubler());
  VtVarCells v = vars({var(L"a", Input, L"1"), var(L"c", Output, L""), var(L"b", Output, L"0")});
  ASSERT_TRUE(runChild(L"Sub\\Parent", v));
  EXPECT_EQ(v[2].value(), L"3.0000000");

  VtCalcSS& e = openEngine();
  ASSERT_EQ(e.loadFile(L"Sub\\Parent"), Acad::eOk);
  EXPECT_EQ(e.findChildFile(L"\\Doubler.vts"), lib.text("Connection Standards\\Sub\\Doubler.vts"));
  EXPECT_EQ(e.findChildFile(L"Nobody.vts"), L"Nobody.vts");
}

TEST_F(Launch, MainEvaluationOfTheSampleWritesTheMacro) {
  Krv_Settings::setLibDir(Krv_String(KRV_SOURCE_DIR "/examples/library/"));
  Krv_DbMacro db;
  MacroData macroData;
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(
      krv::core::readMacroFile(
          Krv_String(KRV_SOURCE_DIR "/examples/library/Macros/EndPlateBeam.json"), db, macroData),
      error))
      << error;
  AcTransaction transaction;
  VtDlgStandardsData data;
  ASSERT_EQ(data.initialize(&db, L"EndPlate", L"EndPlateBeam", &macroData), Acad::eOk);
  EXPECT_FALSE(StartDlgStandardsSS(data));  // no transaction
  data.mTransaction = &transaction;
  data.mGenVarNames = {L"gen_edge_margin", L"gen_bolt_set"};
  data.mGenVarValues = {L"10", L"M20 8.8"};
  resetStandardsTimers();
  ASSERT_TRUE(StartDlgStandardsSS(data));
  EXPECT_EQ(gCalcMain.count(), 1);
  EXPECT_EQ(gCalcChild.count(), 1);

  // Every variable of the sheet, in collection order, with its final value.
  ASSERT_GE(data.mVarCells.length(), 12);
  EXPECT_EQ(data.mVarCells[0].name(), L"BeamDepth");
  EXPECT_TRUE(data.mVarCells[data.mVarCells.length() - 1].isLocal());
  const auto valueOf = [&](const wchar_t* name) {
    int i = -1;
    return data.mVarCells.findVarCell(name, i) == Acad::eOk ? data.mVarCells[i].value()
                                                            : Krv_String(L"?");
  };
  EXPECT_EQ(valueOf(L"PlateWidth"), L"180.0000000");  // 150 + 2 x 10, up to a standard width
  EXPECT_EQ(valueOf(L"PlateThick"), L"15.0000000");
  EXPECT_EQ(valueOf(L"HoleDia"), L"22");
  EXPECT_EQ(valueOf(L"Pitch"), L"75.0000000");
  EXPECT_EQ(valueOf(L"BoltSet"), L"M20 8.8");

  const Krv_Module* plate = db.macro()->findModule(L"Plate1");
  ASSERT_NE(plate, nullptr);
  const std::string text = krv::core::macroToText(db, macroData);
  EXPECT_NE(text.find("\"nrBolts2\": 4"), std::string::npos);
  EXPECT_EQ(gSSDlgsMgr.inUseCount(), 0);
}

// ---- why an evaluation failed ------------------------------------------------------

TEST_F(Launch, AFailedEvaluationKeepsTheReason) {
  writeSheet("Childs/Doubler.vts", doubler());
  VtVarCells none;
  ASSERT_FALSE(runChild(L"Childs\\Missing", none));
  EXPECT_NE(lastCalcFailure().str().find(L"no such file"), std::wstring::npos)
      << lastCalcFailure().str();
  ASSERT_FALSE(runChild(L"Childs\\Doubler", none));
  EXPECT_NE(
      lastCalcFailure().str().find(L"declares 2 inputs and outputs but no variables were passed"),
      std::wstring::npos)
      << lastCalcFailure().str();
  VtVarCells wrong = vars({var(L"x", Input, L"4"), var(L"y", Input, L"0")});
  ASSERT_FALSE(runChild(L"Childs\\Doubler", wrong));
  EXPECT_NE(lastCalcFailure().str().find(L"output out"), std::wstring::npos)
      << lastCalcFailure().str();
  VtVarCells enough = vars({var(L"x", Input, L"4"), var(L"y", Output, L"0")});
  ASSERT_TRUE(runChild(L"Childs\\Doubler", enough));
  EXPECT_TRUE(lastCalcFailure().isEmpty()) << "a success leaves no reason behind";
}

TEST_F(Launch, TheReasonNamesTheMissingSectionOrTheLoadersFault) {
  writeSheet("NoCalc.vts",
             {{L"Input"}, {L""}, {L"Double in"}, {L"Output"}, {L""}, {L"Double out"}});
  writeSheet("NoInput.vts", {{L"Output"}, {L"Double out"}, {L"Calc"}, {L"out = 1"}});
  VtVarCells v = vars({var(L"x", Input, L"4"), var(L"y", Output, L"0")});
  ASSERT_FALSE(runChild(L"NoCalc", v));
  EXPECT_NE(lastCalcFailure().str().find(L"no Calc section"), std::wstring::npos)
      << lastCalcFailure().str();

  Krv_DbMacro db;
  MacroData macroData;
  db.setMacro(Krv_Macro(L"M"));
  AcTransaction transaction;
  VtDlgStandardsData data;
  ASSERT_EQ(data.initialize(&db, L"NoInput", L"M", &macroData), Acad::eOk);
  data.mTransaction = &transaction;
  ASSERT_FALSE(StartDlgStandardsSS(data));
  EXPECT_NE(lastCalcFailure().str().find(L"no Input section"), std::wstring::npos)
      << lastCalcFailure().str();

  std::filesystem::create_directories(lib.path() / "Connection Standards");
  std::ofstream(lib.path() / "Connection Standards" / "Broken.vts")
      << "{\"version\": 1,\n \"cells\": [}\n";
  ASSERT_FALSE(runChild(L"Broken", v));
  EXPECT_NE(lastCalcFailure().str().find(L"line 2"), std::wstring::npos) << lastCalcFailure().str();
}

TEST_F(Launch, TheTraceSaysWhyAChildCallFailed) {
  std::vector<std::wstring> failures;
  const CalcTraceSink previous = setCalcTraceSink([&](const CalcTraceEvent& e) {
    if (!e.ok) failures.push_back(e.result.str());
  });
  Krv_Settings::current().setCalcMessages(false);
  writeSheet("Childs/Doubler.vts", doubler());
  const auto failuresOf = [&](const std::wstring& call) {
    failures.clear();
    writeSheet("P.vts", parentCalling(call));
    VtVarCells v = vars({var(L"a", Input, L"1"), var(L"c", Output, L""), var(L"b", Output, L"5")});
    EXPECT_TRUE(runChild(L"P", v)) << "a failed child call does not fail the sheet";
    std::wstring all;
    for (const auto& f : failures) all += f + L"\n";
    return all;
  };
  EXPECT_NE(failuresOf(L"CallChild(\"Nobody.vts\", a, b)").find(L"no child sheet Nobody.vts"),
            std::wstring::npos);
  EXPECT_NE(failuresOf(L"CallChild(\"Doubler.vts\", a)")
                .find(L"declares 2 inputs and outputs but only 1 variable was passed"),
            std::wstring::npos);
  EXPECT_NE(failuresOf(L"CallChild(\"P.vts\", a, c, b)").find(L"calls itself"), std::wstring::npos);
  EXPECT_NE(failuresOf(L"CallChild(\"Doubler.vts\", a, zz)").find(L"zz"), std::wstring::npos);

  writeSheet("A.vts", parentCalling(L"CallChild(\"B.vts\", a, c, b)"));
  writeSheet("B.vts", parentCalling(L"CallChild(\"A.vts\", a, c, b)"));
  EXPECT_NE(failuresOf(L"CallChild(\"A.vts\", a, c, b)").find(L"already being evaluated"),
            std::wstring::npos);

  const int chain = VtCalcSS::kMaxNesting + 1;
  for (int i = 0; i < chain; ++i)
    writeSheet("N" + std::to_string(i) + ".vts",
               parentCalling(L"CallChild(\"N" + std::to_wstring(i + 1) + L".vts\", a, c, b)"));
  writeSheet("N" + std::to_string(chain) + ".vts", parentCalling(L"b = 1"));
  EXPECT_NE(failuresOf(L"CallChild(\"N0.vts\", a, c, b)").find(L"deeper than 32"),
            std::wstring::npos);
  setCalcTraceSink(previous);
}

TEST_F(Launch, ReadSSFileGivesNameHeaderAndRows) {
  sheet::ControlDocument doc;
  doc.setMaxCols(3);
  doc.setMaxRows(2);
  const wchar_t* cells[2][3] = {{L"Bolts", L"M20", L"22"}, {L"x", L"", L"8.8"}};
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 3; ++c) doc.setData(c + 1, r + 1, cells[r][c]);
  doc.setData(2, sheet::kHeaderIndex, L"Size");
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(sheet::saveSheetFile(doc, lib.path() / "table.vts"), error))
      << error;

  acad::CommandLineCapture out;
  Krv_String name;
  Krv_StringArray header{L"stale"};
  Krv_Array<Krv_StringArray> rows;
  ReadSSFile(lib.text("table.vts"), name, header, rows);
  EXPECT_EQ(name, L"Bolts");
  ASSERT_EQ(header.length(), 3);
  EXPECT_EQ(header[0], L"A");
  EXPECT_EQ(header[1], L"Size");
  ASSERT_EQ(rows.length(), 2);
  ASSERT_EQ(rows[1].length(), 3);
  EXPECT_EQ(rows[0][2], L"22");
  EXPECT_EQ(rows[1][1], L"");
  EXPECT_EQ(rows[1][2], L"8.8");
  EXPECT_NE(out.text().find(L"Loading spreadsheet:"), std::wstring::npos);
}

TEST_F(Launch, ReadSSFileReadsTheUsedRangeOfTheLargestSheet) {
  sheet::ControlDocument doc;
  ASSERT_TRUE(doc.setMaxCols(sheet::kControlMaxCols));
  ASSERT_TRUE(doc.setMaxRows(sheet::kControlMaxRows));
  doc.setData(1, 1, L"Bolts");
  doc.setData(2, 2, L"M20");
  doc.setData(4, sheet::kHeaderIndex, L"Grade");  // a named column counts as used
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(sheet::saveSheetFile(doc, lib.path() / "wide.vts"), error))
      << error;

  Krv_String name;
  Krv_StringArray header;
  Krv_Array<Krv_StringArray> rows;
  // 16384 x 1048576 texts would not fit in memory.
  ReadSSFile(lib.text("wide.vts"), name, header, rows);
  EXPECT_EQ(name, L"Bolts");
  ASSERT_EQ(header.length(), 4);
  EXPECT_EQ(header[3], L"Grade");
  ASSERT_EQ(rows.length(), 2);
  ASSERT_EQ(rows[1].length(), 4);
  EXPECT_EQ(rows[1][1], L"M20");

  doc.setData(sheet::kControlMaxCols, sheet::kControlMaxRows, L"far");
  ASSERT_TRUE(krv::base::reportTo(sheet::saveSheetFile(doc, lib.path() / "far.vts"), error))
      << error;
  acad::CommandLineCapture out;
  ReadSSFile(lib.text("far.vts"), name, header, rows);
  EXPECT_EQ(header.length(), 0);
  EXPECT_EQ(rows.length(), 0);
  EXPECT_NE(out.text().find(L"Spreadsheet too large to read: 16384 columns by 1048576 rows"),
            std::wstring::npos)
      << out.text();
}

}  // namespace
}  // namespace krv::test
