#include "spread/dlg_ss_settings.h"

#include <gtest/gtest.h>

#include "platform/win/combo_box.h"
#include "platform/win/person.h"
#include "spread/spread_test_support.h"
#include "spread/vt_ss_registry_sets.h"

namespace {

using krv::win::Person;

class LanguageDialogTest : public krv::test::SheetOnDialog {
 protected:
  static Krv_String storedLanguage() {
    VtSSRegistrySets sets;
    sets.language = L"(unread)";
    sets.read();
    return sets.language;
  }
};

TEST_F(LanguageDialogTest, OpensOnTheRegistryLanguageAndWritesTheChosenOneOnOk) {
  // Nothing in the registry yet: English, the default, is selected.
  ui->onModal(
      [](CDialog& d) {
        EXPECT_EQ(d.GetWindowText(), dialString(1520).str());
        EXPECT_EQ(d.GetDlgItemText(CDlgSSSettings::kLanguageLabel), dialString(1521).str() + L":");
        auto* combo = dynamic_cast<CComboBox*>(d.GetDlgItem(CDlgSSSettings::kLanguageCombo));
        ASSERT_NE(combo, nullptr);
        ASSERT_EQ(combo->GetCount(), 3);
        EXPECT_EQ(combo->itemText(0), L"Nederlands");
        EXPECT_EQ(combo->itemText(1), L"English");
        EXPECT_EQ(combo->itemText(2), L"Français");
        EXPECT_EQ(combo->GetCurSel(), 1);
        Person::choose(combo, 2);
        Person::click(&d, IDOK);
      },
      CDlgSSSettings::IDD);
  EXPECT_TRUE(chooseEditorLanguage(&dialogWnd));
  EXPECT_EQ(storedLanguage().str(), L"FR");

  // The next time the stored choice is selected; Cancel writes nothing.
  ui->onModal(
      [](CDialog& d) {
        auto* combo = dynamic_cast<CComboBox*>(d.GetDlgItem(CDlgSSSettings::kLanguageCombo));
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->GetCurSel(), 2);
        Person::choose(combo, 0);
        Person::click(&d, IDCANCEL);
      },
      CDlgSSSettings::IDD);
  EXPECT_FALSE(chooseEditorLanguage(&dialogWnd));
  EXPECT_EQ(storedLanguage().str(), L"FR");
}

TEST_F(LanguageDialogTest, TheDialogKeepsTheGivenIndexOnCancelAndStoresTheChoiceOnOk) {
  CDlgSSSettings dialog(&dialogWnd);
  dialog.mSelected = 0;
  ui->onModal([](CDialog& d) {
    auto* combo = dynamic_cast<CComboBox*>(d.GetDlgItem(CDlgSSSettings::kLanguageCombo));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetCurSel(), 0);
    Person::choose(combo, 1);
    Person::click(&d, IDCANCEL);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.mSelected, 0);
  ui->onModal([](CDialog& d) {
    Person::choose(d.GetDlgItem(CDlgSSSettings::kLanguageCombo), 1);
    Person::click(&d, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.mSelected, 1);
}

}  // namespace
