#include "platform/core/macro_access.h"

#include <gtest/gtest.h>

#include "platform/core/macro_test_macro.h"

namespace {

class MacroAccess : public ::testing::Test {
 protected:
  Krv_DbMacro db{krv::test::endPlateMacro()};
  Krv_Macro* macro = db.macroWrite();
};

TEST_F(MacroAccess, GroupsListTheirModulesAndLoneModulesTheirOwnName) {
  Krv_StringArray names;
  ASSERT_EQ(getModNamesOfGroup(macro, L"plate", names), Acad::eOk);
  EXPECT_EQ(names, (Krv_StringArray{L"Plate1", L"Plate2", L"Plate3"}));
  ASSERT_EQ(getModNamesOfGroup(macro, L"Stiffener", names), Acad::eOk);
  EXPECT_EQ(names, (Krv_StringArray{L"Stiffener"}));
  // A grouped module is not addressed by its own name.
  EXPECT_EQ(getModNamesOfGroup(macro, L"Plate2", names), Acad::eInvalidInput);
  EXPECT_EQ(getModNamesOfGroup(nullptr, L"Plate", names), Acad::eInvalidInput);
  EXPECT_EQ(names, (Krv_StringArray{L"Stiffener"}));  // unchanged on failure
  EXPECT_EQ(getModNamesOfGroup(macro, L"", names), Acad::eOk);
  EXPECT_TRUE(names.isEmpty());
}

TEST_F(MacroAccess, OpenModuleChecksThePositionInItsGroup) {
  Krv_Module* m = nullptr;
  EXPECT_EQ(openModule(macro, L"Plate2", 1, m), Acad::eOk);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->name(), L"Plate2");
  Krv_Module* other = nullptr;
  EXPECT_EQ(openModule(macro, L"Plate2", 0, other), Acad::eInvalidInput);
  EXPECT_EQ(openModule(macro, L"Nothing", 0, other), Acad::eInvalidInput);
  EXPECT_EQ(other, nullptr);
}

TEST_F(MacroAccess, ConstraintValuesAreWrittenAndReadAsText) {
  Krv_Module* m = macro->findModuleWrite(L"Beam1");
  Krv_String value = L"2750.5mm";
  ASSERT_EQ(getSetConstrVarValue(m, L"len", value, false), Acad::eOk);
  value = L"";
  ASSERT_EQ(getSetConstrVarValue(m, L"Len", value, true), Acad::eOk);
  EXPECT_EQ(value, L"2750.50000000");
  EXPECT_EQ(getSetConstrVarValue(m, L"Missing", value, true), Acad::eInvalidInput);
  EXPECT_EQ(value, L"2750.50000000");
}

TEST_F(MacroAccess, CutsOfferOnlyTheOffsetsOfTheirType) {
  Krv_Module* m = macro->findModuleWrite(L"Plate1");
  Krv_CutConstraint* cut = nullptr;
  ASSERT_EQ(getCutConstraint(m, L"corner", cut), Acad::eOk);
  double v = 3.5;
  EXPECT_EQ(getSetCutValue(cut, kCutChamferOffset2, v, false), Acad::eOk);
  EXPECT_EQ(getSetCutValue(cut, kCutOffset, v, false), Acad::eInvalidInput);
  v = 0;
  EXPECT_EQ(getSetCutValue(cut, kCutChamferOffset2, v, true), Acad::eOk);
  EXPECT_EQ(v, 3.5);
  AcArray<int> types;
  EXPECT_EQ(getCutOffsets(7, types), Acad::eInvalidInput);
  for (int cutType = 1; cutType <= 6; ++cutType) {
    ASSERT_EQ(getCutOffsets(cutType, types), Acad::eOk);
    for (int t : types) EXPECT_TRUE(t >= 0 && t <= 8);
  }
}

TEST_F(MacroAccess, ReverseStartReadsTheNearSideFlag) {
  Krv_Module* bolts = macro->findModuleWrite(L"Bolts1");
  Krv_BoltPattern* rows = nullptr;
  ASSERT_EQ(findPattern(bolts, L"Rows", rows), Acad::eOk);
  bool flag = true;
  ASSERT_EQ(getSetBoltPatternReverses(bolts, rows, 2, false, flag, nullptr), Acad::eOk);
  EXPECT_TRUE(rows->reverseStart2);
  ASSERT_EQ(getSetBoltPatternReverses(bolts, rows, 2, true, flag, nullptr), Acad::eOk);
  EXPECT_FALSE(flag);
  ASSERT_EQ(getSetBoltPatternReverses(bolts, rows, 1, true, flag, nullptr), Acad::eOk);
  EXPECT_TRUE(flag);

  Krv_BoltPattern* single = nullptr;
  ASSERT_EQ(findPattern(bolts, L"Single", single), Acad::eOk);
  EXPECT_EQ(getSetBoltPatternReverses(bolts, single, 2, true, flag, nullptr), Acad::eInvalidInput);
  // Patterns belong to bolt modules only.
  Krv_BoltPattern* none = nullptr;
  EXPECT_EQ(findPattern(macro->findModuleWrite(L"Beam1"), L"Rows", none), Acad::eInvalidInput);
  EXPECT_EQ(
      getSetBoltPatternReverses(macro->findModuleWrite(L"Beam1"), rows, 1, true, flag, nullptr),
      Acad::eInvalidInput);
}

TEST_F(MacroAccess, PatternsAreOpenedByTheirIds) {
  const Krv_Module* bolts = macro->findModule(L"Bolts1");
  AcArray<AcDbObjectId> ids;
  ASSERT_EQ(getPatternIds(bolts, ids), Acad::eOk);
  ASSERT_EQ(ids.length(), 2);
  const Krv_BoltPattern* p = nullptr;
  ASSERT_EQ(getPattern(bolts, ids[1], p, nullptr), Acad::eOk);
  EXPECT_EQ(p->name, L"Single");
  AcTransaction closed;
  closed.commit();
  EXPECT_EQ(getPattern(bolts, ids[0], p, &closed), Acad::eInvalidInput);
  EXPECT_EQ(getPattern(bolts, AcDbObjectId(), p, nullptr), Acad::eInvalidInput);
}

TEST_F(MacroAccess, BaseProfilesAreNumberedFromZero) {
  const Krv_Profile* prof = nullptr;
  ASSERT_EQ(getBaseProf(&db, 1, prof, nullptr), Acad::eOk);
  Krv_String section;
  ASSERT_EQ(getSectionName(prof, section), Acad::eOk);
  EXPECT_EQ(section, L"IPE 300");
  EXPECT_EQ(getBaseProf(&db, 2, prof, nullptr), Acad::eInvalidInput);
  EXPECT_EQ(getBaseProf(&db, -1, prof, nullptr), Acad::eInvalidInput);
  AcArray<AcDbObjectId> ids;
  ASSERT_EQ(db.mapBaseProfIds(ids), Acad::eOk);
  EXPECT_EQ(ids.length(), 2);
  Krv_DbMacro empty;
  EXPECT_EQ(empty.mapBaseProfIds(ids), Acad::eInvalidInput);
  EXPECT_EQ(getBaseProf(&empty, 0, prof, nullptr), Acad::eInvalidInput);
}

TEST(MacroTabData, BoltCountsAcceptOnlyPositiveWholeNumbers) {
  MacroTabData tab(L"Bolts", 1);
  tab.setPatternBolts(L"Rows", 2, 3);
  Krv_String v = L" 4 ";
  EXPECT_EQ(tab.getSetNrBolts(L"rows", v, false, 2), Acad::eOk);
  for (const wchar_t* bad : {L"0", L"2.5", L"abc", L"", L"-1"}) {
    v = bad;
    EXPECT_EQ(tab.getSetNrBolts(L"Rows", v, false, 1), Acad::eInvalidInput) << bad;
  }
  v = L"";
  EXPECT_EQ(tab.getSetNrBolts(L"Rows", v, true, 1), Acad::eOk);
  EXPECT_EQ(v, L"2");
  EXPECT_EQ(tab.getSetNrBolts(L"Rows", v, true, 2), Acad::eOk);
  EXPECT_EQ(v, L"4");
  EXPECT_EQ(tab.getSetNrBolts(L"Rows", v, true, 3), Acad::eInvalidInput);
  EXPECT_EQ(tab.getSetNrBolts(L"Other", v, true, 1), Acad::eInvalidInput);
}

TEST(MacroTabData, SettingAKnownNameAgainReplacesItsEntry) {
  MacroTabData tab(L"Bolts", 1);
  tab.setPatternBolts(L"Rows", 2, 3);
  tab.setPatternBolts(L"rows", 4, 5);  // names ignore letter case
  int n1 = 0, n2 = 0;
  ASSERT_TRUE(tab.getPatternBolts(L"Rows", n1, n2));
  EXPECT_EQ(n1, 4);
  EXPECT_EQ(n2, 5);
  EXPECT_EQ(tab.patternNames().length(), 1);

  tab.addFlexFixVariable(L"Thick", true);
  tab.addFlexFixVariable(L"THICK", false);
  bool flexible = false, fixed = true;
  ASSERT_EQ(tab.getFlexFixBtnStatus(L"Thick", flexible, fixed), Acad::eOk);
  EXPECT_FALSE(fixed) << "the second call's choice holds";
  EXPECT_EQ(tab.flexFixVariables().length(), 1);

  MacroProfData first, second;
  first.mSection = L"IPE 300";
  second.mSection = L"HEA 200";
  tab.addProfileGroup(L"Beam", first);
  tab.addProfileGroup(L"beam", second);
  MacroProfData merged;
  ASSERT_EQ(tab.getMergedPropsOfGroup(L"Beam", merged), Acad::eOk);
  EXPECT_EQ(merged.mSection, L"HEA 200");
  EXPECT_EQ(tab.profileGroupNames().length(), 1);
}

TEST(MacroData, TabsOutsideTheListAreNull) {
  MacroData data;
  data.mTabs.append(MacroTabData(L"Plate", 0));
  const MacroData& shown = data;
  EXPECT_NE(data.getTab(0), nullptr);
  EXPECT_NE(shown.getTab(0), nullptr);
  for (int outside : {-1, data.mTabs.length()}) {
    EXPECT_EQ(data.getTab(outside), nullptr) << outside;
    EXPECT_EQ(shown.getTab(outside), nullptr) << outside;
  }
}

TEST(MacroTabData, FlexibleAndFixedButtonsExcludeEachOther) {
  MacroTabData tab(L"Plate", 0);
  bool flexible = false, fixed = true;
  EXPECT_EQ(tab.getFlexFixBtnStatus(L"Thick", flexible, fixed), Acad::eInvalidInput);
  tab.addFlexFixVariable(L"Thick", true);
  ASSERT_EQ(tab.getFlexFixBtnStatus(L"thick", flexible, fixed), Acad::eOk);
  EXPECT_FALSE(flexible);
  EXPECT_TRUE(fixed);
  ASSERT_EQ(tab.flexFixBtnClicked(L"Thick", false), Acad::eOk);
  ASSERT_EQ(tab.getFlexFixBtnStatus(L"Thick", flexible, fixed), Acad::eOk);
  EXPECT_TRUE(flexible);
  EXPECT_FALSE(fixed);
}

TEST(MacroData, TabsAreBuiltPerGroupWithTheirKinds) {
  Krv_DbMacro db(krv::test::endPlateMacro());
  MacroData data = krv::test::endPlateData(db);
  ASSERT_EQ(data.mTabs.length(), 4);  // Beam, Plate, Bolts, Stiffener
  int i = -1;
  ASSERT_TRUE(data.findTab(L"bolts", i));
  EXPECT_EQ(data.getTab(i)->mKind, 1);
  int n1 = 0, n2 = 0;
  EXPECT_TRUE(data.getTab(i)->getPatternBolts(L"Rows", n1, n2));
  EXPECT_EQ(n2, 3);
  ASSERT_TRUE(data.findTab(L"Beam", i));
  EXPECT_EQ(data.getTab(i)->mKind, 2);
  MacroProfData props;
  ASSERT_EQ(data.getTab(i)->getMergedPropsOfGroup(L"Rafter", props), Acad::eOk);
  EXPECT_EQ(props.mSection, L"IPE 300");
  EXPECT_EQ(data.getTab(i)->getBoltData(), nullptr);
  EXPECT_FALSE(data.findTab(L"Plate1", i));
  EXPECT_EQ(data.getTab(9), nullptr);
  Krv_DbMacro empty;
  EXPECT_EQ(data.buildTabsFromMacro(empty), Acad::eInvalidInput);
}

}  // namespace
