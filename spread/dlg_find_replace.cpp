// The find and replace dialog of a spreadsheet window.
#include "spread/dlg_find_replace.h"

#include "platform/core/dial_string.h"
#include "platform/core/dlg_size.h"
#include "platform/win/message_box.h"
#include "spread/krv_spread.h"

namespace krv::spread {
namespace {
constexpr wchar_t kSizeName[] = L"DLG_FINDREPLACE";
}  // namespace
}  // namespace krv::spread

using namespace krv::spread;

CDlgFindReplace::CDlgFindReplace(HWND sheet) : CDialog(IDD), mSheet(sheet) {}

Krv_Spread* CDlgFindReplace::sheet() const {
  if (!IsWindow(mSheet)) return nullptr;
  auto* s = dynamic_cast<Krv_Spread*>(CWnd::FromHandle(mSheet));
  return s && s->isCreated() ? s : nullptr;
}

Krv_String CDlgFindReplace::findText() const { return Krv_String(GetDlgItemText(kFindEdit)); }
Krv_String CDlgFindReplace::replaceText() const { return Krv_String(GetDlgItemText(kReplaceEdit)); }
void CDlgFindReplace::setFindText(const Krv_String& text) {
  SetDlgItemText(kFindEdit, text.c_str());
}
void CDlgFindReplace::setReplaceText(const Krv_String& text) {
  SetDlgItemText(kReplaceEdit, text.c_str());
}

BOOL CDlgFindReplace::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(dialString(1136).c_str());
  SetDlgItemText(kFindLabel, dialString(1137).c_str());
  SetDlgItemText(kReplaceLabel, dialString(1138).c_str());
  SetDlgItemText(IDOK, dialString(1139).c_str());
  SetDlgItemText(kReplaceButton, dialString(1140).c_str());
  SetDlgItemText(kReplaceAllButton, dialString(1141).c_str());
  SetDlgItemText(IDCANCEL, dialString(285).c_str());
  if (Krv_Spread* s = sheet()) {
    mOption13WasOn = s->getBoolOption(kOptionEditMode);
    s->setBoolOption(kOptionEditMode, true);
    s->setBoolOption(kOptionOffWhileFinding, false);
  }
  ChangeDlgSize(this, kSizeName);
  return TRUE;
}

void CDlgFindReplace::selectFound(Krv_Spread& s, int col, int row, const Krv_String& find) {
  Krv_String v;
  s.getCellString(col, row, v, Value);
  int pos = std::max(0, v.find(find, false));
  s.setActiveCell(col, row);
  s.document().setEditing(true, pos, pos + find.length());
  s.tellParent(kSpreadActiveCellMoved);
}

bool CDlgFindReplace::findNext(bool wrap) {
  Krv_String find = findText();
  Krv_Spread* s = sheet();
  if (!s || find.isEmpty()) return false;
  s->SetFocus();
  // A person's unfinished entry is written first, so that the search sees
  // it and a replacement does not overwrite it; one the cell refuses stops
  // the search (the sheet has said why).
  if (s->document().editChanged() && !s->FinishEdit()) return false;
  int col = 0, row = 0;
  s->getActiveCell(col, row);
  auto& d = s->document();
  bool searchedCell = false;
  if (d.editing() && d.activeCol() == col && d.activeRow() == row) {
    Krv_String v;
    s->getCellString(col, row, v, Value);
    int from = d.editSelEnd() > d.editSelStart() ? d.editSelEnd() : d.editSelStart();
    int pos = v.findFirstFrom(find, from, false);
    if (pos >= 0) {
      d.setEditing(true, pos, pos + find.length());
      return true;
    }
    searchedCell = true;
  }
  int fc = 0, fr = 0;
  if (s->findText(find, searchedCell ? col + 1 : col, row, fc, fr, true)) {
    selectFound(*s, fc, fr, find);
    return true;
  }
  if (!wrap) return false;
  Krv_String question = dialString(1142) + L"\n" + dialString(1143) + L"\n";
  if (::MessageBox(m_hWnd, question.c_str(), dialString(1144).c_str(),
                   MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return false;
  }
  if (s->findText(find, 1, 1, fc, fr, true)) {
    selectFound(*s, fc, fr, find);
    return true;
  }
  ::MessageBox(m_hWnd, dialString(1145).c_str(), dialString(1146).c_str(),
               MB_OK | MB_ICONEXCLAMATION);
  return false;
}

bool CDlgFindReplace::replace() {
  Krv_String find = findText();
  if (!sheet() || find.isEmpty()) return false;
  // Only what this search has just selected is replaced: when nothing is
  // found, a selection left from before stays as it is.
  if (!findNext(true)) return false;
  Krv_Spread* s = sheet();
  if (!s) return false;
  auto& d = s->document();
  int col = d.activeCol(), row = d.activeRow();
  if (!d.editing() || d.editSelEnd() <= d.editSelStart() || col < 1 || row < 1) return false;
  int start = d.editSelStart(), end = d.editSelEnd();
  Krv_String v;
  s->getCellString(col, row, v, Value);
  if (end > v.length() || !v.substr(start, end - start).equal(find, false)) return false;
  Krv_String with = replaceText();
  s->setCellData(col, row, v.left(start) + with + v.substr(end));
  s->setBoolOption(krv::spread::kOptionChanged, true);
  s->tellParent(kSpreadCellsEdited);
  s->setActiveCell(col, row);
  // The caret goes after the inserted text, so that the next search starts
  // there and never finds the find text inside the replacement.
  const int caret = start + with.length();
  d.setEditing(true, caret, caret);
  return true;
}

int CDlgFindReplace::replaceAll() {
  Krv_String find = findText();
  Krv_Spread* s = sheet();
  if (!s || find.isEmpty()) return 0;
  Krv_String with = replaceText();
  int count = 0, col = 1, row = 1, fc = 0, fr = 0;
  while (s->findText(find, col, row, fc, fr, true)) {
    s->replaceText(fc, fr, find, with);
    ++count;
    col = fc + 1;
    row = fr;
  }
  Krv_String message =
      dialString(1147) + L" " + Krv_String(std::to_wstring(count)) + L" " + dialString(1148);
  s->setBoolOption(krv::spread::kOptionChanged, true);
  if (count > 0) s->tellParent(kSpreadCellsEdited);
  ::MessageBox(m_hWnd, message.c_str(), dialString(1149).c_str(), MB_OK | MB_ICONEXCLAMATION);
  return count;
}

BOOL CDlgFindReplace::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT id = LOWORD(wParam);
  if (HIWORD(wParam) == BN_CLICKED) {
    if (id == static_cast<UINT>(kReplaceButton)) {
      replace();
      return TRUE;
    }
    if (id == static_cast<UINT>(kReplaceAllButton)) {
      replaceAll();
      return TRUE;
    }
  }
  return CDialog::OnCommand(wParam, lParam);
}

BOOL CDlgFindReplace::PreTranslateMessage(MSG* msg) {
  if (msg && msg->message == WM_KEYDOWN) {
    if (msg->wParam == VK_F3) {
      findNext(true);
      return TRUE;
    }
    if (msg->wParam == VK_F5) {
      replace();
      return TRUE;
    }
  }
  return CDialog::PreTranslateMessage(msg);
}

void CDlgFindReplace::OnOK() { findNext(true); }

void CDlgFindReplace::OnCancel() {
  WriteDlgSize(this, kSizeName);
  Krv_Spread* s = sheet();
  if (s && !mOption13WasOn) s->setBoolOption(krv::spread::kOptionEditMode, false);
  DestroyWindow();
  if (s) s->releaseFindDialog();
}
