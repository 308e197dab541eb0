#include "standards/vt_ss_mapping.h"

#include <gtest/gtest.h>

#include "platform/base/file_io.h"
#include "platform/core/krv_settings.h"
#include "platform/core/macro_file.h"
#include "platform/core/macro_test_macro.h"
#include "platform/core/temp_folder_for_tests.h"
#include "platform/core/text_file.h"
#include "standards/vt_dlg_standards_data.h"

namespace {

using namespace krv::standards;

VtObjectMap object(const Krv_String& ssVariable, const Krv_String& mappingStr, int category = 3) {
  VtObjectMap o;
  EXPECT_EQ(o.getMappingFromStrs(ssVariable, mappingStr), Acad::eOk);
  o.setCategory(category);
  return o;
}

VtSSMapping mappingOf(std::initializer_list<VtObjectMap> objects) {
  VtSSMapping m;
  for (const auto& o : objects) m.mappedObjectsWrite().append(o);
  return m;
}

TEST(VtSSMapping, FindSSVarWantsTheExactValueType) {
  VtSSMapping m = mappingOf({object(L"L", L"Plate•Distance Thick"),
                             object(L"R", L"Bolts•PatternReverseStart1 Rows"),
                             object(L"N", L"Bolts•PatternNrBolts1 Rows")});
  int index = -1;
  EXPECT_EQ(m.findSSVar(L"l", Double, index), Acad::eOk);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(m.findSSVar(L"L", Int, index), Acad::eInvalidInput);
  EXPECT_EQ(m.findSSVar(L"R", Int, index), Acad::eOk);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(m.findSSVar(L"N", Double, index), Acad::eInvalidInput);
  // getValidVars offers by numeric class, so Int sees the Distance too.
  AcArray<int> valid;
  ASSERT_EQ(m.getValidVars(true, Int, valid), Acad::eOk);
  EXPECT_EQ(valid, (AcArray<int>{0, 1}));
  ASSERT_EQ(m.getValidVars(false, String, valid), Acad::eOk);
  EXPECT_EQ(valid, (AcArray<int>{2}));
}

TEST(VtSSMapping, SortValidVarsGroupsByCategoryWithSeparators) {
  VtSSMapping m = mappingOf({object(L"a", L"P•Distance a", 3), object(L"b", L"P•Distance b", 0),
                             object(L"c", L"P•Distance c", 2), object(L"d", L"P•Distance d", 0)});
  AcArray<int> indices{0, 1, 2, 3};
  ASSERT_EQ(m.sortValidVars(indices, AcArray<int>{0, 1}), Acad::eOk);
  // Categories 3 and 2 are not in the order list: they go into the last group.
  EXPECT_EQ(indices, (AcArray<int>{-1, 1, 3, -1, 0, 2}));
  indices = {1, 3};
  ASSERT_EQ(m.sortValidVars(indices, AcArray<int>{3, 2, 0}), Acad::eOk);
  EXPECT_EQ(indices, (AcArray<int>{-1, -1, -1, 1, 3}));
  indices = {0};
  EXPECT_EQ(m.sortValidVars(indices, AcArray<int>()), Acad::eInvalidInput);
  EXPECT_TRUE(indices.isEmpty());
}

TEST(VtSSMapping, EqualityAndCompatibility) {
  VtSSMapping a =
      mappingOf({object(L"L", L"Plate•Distance Thick"), object(L"G", L"•GenVar gen_x")});
  VtSSMapping b = mappingOf({object(L"g", L"•GENVAR GEN_X"), object(L"l", L"plate•Distance thick"),
                             object(L"Extra", L"Beam•Distance Len")});
  int count = -1;
  EXPECT_EQ(a.isCompatible(a, count), Acad::eOk);
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(a.isEqual(b));  // objects only b has are not looked at
  EXPECT_FALSE(b.isEqual(a));
  EXPECT_EQ(b.isCompatible(a, count), Acad::eOk);
  EXPECT_EQ(count, 1);
  // Same address, other sheet variable: compatible, not equal.
  VtSSMapping c = mappingOf({object(L"Other", L"Plate•Distance Thick")});
  EXPECT_FALSE(c.isEqual(a));
  int index = -1;
  EXPECT_EQ(a.findCompatible(c.mappedObjects()[0], index), Acad::eOk);
  EXPECT_EQ(index, 0);
}

TEST(VtSSMapping, LinesSkipMalformedEntries) {
  VtSSMapping m = mappingOf({object(L"old", L"P•Distance a")});
  ASSERT_EQ(
      m.initMappingFromLine(
          L"K=L1ƒPlate•Distance Len¿ noFunctionSign ¿Xƒno bullet¿Yƒ•Width w¿ Gƒ•GenVar gen_x"),
      Acad::eOk);
  ASSERT_EQ(m.mappedObjects().length(), 2);
  EXPECT_EQ(m.mappedObjects()[0].ssVariable(), L"L1");
  EXPECT_EQ(m.mappedObjects()[1].ssVariable(), L"G");
  EXPECT_EQ(m.mappedObjects()[1].category(), 3);
  EXPECT_EQ(m.initMappingFromLine(L"no equals sign"), Acad::eInvalidInput);
  EXPECT_TRUE(m.mappedObjects().isEmpty());
}

class VtMappingFile : public ::testing::Test {
 protected:
  void SetUp() override {
    Krv_Settings::setLibDir(dir.text());
    std::filesystem::create_directories(dir.path() / "Connection Standards");
  }
  void TearDown() override { Krv_Settings::setLibDir(L""); }
  void writeFile(const std::string& bytes) {
    dir.writeBytes("Connection Standards/EndPlate.map", bytes);
  }
  std::string fileBytes() { return dir.readBytes("Connection Standards/EndPlate.map"); }

  TempFolder dir;
};

TEST_F(VtMappingFile, RoundTripKeepsTheSpecialCharacters) {
  VtSSMapping m = mappingOf({object(L"L1", L"Plate•Distance Len"), object(L"G", L"•GenVar gen_x"),
                             object(L"Dia", L"Bolts•BoltsDiameter")});
  Krv_String key = L"M1";
  ASSERT_EQ(m.setMappingToFile(L"EndPlate", key), Acad::eOk);
  EXPECT_EQ(fileBytes(),
            "Mapping version 1.0\nM1=L1\xC6\x92Plate\xE2\x80\xA2"
            "Distance Len\xC2\xBFG\xC6\x92\xE2\x80\xA2"
            "GenVar gen_x\xC2\xBF"
            "Dia\xC6\x92"
            "Bolts\xE2\x80\xA2"
            "BoltsDiameter \n");
  VtSSMapping back;
  ASSERT_EQ(back.getMappingFromFile(L"EndPlate", L"M1"), Acad::eOk);
  ASSERT_EQ(back.mappedObjects().length(), 3);
  EXPECT_TRUE(back.isEqual(m));
  EXPECT_TRUE(m.isEqual(back));
  EXPECT_EQ(back.mappedObjects()[2].kind(), kMapBoltsDiameter);
  Krv_String found;
  EXPECT_TRUE(m.hasSameMapping(L"EndPlate", found));
  EXPECT_EQ(found, L"M1");
  EXPECT_EQ(back.getMappingFromFile(L"EndPlate", L"m1"), Acad::eInvalidInput);  // keys are exact
}

TEST_F(VtMappingFile, AStandardNamedByItsPathHasItsMappingFileBesideIt) {
  EXPECT_EQ(VtSSMapping::mappingFilePath(L"Sub\\Plate"),
            dir.text("Connection Standards\\Sub\\Plate.map"))
      << "a name is read below the library's standards folder";
  dir.writeBytes("elsewhere/Plate.vts", "{}");
  dir.writeBytes("elsewhere/Plate.map", "K=Xƒ•GenVar gen_x\n");
  const Krv_String sheet = dir.text("elsewhere\\Plate.vts");
  EXPECT_EQ(VtSSMapping::mappingFilePath(sheet), dir.text("elsewhere\\Plate.map"));
  VtSSMapping m;
  ASSERT_EQ(m.getMappingFromFile(sheet, L"K"), Acad::eOk);
  EXPECT_EQ(m.mappedObjects().length(), 1);
  Krv_String key = L"L";
  ASSERT_EQ(m.setMappingToFile(sheet, key), Acad::eOk);
  EXPECT_NE(dir.readBytes("elsewhere/Plate.map").find("\nL="), std::string::npos)
      << "written beside the sheet too";
}

TEST_F(VtMappingFile, HeadersOfAnyVersionAreDroppedAndFilesWithoutOneAreRead) {
  writeFile("Mapping version 2.7\r\nA=Xƒ•GenVar gen_a\r\n");
  VtSSMapping m;
  ASSERT_EQ(m.getMappingFromFile(L"EndPlate", L"A"), Acad::eOk);
  EXPECT_EQ(m.mappedObjects().length(), 1);
  writeFile("B=Yƒ•GenVar gen_b");
  ASSERT_EQ(m.getMappingFromFile(L"EndPlate", L"B"), Acad::eOk);
  ASSERT_EQ(m.mappedObjects().length(), 1);
  EXPECT_EQ(m.mappedObjects()[0].objectName(), L"gen_b");
  // An empty file leaves the mapping as it was; a missing key or file fails.
  writeFile("Mapping version 1.0\n");
  ASSERT_EQ(m.getMappingFromFile(L"EndPlate", L"Z"), Acad::eOk);
  EXPECT_EQ(m.mappedObjects().length(), 1);
  writeFile("Mapping version 1.0\nA=Xƒ•GenVar gen_a\n");
  EXPECT_EQ(m.getMappingFromFile(L"EndPlate", L"Z"), Acad::eInvalidInput);
  EXPECT_EQ(m.getMappingFromFile(L"Missing", L"A"), Acad::eInvalidInput);
}

TEST_F(VtMappingFile, OneByteThatIsNotUtf8CostsNoCouplings) {
  // A UTF-8 file with one stray byte (0xE9, é in Windows-1252) in a name.
  writeFile(
      "Mapping version 1.0\nM1=L1ƒPlate•Distance Len¿Gƒ•GenVar gen_x\nM2=Caf\xE9ƒ•GenVar gen_y\n");
  VtSSMapping m;
  ASSERT_EQ(m.getMappingFromFile(L"EndPlate", L"M1"), Acad::eOk);
  EXPECT_EQ(m.mappedObjects().length(), 2) << "the separators of the valid lines stay UTF-8";
  ASSERT_EQ(m.getMappingFromFile(L"EndPlate", L"M2"), Acad::eOk);
  ASSERT_EQ(m.mappedObjects().length(), 1);
  EXPECT_EQ(m.mappedObjects()[0].ssVariable(), L"Caf\u00E9")
      << "the stray byte is read as Windows-1252";
}

TEST_F(VtMappingFile, SavingAnEqualMappingWritesNothing) {
  writeFile("Mapping version 1.0\nA=Xƒ•GenVar gen_a\nB=Lƒ•GenVar gen_b\nC=Zƒ•GenVar gen_c\n");
  VtSSMapping same = mappingOf({object(L"l", L"•GenVar GEN_B")});
  Krv_String key = L"B";
  // Any write would fail: the rename step is broken for this test.
  auto previous = krv::base::setRenameStep([](const auto&, const auto&) { return false; });
  EXPECT_EQ(same.setMappingToFile(L"EndPlate", key), Acad::eOk);
  // A changed mapping must be written, and its failure leaves the file whole.
  VtSSMapping changed = mappingOf({object(L"L", L"•GenVar gen_q")});
  EXPECT_EQ(changed.setMappingToFile(L"EndPlate", key), Acad::eInvalidInput);
  krv::base::setRenameStep(previous);
  EXPECT_EQ(fileBytes(),
            "Mapping version 1.0\nA=Xƒ•GenVar gen_a\nB=Lƒ•GenVar gen_b\nC=Zƒ•GenVar gen_c\n");
}

TEST_F(VtMappingFile, AChangedMappingMovesToTheEnd) {
  writeFile("A=Xƒ•GenVar gen_a\nbroken line\nB=Lƒ•GenVar gen_b\nC=Zƒ•GenVar gen_c\n");
  VtSSMapping changed = mappingOf({object(L"L", L"•GenVar gen_q")});
  Krv_String key = L"B";
  ASSERT_EQ(changed.setMappingToFile(L"EndPlate", key), Acad::eOk);
  EXPECT_EQ(fileBytes(),
            "Mapping version 1.0\nA=Xƒ•GenVar gen_a\nbroken line\nC=Zƒ•GenVar gen_c\nB=Lƒ•GenVar "
            "gen_q\n");
  // A new key is appended.
  key = L"D";
  ASSERT_EQ(changed.setMappingToFile(L"EndPlate", key), Acad::eOk);
  EXPECT_NE(fileBytes().find("\nD=Lƒ•GenVar gen_q\n"), std::string::npos);
}

TEST_F(VtMappingFile, AChangedMappingKeepsTheLineEndsOfTheFile) {
  writeFile("Mapping version 1.0\r\nA=Xƒ•GenVar gen_a\r\nB=Lƒ•GenVar gen_b\r\n");
  VtSSMapping changed = mappingOf({object(L"L", L"•GenVar gen_q")});
  Krv_String key = L"A";
  ASSERT_EQ(changed.setMappingToFile(L"EndPlate", key), Acad::eOk);
  EXPECT_EQ(fileBytes(), "Mapping version 1.0\r\nB=Lƒ•GenVar gen_b\r\nA=Lƒ•GenVar gen_q\r\n")
      << "only the changed key's line differs";
}

TEST_F(VtMappingFile, DuplicateAndUnsafeSheetVariablesAreLeftOut) {
  VtObjectMap noKind;
  noKind.setSSVariable(L"None");
  VtSSMapping m = mappingOf(
      {object(L"L", L"Plate•Distance Len"), object(L"l", L"Plate•Distance Width"),
       object(L"A/B", L"Plate•Distance Depth"), noKind, object(L"T", L"Plate•Distance Thick")});
  Krv_String key = L"K";
  ASSERT_EQ(m.setMappingToFile(L"EndPlate", key), Acad::eOk);
  EXPECT_EQ(fileBytes(), "Mapping version 1.0\nK=LƒPlate•Distance Len¿TƒPlate•Distance Thick\n");
}

TEST(VtSSMappingSetUp, ModesFollowTheRecord) {
  VtSSMapping m;
  EXPECT_EQ(m.initFromModuleGroup(L""), Acad::eInvalidInput);
  EXPECT_EQ(m.mode(), VtSSMapping::kNotSetUp);
  EXPECT_EQ(m.initFromModuleGroup(L"Plate"), Acad::eOk);
  EXPECT_EQ(m.mode(), VtSSMapping::kModuleGroupMode);

  Krv_DbMacro db(krv::test::endPlateMacro());
  MacroData data;
  VtDlgStandardsData record;
  EXPECT_EQ(m.initFromMacro(record), Acad::eInvalidInput);  // no macro
  ASSERT_EQ(record.initialize(&db, L"NoSuchStandard", L"Module.Plate", &data), Acad::eOk);
  EXPECT_EQ(m.initFromMacro(record), Acad::eInvalidInput);  // a module group
  EXPECT_EQ(m.mode(), VtSSMapping::kModuleGroupMode);
  ASSERT_EQ(record.initialize(&db, L"NoSuchStandard", L"M1", &data), Acad::eOk);
  EXPECT_EQ(m.initFromMacro(record), Acad::eInvalidInput);  // no mapping file
  EXPECT_EQ(m.mode(), VtSSMapping::kMacroMode);
}

TEST(VtSSMappingValues, ModuleGroupModeReadsTheFirstAndWritesAll) {
  Krv_DbMacro db(krv::test::endPlateMacro());
  MacroData data = krv::test::endPlateData(db);
  VtDlgStandardsData record;
  ASSERT_EQ(record.initialize(&db, L"EndPlate", L"Module.Plate", &data), Acad::eOk);
  VtSSMapping m;
  ASSERT_EQ(m.initFromModuleGroup(record.mModuleGroup), Acad::eOk);
  Krv_String value;
  ASSERT_EQ(m.getMacroVarValue(L"Thick", Double, value, record), Acad::eOk);
  EXPECT_EQ(value, L"11.00000000");  // Plate1 answers first
  value = L"30";
  EXPECT_EQ(m.setMacroVarValue(L"Thick", Double, value, record), Acad::eOk);
  for (const wchar_t* name : {L"Plate1", L"Plate2", L"Plate3"})
    EXPECT_EQ(db.macro()->findModule(name)->findConstrVar(L"Thick")->value, 30.0);
  EXPECT_EQ(m.getMacroVarValue(L"Unknown", Double, value, record), Acad::eInvalidInput);
  EXPECT_EQ(m.setMacroVarValue(L"Unknown", Double, value, record), Acad::eInvalidInput);
}

TEST(VtSSMappingAllVars, EveryMappableObjectOfTheMacro) {
  Krv_Settings::setLibDir(Krv_String(KRV_SOURCE_DIR) + L"/examples/library/");
  Krv_DbMacro db(krv::test::endPlateMacro());
  VtSSMapping m;
  m.mappedObjectsWrite().append(VtObjectMap());  // kept: the list is appended to
  ASSERT_EQ(m.initAllVarsFromMacro(&db, nullptr), Acad::eOk);
  Krv_StringArray texts;
  Krv_Array<int> categories;
  for (const auto& o : m.mappedObjects()) {
    texts.append(o.displayText());
    categories.append(o.category());
  }
  auto at = [&](const wchar_t* text) {
    const int i = texts.find(text, true);
    EXPECT_GE(i, 0) << Krv_String(text).utf8();
    return i;
  };
  EXPECT_EQ(at(L"Beam.Len"), 1);
  EXPECT_EQ(at(L"Beam.EndCut.CutOffset"), 2);
  EXPECT_EQ(at(L"Beam.EndCut.CutLengthOffset"), 4);
  EXPECT_EQ(at(L"Beam.Rafter.OwnedMemberName"), 5);
  EXPECT_EQ(categories[at(L"Plate.Thick")], 0);
  EXPECT_EQ(categories[at(L"Plate.Width")], 1);
  EXPECT_EQ(categories[at(L"Plate.Hidden")], 2);
  // Each of the three plate modules adds its own objects.
  EXPECT_GE(texts.find(L"Plate.Thick", true, at(L"Plate.Thick") + 1), 0);
  const int bolts = at(L"BoltsBoltsDiameter");
  EXPECT_EQ(at(L"BoltsBoltsHoleOffset"), bolts + 1);
  EXPECT_EQ(at(L"Bolts.Rows.PatternNrBolts1"), bolts + 2);
  EXPECT_EQ(at(L"Bolts.Rows.PatternReverseStart1"), bolts + 3);
  EXPECT_EQ(at(L"Bolts.Rows.PatternNrBolts2"), bolts + 4);
  EXPECT_EQ(at(L"Bolts.Rows.PatternReverseStart2"), bolts + 5);
  EXPECT_EQ(texts.find(L"Bolts.Single.PatternNrBolts2", true), -1);
  EXPECT_EQ(categories[at(L"Prof0.PrPlName")], 3);
  at(L"Prof1.PrPlMaterial");
  EXPECT_EQ(at(L"Prof1;0h"), at(L"Prof1.PrPlMaterial") + 1);
  at(L"Prof0;6G");
  EXPECT_EQ(texts.last(), L"gen_weld.GenVar");
  EXPECT_EQ(categories.last(), 0);

  Krv_DbMacro empty;
  EXPECT_EQ(m.initAllVarsFromMacro(&empty, nullptr), Acad::eInvalidInput);
  EXPECT_EQ(m.initAllVarsFromMacro(nullptr, nullptr), Acad::eInvalidInput);
  Krv_Settings::setLibDir(L"");
}

}  // namespace

namespace {

// The sample library's mapping of the end-plate standard fits its sample
// macro: every coupling of every key reads a value.
TEST(VtSSMappingSample, EveryCouplingOfTheSampleReadsFromTheSampleMacro) {
  Krv_Settings::setLibDir(Krv_String(KRV_SOURCE_DIR) + L"/examples/library/");
  Krv_DbMacro db;
  MacroData data;
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(
      krv::core::readMacroFile(
          Krv_String(KRV_SOURCE_DIR) + L"/examples/library/Macros/EndPlateBeam.json", db, data),
      error))
      << error;
  for (const wchar_t* key : {L"EndPlateBeam", L"EndPlateBeamSmall"}) {
    VtDlgStandardsData record;
    ASSERT_EQ(record.initialize(&db, L"EndPlate", key, &data), Acad::eOk);
    VtSSMapping mapping;
    ASSERT_EQ(mapping.initFromMacro(record), Acad::eOk);
    EXPECT_GE(mapping.mappedObjects().length(), 3);
    for (const auto& object : mapping.mappedObjects()) {
      VtValueType type;
      ASSERT_TRUE(mapKindValueType(object.kind(), type));
      Krv_String value;
      EXPECT_EQ(mapping.getMacroVarValue(object.ssVariable(), type, value, record), Acad::eOk)
          << object.ssVariable().utf8();
      EXPECT_FALSE(value.isEmpty()) << object.ssVariable().utf8();
    }
  }
  Krv_Settings::setLibDir(L"");
}

}  // namespace
