#pragma once
// CDlgSSSettings: the spreadsheet editor's language dialog (template 247,
// modal): a combo box with the languages "Nederlands", "English" and
// "Français", in this order, under the caption "Spreadsheet language".
//
// The caller sets mSelected (an entry's index, or -1 for none) before
// DoModal; opening fills the combo box and selects that entry, and OK stores
// the selected entry's index (-1 when none is selected) in mSelected.
// Cancel leaves mSelected as it was.
#include "platform/core/krv_string.h"
#include "platform/win/dialog.h"

class CDlgSSSettings : public CDialog {
 public:
  static constexpr UINT IDD = 247;
  static constexpr int kLanguageCombo = 1398, kLanguageLabel = 1399;

  explicit CDlgSSSettings(CWnd* parent = nullptr);

  BOOL OnInitDialog() override;
  void OnOK() override;

  int mSelected = -1;
};

// Lets a person choose the spreadsheet editor's language: reads the
// registry's choice (VtSSRegistrySets; a value that cannot be read keeps its
// default), runs CDlgSSSettings on that language's entry and, on OK, writes
// the chosen entry's language code back. True when OK was pressed and the
// registry was written; false on Cancel (nothing written) or when writing
// failed (a message box says so).
bool chooseEditorLanguage(CWnd* parent = nullptr);
