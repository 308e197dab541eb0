#include "spread/cformula.h"

#include <gtest/gtest.h>

#include "platform/acad/command_line.h"
#include "platform/base/utf.h"
#include "platform/core/temp_folder_for_tests.h"
#include "platform/sheet/sheet_file.h"
#include "platform/win/person.h"
#include "spread/spread_test_support.h"

namespace krv::test {
namespace {

class FormulaWindow : public SheetOnDialog {
 protected:
  // A table: header texts Size, Hole, Grade; rows below.
  std::string writeTable() {
    sheet::ControlDocument doc;
    doc.setMaxCols(3);
    doc.setMaxRows(4);
    const wchar_t* headers[3] = {L"Size", L"Hole", L"Grade"};
    for (int c = 0; c < 3; ++c) doc.setData(c + 1, sheet::kHeaderIndex, headers[c]);
    const wchar_t* cells[4][3] = {{L"M16", L"18", L"8.8"},
                                  {L"M20", L"22", L"8.8"},
                                  {L"M24", L"26", L"10.9"},
                                  {L"M20", L"21", L"10.9"}};
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 3; ++c) doc.setData(c + 1, r + 1, cells[r][c]);
    doc.changeAttributes(2, 2, 2, 2,
                         [](sheet::CellAttributes& a) { a.type = sheet::kCellTypeNumber; });
    std::string error;
    const auto path = folder.path() / "bolts.vts";
    EXPECT_TRUE(krv::base::reportTo(sheet::saveSheetFile(doc, path), error)) << error;
    return path.string();
  }
  std::wstring valueOf(const std::wstring& formula) {
    EXPECT_TRUE(sheet.setCellFormula(1, 1, formula));
    Krv_String text;
    sheet.getCellString(1, 1, text, Value);
    return text.str();
  }

  // A table file whose cell A1 holds `a1` and A2 `a2` (formulas or data).
  std::wstring writeFormulaTable(const std::string& name, const std::wstring& a1,
                                 const std::wstring& a2) {
    sheet::ControlDocument doc;
    doc.setMaxCols(2);
    doc.setMaxRows(2);
    for (auto [row, text] : {std::pair{1, a1}, std::pair{2, a2}}) {
      if (text.starts_with(L"="))
        EXPECT_TRUE(doc.setFormula(1, row, text));
      else
        doc.setData(1, row, text);
    }
    std::string error;
    const auto path = folder.path() / name;
    EXPECT_TRUE(krv::base::reportTo(sheet::saveSheetFile(doc, path), error)) << error;
    return path.wstring();
  }
  static std::wstring lookUp(const std::wstring& table, const std::wstring& cell) {
    return L"=FROMTABLE(\"" + table + L"\", " + cell + L")";
  }

  TempFolder folder;
};

TEST_F(FormulaWindow, FromTableWithACellReferenceReturnsTheTypedCell) {
  attach(4, 4);
  const std::wstring table = Krv_String(writeTable()).str();
  ASSERT_TRUE(CFormula::registerFromTable(sheet));
  acad::CommandLineCapture out;
  EXPECT_EQ(valueOf(L"=FROMTABLE(\"" + table + L"\", B2) + 1"),
            L"23");  // a number cell gives a double
  EXPECT_NE(out.text().find(L"Result is double: 22.000000"), std::wstring::npos);
  EXPECT_EQ(valueOf(L"=FROMTABLE(\"" + table + L"\", A3)"), L"M24");
  EXPECT_NE(out.text().find(L"Result is string: M24"), std::wstring::npos);
  // A missing table or a target that is not a cell gives an empty result.
  EXPECT_EQ(valueOf(L"=FROMTABLE(\"" + table + L".missing\", A3)"), L"");
  EXPECT_EQ(valueOf(L"=FROMTABLE(\"" + table + L"\", 5)"), L"");
}

TEST_F(FormulaWindow, FromTableWithKeysTakesTheLowestMatchingRow) {
  attach(4, 4);
  const std::wstring table = Krv_String(writeTable()).str();
  ASSERT_TRUE(CFormula::registerFromTable(sheet));
  EXPECT_EQ(valueOf(L"=FROMTABLE(\"" + table + L"\", \"size\", \"Hole\", \"M20\")"), L"21");
  sheet.setCellData(3, 3, L"M16");  // a key from a cell of the calling sheet
  EXPECT_EQ(valueOf(L"=FROMTABLE(\"" + table + L"\", \"Size\", \"Grade\", C3)"), L"8.8");
  EXPECT_EQ(valueOf(L"=FROMTABLE(\"" + table + L"\", \"Size\", \"Nothing\", \"M20\")"), L"");
  EXPECT_EQ(valueOf(L"=FROMTABLE(\"" + table + L"\", \"Size\", \"Hole\", \"M99\")"), L"");
}

// The tables below never point a look-up at the cell that holds it: a
// reference argument is a cell of this sheet too, so that would be a
// circular reference here before any look-up ran.
TEST_F(FormulaWindow, FromTableRefusesALookUpIntoATableAlreadyBeingLookedUp) {
  attach(4, 4);
  ASSERT_TRUE(CFormula::registerFromTable(sheet));
  // A1 of this table looks up A2 of the same table.
  const std::wstring self = (folder.path() / "self.vts").wstring();
  writeFormulaTable("self.vts", lookUp(self, L"A2"), L"5");
  acad::CommandLineCapture out;
  ASSERT_TRUE(sheet.setCellFormula(2, 1, L"=1+1"));
  ASSERT_TRUE(sheet.setCellFormula(4, 4, lookUp(self, L"A1")));
  EXPECT_NE(out.text().find(L"self.vts is already being looked up"), std::wstring::npos)
      << out.text();
  ASSERT_TRUE(sheet.setCellFormula(3, 1, L"=B1*10"));
  EXPECT_EQ(valueOf(L"=C1+1"), L"21") << "the rest of the sheet goes on";

  // The same through a second table: A1 of a.vts looks up B1 of b.vts,
  // which looks up A1 of a.vts.
  const std::wstring a = (folder.path() / "a.vts").wstring(),
                     b = (folder.path() / "b.vts").wstring();
  writeFormulaTable("a.vts", lookUp(b, L"B1"), L"");
  sheet::ControlDocument second;
  second.setMaxCols(2);
  second.setMaxRows(1);
  ASSERT_TRUE(second.setFormula(2, 1, lookUp(a, L"A1")));
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(sheet::saveSheetFile(second, folder.path() / "b.vts"), error))
      << error;
  out.clear();
  ASSERT_TRUE(sheet.setCellFormula(4, 3, lookUp(a, L"A1")));
  EXPECT_NE(out.text().find(L"a.vts is already being looked up"), std::wstring::npos) << out.text();
}

TEST_F(FormulaWindow, FromTableNestsUpToAFixedDepth) {
  attach(4, 4);
  ASSERT_TRUE(CFormula::registerFromTable(sheet));
  // Table i holds its look-up of table i + 1 in A1 (i even) or A2 (i odd);
  // the last one holds the value 7 there.
  auto chain = [&](int length) {
    const std::string prefix = "chain" + std::to_string(length) + "_";
    auto path = [&](int i) {
      return (folder.path() / (prefix + std::to_string(i) + ".vts")).wstring();
    };
    for (int i = 0; i < length; ++i) {
      const std::wstring content =
          i + 1 < length ? lookUp(path(i + 1), i % 2 ? L"A1" : L"A2") : L"7";
      writeFormulaTable(prefix + std::to_string(i) + ".vts", i % 2 ? L"" : content,
                        i % 2 ? content : L"");
    }
    return path(0);
  };
  acad::CommandLineCapture out;
  ASSERT_TRUE(sheet.setCellFormula(4, 4, lookUp(chain(3), L"A1")));
  Krv_String shown;
  sheet.getCellString(4, 4, shown, Value);
  EXPECT_EQ(shown, L"7") << "three tables inside one another are fine";
  EXPECT_EQ(out.text().find(L"refused"), std::wstring::npos) << out.text();
  ASSERT_TRUE(sheet.setCellFormula(4, 4, lookUp(chain(CFormula::kMaxFromTableNesting + 2), L"A1")));
  EXPECT_NE(out.text().find(L"nested deeper than"), std::wstring::npos) << out.text();
}

TEST_F(FormulaWindow, ButtonsSwitchCalculationAndLoadAndSave) {
  CFormula window;
  ASSERT_TRUE(window.Create(CFormula::IDD, &dialogWnd));
  window.ShowWindow(SW_SHOW);
  CWnd* recalc = window.GetDlgItem(CFormula::kRecalcButton);
  ASSERT_NE(recalc, nullptr);
  EXPECT_TRUE(recalc->IsWindowEnabled());
  EXPECT_EQ(window.IsDlgButtonChecked(CFormula::kStyleDefault), UINT(BST_CHECKED));
  krv::win::Person::click(&window, CFormula::kAutoCalcCheck);
  EXPECT_FALSE(recalc->IsWindowEnabled());
  EXPECT_TRUE(window.mSheet.getBoolOption(krv::spread::kOptionAutoCalc));
  krv::win::Person::click(&window, CFormula::kAutoCalcCheck);
  EXPECT_TRUE(recalc->IsWindowEnabled());

  acad::CommandLineCapture out;
  window.SetDlgItemText(CFormula::kFileEdit, (folder.path() / "none.vts").wstring().c_str());
  krv::win::Person::click(&window, CFormula::kLoadButton);
  EXPECT_NE(out.text().find(L"Load failed\n"), std::wstring::npos);
  window.mSheet.setCellFormula(4, 1, L"=2*3");
  window.SetDlgItemText(CFormula::kFileEdit, (folder.path() / "saved.vts").wstring().c_str());
  krv::win::Person::click(&window, CFormula::kSaveButton);
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "saved.vts"));
  krv::win::Person::click(&window, CFormula::kStyleR1C1);
  Krv_String shown;
  window.mSheet.getCellString(1, 1, shown, Data);
  EXPECT_EQ(shown, L"=2*3");  // column 1 shows the formulas of column 4
  window.DestroyWindow();
}

TEST_F(FormulaWindow, SavesAndLoadsASheetWhosePathIsNotAscii) {
  // The path's bytes are UTF-8; the process runs in the "C" locale, where a
  // locale conversion of such a path throws.
  CFormula window;
  ASSERT_TRUE(window.Create(CFormula::IDD, &dialogWnd));
  window.ShowWindow(SW_SHOW);
  const std::filesystem::path file = folder.path() / std::filesystem::path(u8"Träger ∅.vts");
  const std::wstring name = krv::base::utf8ToWide(file.string());
  window.mSheet.setCellFormula(4, 1, L"=6*7");
  window.SetDlgItemText(CFormula::kFileEdit, name.c_str());
  krv::win::Person::click(&window, CFormula::kSaveButton);
  ASSERT_TRUE(std::filesystem::exists(file)) << "saved under the name as typed";
  window.mSheet.setCellFormula(4, 1, L"=1");
  krv::win::Person::click(&window, CFormula::kLoadButton);
  Krv_String formula;
  window.mSheet.getCellString(4, 1, formula, Formula);
  EXPECT_EQ(formula.str(), L"=6*7") << "the sheet read back is the one saved";
  window.DestroyWindow();
}

}  // namespace
}  // namespace krv::test
