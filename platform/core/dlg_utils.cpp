#include "platform/core/dlg_utils.h"

#include <algorithm>

#include "platform/acad/acad_frame.h"
#include "platform/win/combo_box.h"
#include "platform/win/dialog.h"
#include "platform/win/list_box.h"
#include "platform/win/resource_modules.h"

namespace {

bool holdsFocus(const CWnd* control) {
  for (const CWnd* w = CWnd::GetFocus(); w; w = w->treeParent())
    if (w == control) return true;
  return false;
}

// Disabling or hiding the focused control leaves the keyboard without a
// target; the focus goes on to the dialog's next tab stop, or to the dialog.
template <typename Change>
bool changeControl(CWnd* dialog, int id, Change change) {
  CWnd* control = dialog && IsWindow(dialog) ? dialog->GetDlgItem(id) : nullptr;
  if (!control) return false;
  const bool hadFocus = holdsFocus(control);
  change(*control);
  if (hadFocus && !CWnd::GetFocus() && IsWindow(dialog)) {
    CWnd* next = dialog->GetNextDlgTabItem(control);
    if (next && next != control)
      next->SetFocus();
    else
      dialog->SetFocus();
  }
  return true;
}

template <typename Change>
bool changeControls(CWnd* dialog, std::initializer_list<int> ids, Change change) {
  bool all = true;
  for (int id : ids) all = changeControl(dialog, id, change) && all;
  return all;
}

}  // namespace

bool FillCombo(CComboBox* combo, const Krv_StringArray& items, int select) {
  if (!combo || !IsWindow(combo)) return false;
  combo->ResetContent();
  for (int i = 0; i < items.length(); ++i) combo->AddString(items[i].c_str());
  combo->SetCurSel(select >= 0 && select < combo->GetCount() ? select : -1);
  return true;
}

bool FillCombo(CWnd* dialog, int id, const Krv_StringArray& items, int select) {
  if (!dialog || !IsWindow(dialog)) return false;
  return FillCombo(dynamic_cast<CComboBox*>(dialog->GetDlgItem(id)), items, select);
}

bool FillList(CListBox* list, const Krv_StringArray& items, int select) {
  if (!list || !IsWindow(list)) return false;
  list->ResetContent();
  for (int i = 0; i < items.length(); ++i) list->AddString(items[i].c_str());
  if (select < 0 || select >= list->GetCount()) return true;
  if (list->isMultiSelect())
    list->SetSel(select, TRUE);
  else
    list->SetCurSel(select);
  return true;
}

bool FillList(CWnd* dialog, int id, const Krv_StringArray& items, int select) {
  if (!dialog || !IsWindow(dialog)) return false;
  return FillList(dynamic_cast<CListBox*>(dialog->GetDlgItem(id)), items, select);
}

bool EnDisCtrl(CWnd* dialog, int id, bool enable) {
  return changeControl(dialog, id, [enable](CWnd& c) { c.EnableWindow(enable ? TRUE : FALSE); });
}

bool EnDisCtrl(CWnd* dialog, std::initializer_list<int> ids, bool enable) {
  return changeControls(dialog, ids, [enable](CWnd& c) { c.EnableWindow(enable ? TRUE : FALSE); });
}

bool ShowOrHideCtrl(CWnd* dialog, int id, int show) {
  return changeControl(dialog, id, [show](CWnd& c) { c.ShowWindow(show ? SW_SHOW : SW_HIDE); });
}

bool ShowOrHideCtrl(CWnd* dialog, std::initializer_list<int> ids, int show) {
  return changeControls(dialog, ids, [show](CWnd& c) { c.ShowWindow(show ? SW_SHOW : SW_HIDE); });
}

CWnd* getDlgOwner() {
  if (CWnd* focus = CWnd::GetFocus()) {
    CWnd* top = focus->GetTopLevelParent();
    if (top && top->IsWindowVisible() && top->IsWindowEnabled()) return top;
  }
  CWnd* main = adsw_acadMainWnd();
  return IsWindow(main) ? main : nullptr;
}

bool getSafeDlgSize(UINT templateId, int& width, int& height) {
  const HINSTANCE holder =
      AfxFindResourceHandle(templateId, krv::win::ResourceKind::DialogTemplate);
  const krv::win::ResourceModule* module = krv::win::ResourceModules::find(holder);
  if (!module) return false;
  const auto dialogTemplate = module->dialogTemplate(templateId);
  if (!dialogTemplate) return false;
  const CRect size = krv::win::dialogUnitsToPixels(dialogTemplate->rect);
  if (size.Width() <= 0 || size.Height() <= 0) return false;
  const CRect screen = krv::win::screenRect();
  width = std::min(static_cast<int>(size.Width()), static_cast<int>(screen.Width()));
  height = std::min(static_cast<int>(size.Height()), static_cast<int>(screen.Height()));
  return true;
}

bool getSafeDlgSize(const CDialog* dialog, int& width, int& height) {
  return dialog && getSafeDlgSize(dialog->templateId(), width, height);
}
