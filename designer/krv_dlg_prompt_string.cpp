#include "designer/krv_dlg_prompt_string.h"

#include "platform/win/edit.h"

Krv_DlgPromptString::Krv_DlgPromptString(CWnd* parent) : CDialog(IDD, parent) {}

BOOL Krv_DlgPromptString::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(mTitle.c_str());
  SetDlgItemText(kLabel, mLabel.c_str());
  SetDlgItemText(kValueEdit, mValue.c_str());
  SetDlgItemText(IDOK, mOkText.c_str());
  SetDlgItemText(IDCANCEL, mCancelText.c_str());
  CWnd* edit = GetDlgItem(kValueEdit);
  if (!edit) return TRUE;
  if (!mShowValue) {
    edit->ShowWindow(SW_HIDE);
    return TRUE;
  }
  GotoDlgCtrl(edit);
  if (auto* e = dynamic_cast<CEdit*>(edit)) e->SetSel(0, -1);
  return FALSE;  // the focus is set
}

void Krv_DlgPromptString::OnOK() {
  const Krv_String text = GetDlgItemText(kValueEdit);
  if (mShowValue && text.isEmpty()) return;
  if (mShowValue) mValue = text;
  mAccepted = true;
  CDialog::OnOK();
}
