#include "spread/dlg_ss_document_settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/win/combo_box.h"
#include "platform/win/person.h"
#include "spread/new_sheet_document.h"
#include "spread/spread_test_support.h"

namespace {

namespace fs = std::filesystem;
using D = CDlgSSDocumentSettings;
using krv::win::Person;

class DocumentSettingsTest : public krv::test::SheetOnDialog {
 protected:
  void SetUp() override {
    SheetOnDialog::SetUp();
    folder = fs::temp_directory_path() / ("korvane_docsettings_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    Krv_Settings::setKrvDir(krv::core::fromOsPath(folder) + L"\\");
    attach(3, 3);
    prepareNewSheetDocument(sheet, Krv_String(), false);
    sheet.setBoolOption(krv::spread::kOptionChanged, false);
  }
  void TearDown() override {
    Krv_Settings::setKrvDir(Krv_String());
    fs::remove_all(folder);
    SheetOnDialog::TearDown();
  }
  std::wstring cornerTag() {
    Krv_String t;
    sheet.getCellString(0, 0, t, Tag);
    return t.str();
  }
  static void typeVariable(D& d, int row, const std::wstring& name, const std::wstring& value) {
    Krv_Spread& v = d.variables();
    v.setActiveCell(1, row);
    Person::type(&v, name);
    Person::pressKey(&v, VK_RIGHT);
    Person::type(&v, value);
    Person::pressKey(&v, VK_RETURN);
  }

  fs::path folder;
};

TEST_F(DocumentSettingsTest, OkWritesTheEditedSettingsIntoTheSheetAndGivesItTheFont) {
  ui->onModal(
      [](CDialog& dialog) {
        auto& d = dynamic_cast<D&>(dialog);
        EXPECT_EQ(d.GetWindowText(), L"Document settings");
        EXPECT_EQ(d.GetDlgItemText(D::kFontCombo), L"Tahoma");
        EXPECT_EQ(d.GetDlgItemText(D::kHeightEdit), L"13");
        EXPECT_EQ(d.GetDlgItemText(D::kLeftEdit), L"9");
        EXPECT_EQ(d.IsDlgButtonChecked(D::kBorderCheck), BST_CHECKED);
        auto* fonts = dynamic_cast<CComboBox*>(d.GetDlgItem(D::kFontCombo));
        ASSERT_NE(fonts, nullptr);
        EXPECT_TRUE(Person::choose(fonts, L"Arial"));
        Person::replaceText(d.GetDlgItem(D::kHeightEdit), L"15");
        Person::replaceText(d.GetDlgItem(D::kLeftEdit), L"20");
        Person::replaceText(d.GetDlgItem(D::kHeaderEdit), L"logo.png");
        Person::click(&d, D::kBorderCheck);
        Person::click(&d, D::kSmartPrintCheck);
        typeVariable(d, 1, L"project", L"Hall 3");
        Person::click(&d, D::kAddButton);
        EXPECT_EQ(d.variables().getMaxRows(), 2);
        typeVariable(d, 2, L"client", L"Steel & Co");
        Person::click(&d, IDOK);
      },
      D::IDD);
  ASSERT_TRUE(editDocumentSettings(sheet, &dialogWnd));

  VtSSSettings s;
  s.readFromSheet(&sheet);
  EXPECT_EQ(s.defaultFont().str(), L"Arial");
  EXPECT_EQ(s.defaultTextHeight(), 15);
  EXPECT_EQ(s.marginLeft(), 20);
  EXPECT_EQ(s.marginRight(), 5);
  EXPECT_EQ(s.headerFile().str(), L"logo.png");
  EXPECT_FALSE(s.border());
  EXPECT_FALSE(s.smartPrint());
  EXPECT_TRUE(s.colors());
  ASSERT_EQ(s.varNames().length(), 2);
  EXPECT_EQ(s.varNames()[1].str(), L"client");
  EXPECT_EQ(s.varValues()[1].str(), L"Steel & Co");
  EXPECT_EQ(sheet.document().attributes(2, 2).fontName, L"Arial");
  EXPECT_EQ(sheet.document().attributes(2, 2).fontHeight, 15);
  EXPECT_EQ(sheet.document().attributes(2, 0).fontWeight, 700) << "headers are bold";
  EXPECT_TRUE(sheet.getBoolOption(krv::spread::kOptionChanged));
}

TEST_F(DocumentSettingsTest, CancelChangesNothing) {
  const std::wstring before = cornerTag();
  ui->onModal(
      [](CDialog& d) {
        Person::replaceText(d.GetDlgItem(D::kFontCombo), L"Verdana");
        Person::click(&d, IDCANCEL);
      },
      D::IDD);
  EXPECT_FALSE(editDocumentSettings(sheet, &dialogWnd));
  EXPECT_EQ(cornerTag(), before);
  EXPECT_NE(sheet.document().attributes(1, 1).fontName, L"Verdana");
  EXPECT_FALSE(sheet.getBoolOption(krv::spread::kOptionChanged));
}

TEST_F(DocumentSettingsTest, BadNumbersAndTheSeparatorAreRefusedAndTheDialogStays) {
  ui->onModal(
      [this](CDialog& dialog) {
        auto& d = dynamic_cast<D&>(dialog);
        Person::replaceText(d.GetDlgItem(D::kHeightEdit), L"0");
        ui->answerMessageBox(IDOK, L"Text height:");
        Person::click(&d, IDOK);
        EXPECT_FALSE(d.hasEnded());
        Person::replaceText(d.GetDlgItem(D::kHeightEdit), L"12");
        Person::replaceText(d.GetDlgItem(D::kTopEdit), L"1000");
        ui->answerMessageBox(IDOK, L"Top:");
        Person::click(&d, IDOK);
        EXPECT_FALSE(d.hasEnded());
        Person::replaceText(d.GetDlgItem(D::kTopEdit), L"7");
        typeVariable(d, 1, L"a\u00A4b", L"x");
        ui->answerMessageBox(IDOK, L"\u00A4");
        Person::click(&d, IDOK);
        EXPECT_FALSE(d.hasEnded());
        typeVariable(d, 1, L"ab", L"x");
        Person::click(&d, IDOK);
      },
      D::IDD);
  ASSERT_TRUE(editDocumentSettings(sheet, &dialogWnd));
  VtSSSettings s;
  s.readFromSheet(&sheet);
  EXPECT_EQ(s.defaultTextHeight(), 12);
  EXPECT_EQ(s.marginTop(), 7);
  ASSERT_EQ(s.varNames().length(), 1);
  EXPECT_EQ(s.varNames()[0].str(), L"ab");
}

TEST_F(DocumentSettingsTest, ASettingsSetIsSavedUnderItsNameAndLoadedBack) {
  ui->onModal(
      [this](CDialog& d) {
        ui->answerMessageBox(IDOK, L"name of the settings set");
        Person::click(&d, D::kSaveAsButton);
        Person::replaceText(d.GetDlgItem(D::kSetCombo), L"workshop");
        Person::replaceText(d.GetDlgItem(D::kFontCombo), L"Courier New");
        Person::replaceText(d.GetDlgItem(D::kRightEdit), L"11");
        Person::click(&d, D::kSaveAsButton);
        Person::replaceText(d.GetDlgItem(D::kFontCombo), L"Verdana");
        Person::replaceText(d.GetDlgItem(D::kRightEdit), L"2");
        Person::click(&d, D::kLoadButton);
        EXPECT_EQ(d.GetDlgItemText(D::kFontCombo), L"Courier New");
        EXPECT_EQ(d.GetDlgItemText(D::kRightEdit), L"11");
        auto* sets = dynamic_cast<CComboBox*>(d.GetDlgItem(D::kSetCombo));
        ASSERT_NE(sets, nullptr);
        EXPECT_EQ(sets->GetCount(), 1);
        Person::replaceText(d.GetDlgItem(D::kSetCombo), L"none such");
        ui->answerMessageBox(IDOK, L"could not be loaded");
        Person::click(&d, D::kLoadButton);
        EXPECT_EQ(d.GetDlgItemText(D::kFontCombo), L"Courier New")
            << "a failed load changes nothing";
        Person::click(&d, IDCANCEL);
      },
      D::IDD);
  EXPECT_FALSE(editDocumentSettings(sheet, &dialogWnd));
  EXPECT_TRUE(fs::exists(folder / "workshop.vtd"));
  EXPECT_EQ(VtSSSettings::settingsSetNames().length(), 1);
}

}  // namespace
