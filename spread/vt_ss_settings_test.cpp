#include "spread/vt_ss_settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/code_page.h"
#include "platform/core/krv_settings.h"
#include "platform/core/temp_folder_for_tests.h"
#include "spread/new_sheet_document.h"
#include "spread/spread_test_support.h"
#include "spread/vt_ss_registry_sets.h"

namespace {

constexpr char kSep = '\xA4';

class SettingsOnSheet : public krv::test::SheetOnDialog {
 protected:
  void SetUp() override {
    SheetOnDialog::SetUp();
    Krv_Settings::setKrvDir(install.text());
  }
  void TearDown() override {
    Krv_Settings::setKrvDir(L"");
    SheetOnDialog::TearDown();
  }
  Krv_String cornerTag() {
    Krv_String tag;
    sheet.getCellString(0, 0, tag, Tag);
    return tag;
  }
  TempFolder install;
};

TEST_F(SettingsOnSheet, ASheetWithoutACornerTagReadsAsTheDefaults) {
  attach(3, 3);
  VtSSSettings s;
  s.setMarginLeft(40);
  s.readFromSheet(&sheet);
  EXPECT_TRUE(s.isValid());
  EXPECT_EQ(s.sheetWindow(), sheet.GetSafeHwnd());
  EXPECT_EQ(s.defaultFont(), L"Tahoma");
  EXPECT_EQ(s.defaultTextHeight(), 13);
  EXPECT_EQ(s.marginLeft(), 9);
  EXPECT_EQ(s.marginRight(), 5);
  EXPECT_TRUE(s.smartPrint() && s.colors() && s.colHeader() && s.rowHeader() &&
              s.cellSeparators() && s.border());
  EXPECT_EQ(s.varNames().length(), 0);

  VtSSSettings nothing;
  nothing.readFromSheet(nullptr);
  EXPECT_FALSE(nothing.isValid()) << "a null sheet only resets";
}

TEST_F(SettingsOnSheet, TheSetTravelsInTheCornerTagWithIndexedVariables) {
  attach(3, 3);
  VtSSSettings s;
  s.readFromSheet(&sheet);
  s.setDefaultFont(L"Arial");
  s.setBorder(false);
  s.setVarNames(Krv_StringArray{L"A", L"B"});
  s.setVarValues(Krv_StringArray{L"1", L"two"});
  ASSERT_TRUE(s.writeToSheet(&sheet));

  const std::string text = VtW2A(cornerTag());
  EXPECT_NE(text.find(std::string("varNames0") + kSep + "4" + kSep + "A" + kSep),
            std::string::npos);
  EXPECT_NE(text.find(std::string("varNames1") + kSep + "4" + kSep + "B" + kSep),
            std::string::npos);
  EXPECT_EQ(text.find("varNames2"), std::string::npos);
  EXPECT_NE(text.find(std::string("cellSeperators") + kSep + "2" + kSep + "1" + kSep),
            std::string::npos)
      << "bools are int properties under their stored key";

  VtSSSettings back;
  back.readFromSheet(&sheet);
  EXPECT_EQ(back.defaultFont(), L"Arial");
  EXPECT_FALSE(back.border());
  ASSERT_EQ(back.varNames().length(), 2);
  EXPECT_EQ(back.varNames()[1], L"B");
  EXPECT_EQ(back.varValues()[1], L"two");
}

TEST_F(SettingsOnSheet, VariablesStopAtTheFirstMissingIndex) {
  attach(2, 2);
  const std::string tag = std::string("varNames0") + kSep + "4" + kSep + "A" + kSep + "varNames2" +
                          kSep + "4" + kSep + "C" + kSep;
  ASSERT_TRUE(sheet.document().setTag(0, 0, VtA2W(tag).str()));
  VtSSSettings s;
  s.readFromSheet(&sheet);
  ASSERT_EQ(s.varNames().length(), 1) << "index 1 is missing, so index 2 is not read";
  EXPECT_EQ(s.varNames()[0], L"A");
}

TEST_F(SettingsOnSheet, InvalidSetsAndSeparatorsAreNotWritten) {
  attach(2, 2);
  VtSSSettings s;
  EXPECT_FALSE(s.writeToSheet(&sheet)) << "not valid before readFromSheet or load";
  EXPECT_FALSE(s.save(L"x"));
  EXPECT_FALSE(std::filesystem::exists(install.path() / "x.vtd"));

  s.readFromSheet(&sheet);
  EXPECT_FALSE(s.writeToSheet(nullptr));
  s.setVarValues(Krv_StringArray{L"a\u00A4b"});
  s.setVarNames(Krv_StringArray{L"n"});
  EXPECT_FALSE(s.writeToSheet(&sheet)) << "the separator would shift the fields that follow";
  EXPECT_NE(s.lastError().find("varValues0"), std::string::npos) << s.lastError();
  EXPECT_TRUE(cornerTag().isEmpty()) << "the tag is left as it was";
  EXPECT_FALSE(s.save(L"x"));
  EXPECT_FALSE(std::filesystem::exists(install.path() / "x.vtd"));
}

TEST_F(SettingsOnSheet, SetsAreSavedAndLoadedInTheInstallationFolder) {
  VtSSSettings s;
  s.setValid(true);
  s.setMarginTop(20);
  s.setHeaderFile(L"C:\\logos\\head.wmf");
  ASSERT_TRUE(s.save(L"Bills")) << s.lastError();
  EXPECT_TRUE(std::filesystem::exists(install.path() / "Bills.vtd"));
  EXPECT_EQ(VtSSSettings::settingsSetNames().length(), 1);

  VtSSSettings back;
  ASSERT_TRUE(back.load(L"Bills"));
  EXPECT_TRUE(back.isValid());
  EXPECT_EQ(back.marginTop(), 20);
  EXPECT_EQ(back.headerFile(), L"C:\\logos\\head.wmf");

  VtSSSettings missing;
  missing.setMarginTop(77);
  EXPECT_FALSE(missing.load(L"Nope"));
  EXPECT_EQ(missing.marginTop(), 5) << "the defaults are in place";
  EXPECT_TRUE(missing.isValid());
}

TEST_F(SettingsOnSheet, AFailedSaveIsReported) {
  std::filesystem::create_directories(install.path() / "Locked.vtd");  // a folder in the way
  VtSSSettings s;
  s.setValid(true);
  EXPECT_FALSE(s.save(L"Locked"));
  EXPECT_FALSE(s.lastError().empty());
}

TEST_F(SettingsOnSheet, PartialFilesKeepDefaultsForMissingKeys) {
  install.writeBytes("Part.vtd", std::string("marginLeft") + kSep + "2" + kSep + "30" + kSep +
                                     "garbage" + kSep + "2");
  VtSSSettings s;
  ASSERT_TRUE(s.load(L"Part"));
  EXPECT_EQ(s.marginLeft(), 30);
  EXPECT_EQ(s.marginRight(), 5);
  EXPECT_EQ(s.defaultFont(), L"Tahoma");
}

TEST_F(SettingsOnSheet, RegistrySetsNeedBothValues) {
  VtSSRegistrySets r;
  EXPECT_FALSE(r.read()) << "no key yet";
  EXPECT_EQ(r.language, L"EN");
  r.language = L"NL";
  r.defaultSettings = L"Bills";
  ASSERT_TRUE(r.write());
  VtSSRegistrySets back;
  ASSERT_TRUE(back.read());
  EXPECT_EQ(back.language, L"NL");
  EXPECT_EQ(back.defaultSettings, L"Bills");
  EXPECT_EQ(VtSSRegistrySets::languageIndex(L"fr"), 2);
  EXPECT_EQ(VtSSRegistrySets::languageIndex(L"xx"), 1);
  EXPECT_EQ(VtSSRegistrySets::languageCode(0), L"NL");
}

TEST_F(SettingsOnSheet, ANewDocumentFallsBackToTheRegistryDefaultSet) {
  attach(2, 2);
  VtSSSettings house;
  house.setValid(true);
  house.setDefaultFont(L"Verdana");
  house.setDefaultTextHeight(10);
  ASSERT_TRUE(house.save(L"House"));
  VtSSRegistrySets r;
  r.defaultSettings = L"House";
  ASSERT_TRUE(r.write());

  NewSheetDocument made = prepareNewSheetDocument(sheet, L"Missing", true);
  EXPECT_TRUE(made.loaded);
  EXPECT_EQ(made.settings.defaultFont(), L"Verdana");
  EXPECT_EQ(sheet.getMaxCols(), 6);
  EXPECT_EQ(sheet.getMaxRows(), 11);
  EXPECT_TRUE(sheet.getBoolOption(krv::sheet::kOptionAutoCalc));
  EXPECT_EQ(sheet.getIntOption(4), 5);
  const auto& doc = sheet.document();
  EXPECT_EQ(doc.cellType(3, 7), krv::sheet::kCellTypeEdit);
  EXPECT_EQ(doc.attributes(3, 7).maxLength, 100);
  EXPECT_EQ(doc.attributes(3, 7).fontName, L"Verdana");
  EXPECT_EQ(doc.attributes(3, 7).fontWeight, 400);
  EXPECT_EQ(doc.attributes(3, 0).fontWeight, 700) << "the column header row is bold";
  EXPECT_EQ(doc.attributes(0, 4).fontWeight, 700) << "the row header column is bold";
  EXPECT_EQ(sheet.defaultFont(), L"Verdana");

  VtSSSettings inDoc;
  inDoc.readFromSheet(&sheet);
  EXPECT_EQ(inDoc.defaultTextHeight(), 10) << "the set is written into the document";
}

TEST_F(SettingsOnSheet, ANewDocumentWithoutAnySetGetsTheDefaults) {
  attach(2, 2);
  NewSheetDocument made = prepareNewSheetDocument(sheet, L"Missing", false);
  EXPECT_FALSE(made.loaded);
  EXPECT_EQ(sheet.getMaxCols(), 2) << "not fresh: the size stays";
  VtSSSettings inDoc;
  inDoc.readFromSheet(&sheet);
  EXPECT_EQ(inDoc.defaultFont(), L"Tahoma");
}

}  // namespace

namespace {

TEST(VtSSSettingsPrint, PrintSettingsCarryTheSetAndFindBarePicturesInTheInstallFolder) {
  TempFolder install;
  Krv_Settings::setKrvDir(install.text());
  VtSSSettings s;
  s.setHeaderFile(L"head.bmp");
  s.setFooterFile(L"");
  s.setMarginBottom(12);
  s.setRowHeader(false);
  const krv::sheet::PrintSettings p = s.printSettings();
  Krv_Settings::setKrvDir(L"");
  EXPECT_EQ(std::filesystem::path(p.headerFile), install.path() / "head.bmp");
  EXPECT_TRUE(p.footerFile.empty());
  EXPECT_EQ(p.marginBottom, 12);
  EXPECT_FALSE(p.rowHeader);
  EXPECT_EQ(p.fontName, L"Tahoma");
}

}  // namespace
