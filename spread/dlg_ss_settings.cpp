// The spreadsheet editor's language dialog.
#include "spread/dlg_ss_settings.h"

#include "platform/core/dial_string.h"
#include "platform/core/dlg_utils.h"
#include "platform/win/combo_box.h"
#include "platform/win/message_box.h"
#include "spread/vt_ss_registry_sets.h"

CDlgSSSettings::CDlgSSSettings(CWnd* parent) : CDialog(IDD, parent) {}

BOOL CDlgSSSettings::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(dialString(1520).c_str());
  SetDlgItemText(kLanguageLabel, (dialString(1521) + L":").c_str());
  SetDlgItemText(IDOK, dialString(1).c_str());
  SetDlgItemText(IDCANCEL, dialString(2).c_str());
  // The language names are written in their own language, whatever the
  // work language is, so that everyone finds their own.
  FillCombo(this, kLanguageCombo, Krv_StringArray{L"Nederlands", L"English", L"Français"},
            mSelected);
  return TRUE;
}

void CDlgSSSettings::OnOK() {
  if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(kLanguageCombo))) {
    mSelected = combo->GetCurSel();
  }
  CDialog::OnOK();
}

bool chooseEditorLanguage(CWnd* parent) {
  VtSSRegistrySets sets;
  // A fresh installation has no values yet: the defaults stand.
  sets.read();
  CDlgSSSettings dialog(parent);
  dialog.mSelected = VtSSRegistrySets::languageIndex(sets.language);
  if (dialog.DoModal() != IDOK) return false;
  sets.language = VtSSRegistrySets::languageCode(dialog.mSelected);
  if (!sets.write()) {
    ::MessageBox(parent ? parent->GetSafeHwnd() : nullptr,
                 (dialString(1522) + L"\n" + Krv_String(VtSSRegistrySets::kKey)).c_str(),
                 dialString(1520).c_str(), MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  return true;
}
