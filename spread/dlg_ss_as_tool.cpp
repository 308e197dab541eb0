// The spreadsheet editor window and the handle programs hold on it.
#include "spread/dlg_ss_as_tool.h"

#include <algorithm>
#include <vector>

#include "platform/base/utf.h"
#include "platform/core/dial_string.h"
#include "platform/sheet/sheet_printer.h"
#include "platform/win/event_loop.h"
#include "platform/win/file_dialog.h"
#include "platform/win/message_box.h"
#include "spread/dlg_ss_document_settings.h"
#include "spread/dlg_ss_options.h"
#include "spread/dlg_ss_settings.h"
#include "spread/new_sheet_document.h"
#include "spread/vt_ss_settings.h"

namespace {

namespace fs = std::filesystem;

// Dialog string numbers.
enum Text {
  kEditorName = 2740,
  kButtonTexts = 2741,  // 2741..2756 in the order of kButtons
  kUntitled = 2757,
  kAskSave = 2758,
  kCannotOpen = 2759,
  kCannotSave = 2760,
  kCannotPrint = 2761,
  kFormulaRefused = 2762,
  kFileKinds = 2763,
};

constexpr int kButtons[] = {
    CDlgSSAsTool::kNewButton,
    CDlgSSAsTool::kOpenButton,
    CDlgSSAsTool::kSaveButton,
    CDlgSSAsTool::kSaveAsButton,
    CDlgSSAsTool::kPrintButton,
    CDlgSSAsTool::kPreviewButton,
    CDlgSSAsTool::kInsertRowButton,
    CDlgSSAsTool::kDeleteRowButton,
    CDlgSSAsTool::kInsertColumnButton,
    CDlgSSAsTool::kDeleteColumnButton,
    CDlgSSAsTool::kFindButton,
    CDlgSSAsTool::kReplaceButton,
    CDlgSSAsTool::kSheetOptionsButton,
    CDlgSSAsTool::kLanguageButton,
    CDlgSSAsTool::kDocumentSettingsButton,
    CDlgSSAsTool::kUndoButton,
};

// A dialog string with "{file}" replaced.
std::wstring withFile(int id, const std::wstring& file) {
  std::wstring text = dialString(id).str();
  if (auto at = text.find(L"{file}"); at != std::wstring::npos) text.replace(at, 6, file);
  return text;
}

std::wstring wide(const fs::path& p) { return krv::base::utf8ToWide(p.string()); }
fs::path pathOf(const std::wstring& text) { return fs::path(krv::base::toUtf8(text)); }

}  // namespace

const wchar_t* const CDlgSSAsTool::kFileFilter =
    L"Spreadsheet files "
    L"(*.vts;*.csv;*.tsv;*.txt;*.xlsx;*.ods)|*.vts;*.csv;*.tsv;*.txt;*.xlsx;*.ods|"
    L"Sheets (*.vts)|*.vts|Comma separated (*.csv)|*.csv|Tab separated (*.tsv;*.txt)|*.tsv;*.txt|"
    L"Workbooks (*.xlsx)|*.xlsx|Open documents (*.ods)|*.ods|All files (*.*)|*.*||";

CDlgSSAsTool::CDlgSSAsTool(CWnd* parent) : CDialog(IDD, parent) {}
CDlgSSAsTool::~CDlgSSAsTool() {
  if (GetSafeHwnd()) DestroyWindow();
}

bool CDlgSSAsTool::isChanged() const {
  return mSheet.isCreated() && mSheet.getBoolOption(krv::spread::kOptionChanged);
}

int CDlgSSAsTool::message(const std::wstring& text, UINT type) {
  return ::MessageBox(m_hWnd, text.c_str(), dialString(kEditorName).c_str(), type);
}

BOOL CDlgSSAsTool::OnInitDialog() {
  CDialog::OnInitDialog();
  for (size_t i = 0; i < std::size(kButtons); ++i)
    SetDlgItemText(kButtons[i], dialString(kButtonTexts + static_cast<int>(i)).c_str());

  // The sheet takes the frame's place; its distances to the client's edges
  // stay as the template has them when the window is resized.
  CWnd* frame = GetDlgItem(kSheetFrame);
  CRect client, place;
  GetClientRect(&client);
  frame->GetWindowRect(&place);
  ScreenToClient(&place);
  frame->DestroyWindow();
  mSheetTop = place.top;
  mMargin = place.left;
  if (CWnd* edit = GetDlgItem(kFormulaEdit)) {
    CRect r;
    edit->GetWindowRect(&r);
    ScreenToClient(&r);
    mFormulaLeft = r.left;
  }
  mSheet.createInParent(this, place, kSheetFrame);
  mSheet.setDefaultLook(Krv_Spread::kLookEditable);
  Krv_Array<int> menu;
  for (int kind :
       {krv::spread::kMenuCopy, krv::spread::kMenuPaste, krv::spread::kMenuSeparator,
        krv::spread::kMenuInsertRow, krv::spread::kMenuDeleteRow, krv::spread::kMenuSeparator,
        krv::spread::kMenuInsertColumn, krv::spread::kMenuDeleteColumn})
    menu.append(kind);
  mSheet.setContextMenu(menu);
  mLaidOut = true;
  startNewDocument();
  mSheet.SetFocus();
  return FALSE;
}

void CDlgSSAsTool::startNewDocument() {
  mSheet.document().reset();
  mSheet.setDefaultLook(Krv_Spread::kLookEditable);
  prepareNewSheetDocument(mSheet, Krv_String(), true);
  mSheet.setActiveCell(1, 1);
  mSheet.setBoolOption(krv::spread::kOptionChanged, false);
  mFile.clear();
  mUndo.reset(mSheet.document());
  updateFormulaBar();
  updateCaption();
}

std::wstring CDlgSSAsTool::title() const {
  return mFile.empty() ? dialString(kUntitled).str() : wide(mFile.filename());
}

void CDlgSSAsTool::updateCaption() {
  if (!GetSafeHwnd()) return;
  SetWindowText(
      ((isChanged() ? L"*" : L"") + title() + L" - " + dialString(kEditorName).str()).c_str());
}

void CDlgSSAsTool::updateFormulaBar() {
  if (!GetSafeHwnd() || !mSheet.isCreated()) return;
  const auto& d = mSheet.document();
  const int col = d.activeCol(), row = d.activeRow();
  const bool inside = col >= 1 && row >= 1 && col <= d.maxCols() && row <= d.maxRows();
  SetDlgItemText(kCellNameStatic,
                 inside ? krv::sheet::ControlDocument::cellName(col, row).c_str() : L"");
  std::wstring text;
  if (inside) {
    text = d.formula(col, row).value_or(L"");
    if (text.empty()) text = d.data(col, row).value_or(L"");
  }
  SetDlgItemText(kFormulaEdit, text.c_str());
}

void CDlgSSAsTool::changed() {
  mUndo.checkpoint(mSheet.document());
  updateFormulaBar();
  updateCaption();
}

bool CDlgSSAsTool::applyFormulaBar() {
  auto& d = mSheet.document();
  const int col = d.activeCol(), row = d.activeRow();
  if (col < 1 || row < 1 || col > d.maxCols() || row > d.maxRows()) return false;
  const std::wstring text = GetDlgItemText(kFormulaEdit);
  if (!text.empty() && text.front() == L'=') {
    const krv::base::Status set = d.setFormula(col, row, text);
    if (!set) {
      message(dialString(kFormulaRefused).str() + L"\n" + krv::base::utf8ToWide(set.text()),
              MB_OK | MB_ICONEXCLAMATION);
      return false;
    }
  } else if (!d.setData(col, row, text)) {
    return false;
  }
  d.setEditing(false);
  d.setBoolOption(krv::spread::kOptionChanged, true);
  changed();
  mSheet.SetFocus();
  return true;
}

// ---- files ----------------------------------------------------------------------------

bool CDlgSSAsTool::mayDiscard() {
  // An open entry is part of the changes; one the cell refuses keeps the
  // person in it (the sheet has said why).
  if (!mSheet.FinishEdit()) return false;
  changed();
  if (!isChanged()) return true;
  switch (message(withFile(kAskSave, title()), MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
      return save();
    case IDNO:
      return true;
    default:
      return false;
  }
}

bool CDlgSSAsTool::newDocument() {
  if (!mayDiscard()) return false;
  startNewDocument();
  return true;
}

bool CDlgSSAsTool::openDocument() {
  if (!mayDiscard()) return false;
  CFileDialog dialog(TRUE, L"vts", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kFileFilter,
                     this);
  if (dialog.DoModal() != IDOK) return false;
  return loadFile(pathOf(dialog.GetPathName()));
}

bool CDlgSSAsTool::loadFile(const fs::path& file) {
  const krv::base::Status opened = openFile(file);
  if (!opened) {
    message(
        withFile(kCannotOpen, wide(file.filename())) + L"\n" + krv::base::utf8ToWide(opened.text()),
        MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  return true;
}

krv::base::Status CDlgSSAsTool::openFile(const fs::path& file) {
  if (!mSheet.isCreated()) return krv::base::Status::error("the editor has no sheet");
  mSheet.FinishEdit();
  std::string error;
  if (!mSheet.LoadFromFile(wide(file), &error))
    // The loader's error names the file.
    return krv::base::Status::error(error.empty() ? file.string() + ": it cannot be read" : error);
  mFile = file;
  auto& d = mSheet.document();
  // The editor calculates as the person types, whatever the file says.
  d.setBoolOption(krv::spread::kOptionAutoCalc, true);
  d.engine().recalcAll();
  if (d.maxCols() >= 1 && d.maxRows() >= 1 &&
      (d.activeCol() < 1 || d.activeRow() < 1 || d.activeCol() > d.maxCols() ||
       d.activeRow() > d.maxRows()))
    d.setActiveCell(1, 1);
  mSheet.setBoolOption(krv::spread::kOptionChanged, false);
  mUndo.reset(d);
  updateFormulaBar();
  updateCaption();
  return {};
}

bool CDlgSSAsTool::save() {
  if (mFile.empty()) return saveAs();
  return saveTo(mFile);
}

bool CDlgSSAsTool::saveAs() {
  CFileDialog dialog(FALSE, L"vts", mFile.empty() ? nullptr : wide(mFile.filename()).c_str(),
                     OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFileFilter, this);
  if (dialog.DoModal() != IDOK) return false;
  return saveTo(pathOf(dialog.GetPathName()));
}

bool CDlgSSAsTool::saveTo(const fs::path& file) {
  // An open entry is part of what the person sees: it is written first.
  if (!mSheet.FinishEdit()) return false;
  changed();
  std::string error;
  if (!mSheet.SaveToFile(wide(file), &error)) {
    message(withFile(kCannotSave, wide(file.filename())) + L"\n" + krv::base::utf8ToWide(error),
            MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  mFile = file;
  if (std::find(mSaved.begin(), mSaved.end(), file) == mSaved.end()) mSaved.push_back(file);
  mSheet.setBoolOption(krv::spread::kOptionChanged, false);
  updateCaption();
  return true;
}

bool CDlgSSAsTool::print(bool preview) {
  if (!mSheet.FinishEdit()) return false;
  VtSSSettings settings;
  settings.readFromSheet(&mSheet);
  krv::sheet::PrintSettings p = settings.printSettings();
  p.title = title();
  const krv::base::Status printed = krv::sheet::printSheet(
      mSheet.document(), p,
      preview ? krv::sheet::PrintTarget::Preview : krv::sheet::PrintTarget::Printer);
  if (!printed) {
    message(dialString(kCannotPrint).str() + L"\n" + krv::base::utf8ToWide(printed.text()),
            MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  return true;
}

// ---- editing -------------------------------------------------------------------------------

bool CDlgSSAsTool::insertRow() {
  int col = 0, row = 0;
  if (!mSheet.FinishEdit() || !mSheet.getActiveCell(col, row)) return false;
  const bool done = mSheet.insertRow(std::max(row, 1), true, true);
  changed();
  return done;
}

bool CDlgSSAsTool::deleteRow() {
  int col = 0, row = 0;
  if (!mSheet.FinishEdit() || !mSheet.getActiveCell(col, row)) return false;
  const bool done = mSheet.getMaxRows() > 1 && mSheet.deleteRow(row);
  if (done && row > mSheet.getMaxRows()) mSheet.setActiveCell(col, mSheet.getMaxRows());
  changed();
  return done;
}

bool CDlgSSAsTool::insertColumn() {
  int col = 0, row = 0;
  if (!mSheet.FinishEdit() || !mSheet.getActiveCell(col, row)) return false;
  const bool done = mSheet.insertColumn(std::max(col, 1), true, true);
  changed();
  return done;
}

bool CDlgSSAsTool::deleteColumn() {
  int col = 0, row = 0;
  if (!mSheet.FinishEdit() || !mSheet.getActiveCell(col, row)) return false;
  const bool done = mSheet.getMaxCols() > 1 && mSheet.deleteColumn(col);
  if (done && col > mSheet.getMaxCols()) mSheet.setActiveCell(mSheet.getMaxCols(), row);
  changed();
  return done;
}

bool CDlgSSAsTool::undo() {
  auto& d = mSheet.document();
  d.setEditing(false);
  const bool done = mUndo.undo(d);
  updateFormulaBar();
  updateCaption();
  return done;
}

bool CDlgSSAsTool::clearSelection() {
  auto& d = mSheet.document();
  if (d.editing() || d.maxCols() < 1 || d.maxRows() < 1) return false;
  int32_t c1, r1, c2, r2;
  d.selection(c1, r1, c2, r2);
  if (c1 == -1 || c2 == -1) c1 = 1, c2 = d.maxCols();
  if (r1 == -1 || r2 == -1) r1 = 1, r2 = d.maxRows();
  if (c1 < 1 || r1 < 1) return false;
  bool any = false;
  for (int32_t r = std::min(r1, r2); r <= std::max(r1, r2); ++r)
    for (int32_t c = std::min(c1, c2); c <= std::max(c1, c2); ++c)
      if (d.valueText(c, r).value_or(L"") != L"" || !d.formula(c, r).value_or(L"").empty())
        any = d.clearCell(c, r) || any;
  if (any) d.setBoolOption(krv::spread::kOptionChanged, true);
  changed();
  return any;
}

// ---- closing ---------------------------------------------------------------------------------

bool CDlgSSAsTool::closeWindow() {
  if (!GetSafeHwnd()) return true;
  if (!mayDiscard()) return false;
  DestroyWindow();
  return true;
}

void CDlgSSAsTool::OnOK() {
  if (GetFocus() == GetDlgItem(kFormulaEdit)) {
    applyFormulaBar();
  } else if (GetFocus() == &mSheet) {
    // Enter on the sheet (no entry open: the sheet takes Enter itself while
    // one is) goes on to the cell below, as the down arrow does.
    mSheet.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  }
}

void CDlgSSAsTool::OnCancel() {
  if (GetFocus() == GetDlgItem(kFormulaEdit)) {
    updateFormulaBar();
    mSheet.SetFocus();
  }
}

// ---- messages ----------------------------------------------------------------------------------

BOOL CDlgSSAsTool::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (HIWORD(wParam) != BN_CLICKED || id == IDOK || id == IDCANCEL)
    return CDialog::OnCommand(wParam, lParam);
  switch (id) {
    case kNewButton:
      newDocument();
      break;
    case kOpenButton:
      openDocument();
      break;
    case kSaveButton:
      save();
      break;
    case kSaveAsButton:
      saveAs();
      break;
    case kPrintButton:
      print(false);
      break;
    case kPreviewButton:
      print(true);
      break;
    case kInsertRowButton:
      insertRow();
      break;
    case kDeleteRowButton:
      deleteRow();
      break;
    case kInsertColumnButton:
      insertColumn();
      break;
    case kDeleteColumnButton:
      deleteColumn();
      break;
    case kFindButton:
    case kReplaceButton:
      mSheet.openFindDialog();
      break;
    case kSheetOptionsButton:
      if (mSheet.FinishEdit() && editSheetOptions(mSheet, this)) changed();
      break;
    case kLanguageButton:
      chooseEditorLanguage(this);
      break;
    case kDocumentSettingsButton:
      if (mSheet.FinishEdit() && editDocumentSettings(mSheet, this)) changed();
      break;
    case kUndoButton:
      undo();
      break;
    default:
      return CDialog::OnCommand(wParam, lParam);
  }
  // A button keeps no focus: the person goes on in the sheet.
  if (GetSafeHwnd() && mSheet.GetSafeHwnd()) mSheet.SetFocus();
  return TRUE;
}

BOOL CDlgSSAsTool::PreTranslateMessage(MSG* msg) {
  if (msg && msg->message == WM_KEYDOWN && GetSafeHwnd()) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool onSheet = msg->hwnd == mSheet.GetSafeHwnd();
    if (ctrl && msg->wParam == 'Z') {
      // Inside the formula bar Ctrl+Z is the edit's own.
      if (msg->hwnd != GetDlgItem(kFormulaEdit)->GetSafeHwnd()) {
        undo();
        return TRUE;
      }
    } else if (ctrl && msg->wParam == 'S') {
      save();
      return TRUE;
    } else if (onSheet && msg->wParam == VK_DELETE && !mSheet.document().editing()) {
      clearSelection();
      return TRUE;
    }
  }
  return CDialog::PreTranslateMessage(msg);
}

LRESULT CDlgSSAsTool::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kSpreadChangeMessage) {
    if (reinterpret_cast<HWND>(lParam) != mSheet.GetSafeHwnd()) return 0;
    // A move changes no content: only the bar follows (undo takes any
    // change that was not told before it undoes).
    if (wParam == kSpreadCellsEdited) {
      changed();
    } else {
      updateFormulaBar();
      updateCaption();
    }
    return 0;
  }
  if (message == WM_CLOSE) {
    closeWindow();
    return 0;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}

void CDlgSSAsTool::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  if (mLaidOut && type != SIZE_MINIMIZED) layout(cx, cy);
}

void CDlgSSAsTool::layout(int cx, int cy) {
  if (CWnd* edit = GetDlgItem(kFormulaEdit)) {
    CRect r;
    edit->GetWindowRect(&r);
    ScreenToClient(&r);
    edit->MoveWindow(mFormulaLeft, r.top, std::max(20, cx - mMargin - mFormulaLeft), r.Height());
  }
  if (mSheet.GetSafeHwnd())
    mSheet.MoveWindow(mMargin, mSheetTop, std::max(20, cx - 2 * mMargin),
                      std::max(20, cy - mSheetTop - mMargin));
}

// ---- the handle ------------------------------------------------------------------------------

DlgSSAsTool::DlgSSAsTool() : mSlot(std::make_shared<Slot>()) {}
DlgSSAsTool::~DlgSSAsTool() = default;

DlgSSAsTool::Slot::~Slot() {
  if (window && window->GetSafeHwnd()) window->DestroyWindow();
}

bool DlgSSAsTool::open(CWnd* parent) {
  if (isOpen()) {
    mSlot->window->ShowWindow(SW_SHOW);
    return true;
  }
  auto window = std::make_unique<CDlgSSAsTool>(parent);
  if (!window->create(parent)) return false;
  window->ShowWindow(SW_SHOW);
  if (parent && parent->GetSafeHwnd()) parent->SetFocus();
  mSlot->window = std::move(window);
  return true;
}

bool DlgSSAsTool::isOpen() const { return mSlot->window && mSlot->window->GetSafeHwnd(); }

Krv_Spread* DlgSSAsTool::sheet() const { return isOpen() ? &mSlot->window->sheet() : nullptr; }
