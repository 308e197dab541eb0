#include "standards/vt_object_map.h"

#include <gtest/gtest.h>

#include "platform/core/krv_settings.h"
#include "platform/core/macro_access.h"
#include "platform/core/macro_test_macro.h"

namespace {

VtObjectMap parsed(const Krv_String& ssVariable, const Krv_String& mappingStr) {
  VtObjectMap object;
  EXPECT_EQ(object.getMappingFromStrs(ssVariable, mappingStr), Acad::eOk) << mappingStr.utf8();
  return object;
}

TEST(VtObjectMapText, ParsesAndWritesMappingStrings) {
  VtObjectMap genVar = parsed(L"G", L"•GenVar gen_x");
  EXPECT_EQ(genVar.kind(), kMapGenVar);
  EXPECT_TRUE(genVar.group().isEmpty());
  EXPECT_EQ(genVar.objectName(), L"gen_x");
  Krv_String text, ssVariable;
  ASSERT_EQ(genVar.setMappingToStrs(text, ssVariable), Acad::eOk);
  EXPECT_EQ(text, L"•GenVar gen_x");
  EXPECT_EQ(ssVariable, L"G");

  VtObjectMap distance = parsed(L"L", L"Plate•Distance");
  EXPECT_EQ(distance.kind(), kMapDistance);
  EXPECT_TRUE(distance.objectName().isEmpty());
  ASSERT_EQ(distance.setMappingToStrs(text, ssVariable), Acad::eOk);
  EXPECT_EQ(text, L"Plate•Distance ");

  // Blanks around the word are stripped; case is ignored; the name may hold
  // blanks of its own.
  VtObjectMap chamfer = parsed(L"C", L"Plate•  cutchamferoffset2 Corner cut ");
  EXPECT_EQ(chamfer.kind(), 10);
  EXPECT_EQ(chamfer.objectName(), L"Corner cut");
  // The first word in table order wins: "CutOffset" is tested before the
  // longer cut words, which do not start with it.
  EXPECT_EQ(parsed(L"x", L"B•PatternReverseStart2 Rows").kind(), kMapPatternReverseStart2);
  EXPECT_EQ(parsed(L"x", L"B•CutOffsetX Cut").kind(), kMapCutOffset);
}

TEST(VtObjectMapText, RefusesMalformedStringsAndKeepsTheObject) {
  VtObjectMap object = parsed(L"L", L"Plate•Distance Thick");
  object.setCategory(1);
  EXPECT_EQ(object.getMappingFromStrs(L"X", L"Plate Distance Thick"), Acad::eInvalidInput);
  EXPECT_EQ(object.getMappingFromStrs(L"X", L"Plate•Length Thick"), Acad::eInvalidInput);
  EXPECT_EQ(object.ssVariable(), L"L");
  EXPECT_EQ(object.kind(), kMapDistance);
  EXPECT_EQ(object.category(), 1);
  Krv_String text, ssVariable;
  for (int kind : {0, 22, -1}) {
    object.setKind(kind);
    EXPECT_EQ(object.setMappingToStrs(text, ssVariable), Acad::eInvalidInput) << kind;
  }
}

TEST(VtObjectMapText, CompatibilityIgnoresSheetVariableCategoryAndCase) {
  VtObjectMap a = parsed(L"L1", L"Plate•Distance Thick");
  VtObjectMap b = parsed(L"Other", L"PLATE•Distance thick");
  b.setCategory(0);
  b.setLabel(L"x");
  EXPECT_EQ(a.isCompatible(b), Acad::eOk);
  EXPECT_EQ(a.isCompatible(parsed(L"L1", L"Plate•CutOffset Thick")), Acad::eInvalidInput);
  EXPECT_EQ(a.isCompatible(parsed(L"L1", L"Beam•Distance Thick")), Acad::eInvalidInput);
}

TEST(VtObjectMapText, DisplayTexts) {
  EXPECT_EQ(parsed(L"", L"Plate•Distance Thick").displayText(), L"Plate.Thick");
  EXPECT_EQ(parsed(L"", L"•GenVar gen_x").displayText(), L"gen_x.GenVar");
  EXPECT_EQ(parsed(L"", L"Plate•CutRadius Corner").displayText(), L"Plate.Corner.CutRadius");
  EXPECT_EQ(parsed(L"", L"Bolts•BoltsDiameter").displayText(), L"BoltsBoltsDiameter");
  VtObjectMap size = parsed(L"", L"•MemberSectionSize Prof1;3");
  size.setLabel(L" tf");
  EXPECT_EQ(size.displayText(), L"Prof1;3 tf");
}

class VtObjectMapAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    Krv_Settings::setLibDir(Krv_String(KRV_SOURCE_DIR) + L"/examples/library/");
  }
  void TearDown() override { Krv_Settings::setLibDir(L""); }

  Krv_String read(const Krv_String& mappingStr) {
    VtObjectMap object = parsed(L"v", mappingStr);
    Krv_String value = L"untouched";
    last = object.getMacroVarValue(&db, &data, value, nullptr);
    return value;
  }
  Acad::ErrorStatus write(const Krv_String& mappingStr, Krv_String value) {
    VtObjectMap object = parsed(L"v", mappingStr);
    return object.setMacroVarValue(&db, &data, value, nullptr);
  }
  Krv_Module* module(const wchar_t* name) { return db.macroWrite()->findModuleWrite(name); }
  MacroTabData* tab(const wchar_t* name) {
    int i = -1;
    return data.findTab(name, i) ? data.getTab(i) : nullptr;
  }

  Krv_DbMacro db{krv::test::endPlateMacro()};
  MacroData data = krv::test::endPlateData(db);
  Acad::ErrorStatus last = Acad::eOk;
};

TEST_F(VtObjectMapAccess, ADistanceReachesEveryModuleOfTheGroupAndTheLastReaderWins) {
  ASSERT_EQ(write(L"Plate•Distance Thick", L"25"), Acad::eOk);
  for (const wchar_t* name : {L"Plate1", L"Plate2", L"Plate3"})
    EXPECT_EQ(module(name)->findConstrVar(L"Thick")->value, 25.0) << name;
  // Writing turned the fixed variable flexible.
  bool flexible = false, fixed = true;
  ASSERT_EQ(tab(L"Plate")->getFlexFixBtnStatus(L"Thick", flexible, fixed), Acad::eOk);
  EXPECT_TRUE(flexible);
  EXPECT_FALSE(fixed);

  module(L"Plate2")->findConstrVar(L"Thick")->value = 12;
  module(L"Plate3")->findConstrVar(L"Thick")->value = 13;
  EXPECT_EQ(read(L"Plate•Distance Thick"), L"13.00000000");
  EXPECT_EQ(last, Acad::eOk);
}

TEST_F(VtObjectMapAccess, ModuleKindsSucceedOnceTheGroupIsListed) {
  // No module has the variable, yet the group exists: eOk, value untouched.
  EXPECT_EQ(read(L"Plate•Distance Nothing"), L"untouched");
  EXPECT_EQ(last, Acad::eOk);
  EXPECT_EQ(read(L"NoGroup•Distance Thick"), L"untouched");
  EXPECT_EQ(last, Acad::eInvalidInput);
  VtObjectMap object = parsed(L"v", L"Plate•Distance Thick");
  Krv_String value;
  EXPECT_EQ(object.getMacroVarValue(nullptr, &data, value, nullptr), Acad::eInvalidInput);
  // Without macro data no module is reached.
  EXPECT_EQ(object.getMacroVarValue(&db, nullptr, value, nullptr), Acad::eOk);
  EXPECT_TRUE(value.isEmpty());
}

TEST_F(VtObjectMapAccess, CutsBoltsAndPatterns) {
  ASSERT_EQ(write(L"Plate•CutChamferOffset1 Corner", L"7.25"), Acad::eOk);
  EXPECT_EQ(module(L"Plate3")->findCut(L"Corner")->offsets[kCutChamferOffset1], 7.25);
  EXPECT_EQ(read(L"Plate•CutChamferOffset1 Corner"), L"7.2500000");
  // An offset that a chamfer does not offer is not read.
  EXPECT_EQ(read(L"Plate•CutOffset Corner"), L"untouched");

  EXPECT_EQ(read(L"Bolts•BoltsDiameter"), L"20");
  ASSERT_EQ(write(L"Bolts•BoltsHoleOffset", L"3"), Acad::eOk);
  EXPECT_EQ(tab(L"Bolts")->getBoltData()->mHoleOffset, L"3");
  EXPECT_EQ(read(L"Beam•BoltsDiameter"), L"untouched");  // the Beam tab has no bolts

  EXPECT_EQ(read(L"Bolts•PatternNrBolts2 Rows"), L"3");
  ASSERT_EQ(write(L"Bolts•PatternNrBolts1 Rows", L"5"), Acad::eOk);
  EXPECT_EQ(read(L"Bolts•PatternNrBolts1 Rows"), L"5");
}

TEST_F(VtObjectMapAccess, ReverseStartIsOneForAReversedStart) {
  // The core reports true (start kept) for a pattern that is not reversed.
  EXPECT_EQ(read(L"Bolts•PatternReverseStart1 Rows"), L"0");
  ASSERT_EQ(write(L"Bolts•PatternReverseStart2 Rows", L"1"), Acad::eOk);
  EXPECT_TRUE(module(L"Bolts1")->findPattern(Krv_String(L"Rows"))->reverseStart2);
  EXPECT_EQ(read(L"Bolts•PatternReverseStart2 Rows"), L"1");
  // A one-direction pattern has no second direction.
  EXPECT_EQ(read(L"Bolts•PatternReverseStart2 Single"), L"untouched");
}

TEST_F(VtObjectMapAccess, GeneralVariablesAndMemberNames) {
  EXPECT_EQ(read(L"•GenVar gen_gap"), L"10.00000000");
  ASSERT_EQ(write(L"•GenVar gen_gap", L"12.5"), Acad::eOk);
  double gap = 0;
  db.macro()->generalVariableValue(L"gen_gap", gap);
  EXPECT_EQ(gap, 12.5);
  EXPECT_EQ(read(L"•GenVar gen_none"), L"untouched");
  EXPECT_EQ(last, Acad::eInvalidInput);

  ASSERT_EQ(write(L"Beam•OwnedMemberName Rafter", L"B-12"), Acad::eOk);
  EXPECT_EQ(read(L"Beam•OwnedMemberName Rafter"), L"B-12");
}

TEST_F(VtObjectMapAccess, BaseProfilesAreReadOnly) {
  EXPECT_EQ(read(L"•PrPlName Prof1"), L"IPE 300");
  EXPECT_EQ(read(L"•PrPlMaterial Prof0"), L"S355");
  EXPECT_EQ(read(L"•PrPlName ProfAB"), L"untouched");
  EXPECT_EQ(last, Acad::eInvalidInput);
  EXPECT_EQ(read(L"•PrPlName Prof7"), L"untouched");
  EXPECT_EQ(last, Acad::eInvalidInput);
  EXPECT_EQ(write(L"•PrPlName Prof1", L"IPE 200"), Acad::eInvalidInput);

  // Column 3 of IPE 300 (h b tw tf ...) is the flange thickness.
  EXPECT_EQ(read(L"•MemberSectionSize Prof1;3"), L"10.7");
  EXPECT_EQ(last, Acad::eOk);
  EXPECT_EQ(read(L"•MemberSectionSize Prof1;99"), L"untouched");
  EXPECT_EQ(last, Acad::eInvalidInput);
  EXPECT_EQ(write(L"•MemberSectionSize Prof1;3", L"1"), Acad::eInvalidInput);
}

class VtNamedAccess : public VtObjectMapAccess {
 protected:
  Krv_String named(const Krv_String& name, VtValueType type, const wchar_t* moduleName = L"Beam1") {
    Krv_String value = L"untouched";
    last = getSetNamedVarValue(name, type, db.macroWrite(), module(moduleName), &data, value, true,
                               nullptr);
    return value;
  }
  Acad::ErrorStatus put(const Krv_String& name, VtValueType type, Krv_String value,
                        const wchar_t* moduleName) {
    return getSetNamedVarValue(name, type, db.macroWrite(), module(moduleName), &data, value, false,
                               nullptr);
  }
};

TEST_F(VtNamedAccess, NameAndMaterialOfPlacementsElseAConstraint) {
  EXPECT_EQ(named(L"Rafter.Name", String), L"IPE 300");
  EXPECT_EQ(named(L"rafter.material", String), L"S235");
  EXPECT_EQ(named(L"Stub.Name", String), L"untouched");
  EXPECT_EQ(last, Acad::eInvalidInput);
  module(L"Beam1")->addConstrVar({L"Stub.Name", 42.0, true, true});
  EXPECT_EQ(named(L"Stub.Name", Double), L"42.00000000");
  EXPECT_EQ(last, Acad::eOk);
  EXPECT_EQ(named(L"Stub.Name", String), L"untouched");
  EXPECT_EQ(named(L"Len", Int), L"3000.00000000");
}

TEST_F(VtNamedAccess, GeneralVariablesCutsBoltsAndMembers) {
  EXPECT_EQ(named(L"gen.gap", Double), L"10.0000");
  EXPECT_EQ(named(L"gen.missing", Double), L"untouched");
  EXPECT_EQ(last, Acad::eInvalidInput);
  EXPECT_EQ(named(L"gen.gap", String), L"untouched");  // a text is no general variable

  EXPECT_EQ(named(L"EndCut.Cut", Double), L"5.0000000");
  ASSERT_EQ(put(L"EndCut.CutLength", Double, L"30", L"Beam1"), Acad::eOk);
  EXPECT_EQ(named(L"EndCut.CutLength", Double), L"30.0000000");
  EXPECT_EQ(named(L"EndCut.CutRadius", Double), L"untouched");  // not offered by cut type 1

  EXPECT_EQ(named(L"x.Diameter", Double, L"Bolts1"), L"20");
  EXPECT_EQ(named(L"Rows.NrBolts2", String, L"Bolts1"), L"3");
  EXPECT_EQ(named(L"Rows.ReverseStart1", Int, L"Bolts1"), L"0");
  EXPECT_EQ(named(L"Rows.ReverseStart1", Int, L"Beam1"), L"untouched");
  EXPECT_EQ(last, Acad::eInvalidInput);

  ASSERT_EQ(put(L"Rafter.MemberName", String, L"R1", L"Beam1"), Acad::eOk);
  EXPECT_EQ(named(L"Rafter.MemberName", String), L"R1");
  EXPECT_EQ(named(L"Anything", String), L"untouched");
  EXPECT_EQ(last, Acad::eInvalidInput);
  // A module without a tab reaches nothing.
  data.mTabs.removeAll();
  EXPECT_EQ(named(L"Len", Double), L"untouched");
}

}  // namespace
