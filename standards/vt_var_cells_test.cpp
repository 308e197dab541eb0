#include "standards/vt_var_cells.h"

#include <gtest/gtest.h>

#include "platform/core/krv_settings.h"
#include "platform/core/macro_test_macro.h"
#include "platform/core/temp_folder_for_tests.h"
#include "platform/win/message_box.h"
#include "platform/win/user_interface_test_support.h"
#include "standards/vt_dlg_standards_data.h"

namespace {

VtVarCell cell(const Krv_String& name, VtCellType kind, VtValueType type,
               const Krv_String& value = L"old") {
  VtVarCell c;
  c.set(name, kind, type, value);
  return c;
}

TEST(VtDlgStandardsData, InitializeTakesTheModuleGroupFromTheCallerName) {
  Krv_DbMacro db;
  MacroData data;
  AcTransaction transaction;
  VtDlgStandardsData record;
  record.mMode = VtDlgStandardsData::kChildEvaluation;
  record.mTransaction = &transaction;
  ASSERT_EQ(record.initialize(&db, L"EndPlate", L"Module.Base", &data), Acad::eOk);
  EXPECT_EQ(record.mModuleGroup, L"Base");
  EXPECT_EQ(record.mMode, VtDlgStandardsData::kMainEvaluation);
  EXPECT_EQ(record.mTransaction, &transaction);
  ASSERT_EQ(record.initialize(&db, L"EndPlate", L"Base", &data), Acad::eOk);
  EXPECT_TRUE(record.mModuleGroup.isEmpty());
  ASSERT_EQ(record.initialize(&db, L"EndPlate", L"Module.Base.Left", &data), Acad::eOk);
  EXPECT_EQ(record.mModuleGroup, L"Base.Left");

  VtDlgStandardsData untouched;
  EXPECT_EQ(untouched.initialize(nullptr, L"S", L"Module.Base", &data), Acad::eInvalidInput);
  EXPECT_EQ(untouched.initialize(&db, L"S", L"Module.Base", nullptr), Acad::eInvalidInput);
  EXPECT_TRUE(untouched.mStandardsName.isEmpty());
  EXPECT_TRUE(untouched.mModuleGroup.isEmpty());
}

TEST(VtVarCells, HasSameInputComparesOnlyOwnInputs) {
  VtVarCells a, b;
  EXPECT_TRUE(a.hasSameInput(b));
  a.append(cell(L"L", Input, Double, L"10"));
  a.append(cell(L"Out", Output, Double, L"1"));
  b.append(cell(L"l", Local, Double, L"10"));  // any kind matches
  b.append(cell(L"Extra", Input, Int, L"3"));
  EXPECT_TRUE(a.hasSameInput(b));
  EXPECT_FALSE(b.hasSameInput(a));  // Extra is missing in a
  b[0].set(L"L", Local, Int, L"10");
  EXPECT_FALSE(a.hasSameInput(b));  // same text, other value type
  b[0].set(L"L", Local, Double, L"10.5");
  EXPECT_FALSE(a.hasSameInput(b));
  int index = -1;
  EXPECT_EQ(b.findVarCell(L"EXTRA", index), Acad::eOk);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(b.findVarCell(L"None", index), Acad::eInvalidInput);
}

class VtVarCellsMacro : public ::testing::Test {
 protected:
  void SetUp() override {
    Krv_Settings::setLibDir(dir.text());
    Krv_Settings::current().setCalcMessages(true);
    dir.writeBytes("Connection Standards/EndPlate.map",
                   "Mapping version 1.0\n"
                   "M1=TƒPlate•Distance Thick¿GƒBolts•BoltsDiameter¿Gapƒ•GenVar "
                   "gen_gap¿Lenƒ•GenVar gen_len\n");
    cells.append(cell(L"T", Input, Double));
    cells.append(cell(L"Tmp", Local, Double));
    cells.append(cell(L"Gap", Output, Double));
    cells.append(cell(L"Len", Output, Double));  // mapped to a general variable the macro lacks
  }
  void TearDown() override {
    Krv_Settings::setLibDir(L"");
    Krv_Settings::current().setCalcMessages(true);
  }

  TempFolder dir;
  Krv_DbMacro db{krv::test::endPlateMacro()};
  MacroData data = krv::test::endPlateData(db);
  VtVarCells cells;
};

TEST_F(VtVarCellsMacro, FetchesThroughTheMappingFileAndWarnsForWhatIsMissing) {
  krv::win::ScriptedUserInterfaceGuard ui;
  ui->answerMessageBox(IDOK, L"The following Output variable couldn't be set : \nLen\n");
  VtDlgStandardsData record;
  ASSERT_EQ(record.initialize(&db, L"EndPlate", L"M1", &data), Acad::eOk);
  const int mappings = gInitMapping.count(), fetches = gInitFromMacro.count();
  ASSERT_EQ(cells.getFromMacro(record), Acad::eOk);
  EXPECT_EQ(cells[0].value(), L"13.00000000");  // the last plate answers last
  EXPECT_EQ(cells[1].value(), L"");
  EXPECT_EQ(cells[2].value(), L"10.00000000");
  EXPECT_EQ(cells[3].value(), L"old");
  EXPECT_EQ(cells.mapping().mode(), VtSSMapping::kMacroMode);
  EXPECT_EQ(cells.mapping().mappedObjects().length(), 4);
  ASSERT_EQ(ui->messageBoxes().size(), 1u);
  EXPECT_EQ(ui->messageBoxes()[0].text,
            L"The following Output variable couldn't be set : \nLen\n"
            L"Make sure the variable exists in the macro or module.\nSpreadsheet : EndPlate");
  EXPECT_EQ(ui->messageBoxes()[0].type & MB_ICONEXCLAMATION, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(gInitMapping.count(), mappings + 1);
  EXPECT_EQ(gInitFromMacro.count(), fetches + 1);

  // The outputs go back into the macro; inputs do not.
  cells[0].set(L"T", Input, Double, L"99");
  cells[2].set(L"Gap", Output, Double, L"15");
  ASSERT_EQ(cells.setToMacro(record), Acad::eOk);
  double gap = 0;
  db.macro()->generalVariableValue(L"gen_gap", gap);
  EXPECT_EQ(gap, 15.0);
  EXPECT_EQ(db.macro()->findModule(L"Plate1")->findConstrVar(L"Thick")->value, 11.0);
}

TEST_F(VtVarCellsMacro, InputsThatCannotBeRetrievedAreNamedOnlyWhileMessagesAreOn) {
  Krv_Settings::current().setCalcMessages(false);
  krv::win::ScriptedUserInterfaceGuard ui;  // no box expected
  VtDlgStandardsData record;
  ASSERT_EQ(record.initialize(&db, L"EndPlate", L"M1", &data), Acad::eOk);
  VtVarCells failing;
  failing.append(cell(L"Unmapped", Input, Double));
  failing.append(cell(L"Tmp", Local, String));
  ASSERT_EQ(failing.getFromMacro(record), Acad::eOk);
  EXPECT_EQ(failing[0].value(), L"old");
  EXPECT_EQ(failing[1].value(), L"");  // locals are emptied even when all inputs fail

  Krv_Settings::current().setCalcMessages(true);
  ui->answerMessageBox(IDOK, L"The following Input variable couldn't be retrieved : \nUnmapped\n");
  ASSERT_EQ(failing.getFromMacro(record), Acad::eOk);
}

TEST_F(VtVarCellsMacro, WithoutMappingNothingChanges) {
  VtDlgStandardsData record;
  EXPECT_EQ(cells.getFromMacro(record), Acad::eInvalidInput);  // neither group nor macro
  ASSERT_EQ(record.initialize(&db, L"EndPlate", L"UnknownKey", &data), Acad::eOk);
  EXPECT_EQ(cells.getFromMacro(record), Acad::eOk);
  ASSERT_EQ(record.initialize(&db, L"NoMappingFile", L"M1", &data), Acad::eOk);
  EXPECT_EQ(cells.getFromMacro(record), Acad::eOk);
  for (int i = 0; i < cells.length(); ++i) EXPECT_EQ(cells[i].value(), L"old");
}

TEST_F(VtVarCellsMacro, AModuleGroupResolvesNamesDirectly) {
  krv::win::ScriptedUserInterfaceGuard ui;
  VtDlgStandardsData record;
  ASSERT_EQ(record.initialize(&db, L"EndPlate", L"Module.Bolts", &data), Acad::eOk);
  VtVarCells direct;
  direct.append(cell(L"Pitch", Input, Double));
  direct.append(cell(L"Rows.NrBolts2", Input, String));
  direct.append(cell(L"gen.weld", Output, Double));
  ASSERT_EQ(direct.getFromMacro(record), Acad::eOk);
  EXPECT_EQ(direct.mapping().mode(), VtSSMapping::kModuleGroupMode);
  EXPECT_EQ(direct[0].value(), L"70.00000000");
  EXPECT_EQ(direct[1].value(), L"3");
  EXPECT_EQ(direct[2].value(), L"4.0000");
  direct[2].set(L"gen.weld", Output, Double, L"5");
  ASSERT_EQ(direct.setToMacro(record), Acad::eOk);
  double weld = 0;
  db.macro()->generalVariableValue(L"gen_weld", weld);
  EXPECT_EQ(weld, 5.0);
}

}  // namespace
