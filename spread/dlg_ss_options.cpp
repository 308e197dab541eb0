// The sheet options dialog and the function that edits a sheet's options
// with it.
#include "spread/dlg_ss_options.h"

#include <cmath>
#include <optional>
#include <string>

#include "platform/core/dial_string.h"
#include "platform/win/message_box.h"

namespace {

// A whole number from 0 to `max` written in decimal digits (spaces around
// allowed); nothing for any other text.
std::optional<int> parseWhole(const std::wstring& text, int max) {
  std::size_t a = text.find_first_not_of(L" \t");
  if (a == std::wstring::npos) return std::nullopt;
  std::size_t b = text.find_last_not_of(L" \t");
  long long value = 0;
  for (std::size_t i = a; i <= b; ++i) {
    if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
    value = value * 10 + (text[i] - L'0');
    if (value > max) return std::nullopt;
  }
  return static_cast<int>(value);
}

Krv_String textAt(const Krv_StringArray& edited, const Krv_StringArray& given, int i) {
  if (i >= 0 && i < edited.length()) return edited[i];
  if (i >= 0 && i < given.length()) return given[i];
  return Krv_String();
}

// Copies `items` over the start of `edited`, keeping what lies beyond.
void keepEdited(Krv_StringArray& edited, const Krv_StringArray& items) {
  if (edited.length() < items.length()) edited.setLogicalLength(items.length());
  for (int i = 0; i < items.length(); ++i) edited[i] = items[i];
}

// Header texts are texts whatever they look like, and may be long.
constexpr int kHeaderTextMaxLength = 9999;
constexpr DWORD kEditStyle = 0x110000;

// Gives the whole editor its look once, as the sheet's default: edit cells
// in the window's default font. The editors then grow through the document,
// so that new lines inherit the default instead of getting a record per cell
// (a hundred thousand rows stay cheap).
void prepareEditor(Krv_Spread& editor) {
  editor.setEditFormat(-1, -1, -1, -1, kEditStyle, kHeaderTextMaxLength);
  const std::wstring font = editor.defaultFont().str();
  const int height = editor.defaultTextHeight();
  editor.document().changeAttributes(-1, -1, -1, -1, [&](krv::sheet::CellAttributes& a) {
    a.fontName = font;
    a.fontHeight = height;
  });
}

}  // namespace

CDlgSSOptions::CDlgSSOptions(CWnd* parent) : CDialog(IDD, parent) {}

Krv_String CDlgSSOptions::columnText(int i) const {
  return textAt(mColumnTextsEdited, mColumnTexts, i);
}
Krv_String CDlgSSOptions::rowText(int i) const { return textAt(mRowTextsEdited, mRowTexts, i); }

BOOL CDlgSSOptions::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(dialString(1369).c_str());
  SetDlgItemText(kSummaryLabel, (dialString(1370) + L"\n" + dialString(1371)).c_str());
  SetDlgItemText(kColumnsLabel, dialString(1372).c_str());
  SetDlgItemText(kRowsLabel, dialString(1374).c_str());
  SetDlgItemText(kHeaderWidthLabel, dialString(1376).c_str());
  SetDlgItemText(kHeaderHeightLabel, dialString(1379).c_str());
  SetDlgItemText(kColumnHeadersLabel, dialString(1373).c_str());
  SetDlgItemText(kRowHeadersLabel, dialString(1375).c_str());
  SetDlgItemText(IDOK, dialString(1).c_str());
  SetDlgItemText(IDCANCEL, dialString(2).c_str());
  mFilling = true;
  SetDlgItemText(kColumnsEdit, std::to_wstring(mColumns).c_str());
  SetDlgItemText(kRowsEdit, std::to_wstring(mRows).c_str());
  SetDlgItemText(kHeaderWidthEdit, std::to_wstring(mHeaderWidth).c_str());
  SetDlgItemText(kHeaderHeightEdit, std::to_wstring(mHeaderHeight).c_str());
  mFilling = false;

  // The column header editor: one row, a column per sheet column, its
  // header column as wide as the sheet's row headers.
  if (mColumnEditor.attachToDlgItem(this, kColumnHeaderFrame, false)) {
    mColumnEditor.setBoolOption(krv::spread::kOptionReadOnlyRowsLook, true);
    mColumnEditor.setBoolOption(krv::spread::kOptionDefaultLook11, false);
    mColumnEditor.setBoolOption(krv::spread::kOptionDefaultLook3, false);
    mColumnEditor.setBoolOption(krv::spread::kOptionDefaultLook4, false);
    prepareEditor(mColumnEditor);
    mColumnEditor.document().setColWidth(0, mHeaderWidth);
    fillColumnEditor(mColumns);
  }
  // The row header editor: one column, a row per sheet row, its header row
  // as high as the sheet's column headers.
  if (mRowEditor.attachToDlgItem(this, kRowHeaderFrame, false)) {
    mRowEditor.setBoolOption(krv::spread::kOptionReadOnlyRowsLook, false);
    mRowEditor.setBoolOption(krv::spread::kOptionDefaultLook11, true);
    mRowEditor.setBoolOption(krv::spread::kOptionDefaultLook3, false);
    mRowEditor.setBoolOption(krv::spread::kOptionDefaultLook4, false);
    prepareEditor(mRowEditor);
    mRowEditor.document().setRowHeight(0, mHeaderHeight);
    // Its one column takes the editor's width.
    mRowEditor.setResizeMode(krv::spread::kResizeLastColumnTakesRest);
    mRowEditor.setResizeParameters(0, krv::sheet::ControlDocument::kDefaultColWidth);
    fillRowEditor(mRows);
  }
  return TRUE;
}

void CDlgSSOptions::readColumnEditor() {
  if (!mColumnEditor.isCreated()) return;
  if (mColumnEditor.document().editChanged()) mColumnEditor.FinishEdit();
  Krv_StringArray items;
  if (mColumnEditor.getMaxRows() >= 1 && mColumnEditor.getRow(1, items)) {
    keepEdited(mColumnTextsEdited, items);
  }
}

void CDlgSSOptions::readRowEditor() {
  if (!mRowEditor.isCreated()) return;
  if (mRowEditor.document().editChanged()) mRowEditor.FinishEdit();
  Krv_StringArray items;
  if (mRowEditor.getMaxCols() >= 1 && mRowEditor.getColumn(1, items)) {
    keepEdited(mRowTextsEdited, items);
  }
}

void CDlgSSOptions::fillColumnEditor(int count) {
  if (!mColumnEditor.isCreated()) return;
  mColumnEditor.document().setEditing(false);
  mColumnEditor.document().setMaxRows(1);
  mColumnEditor.document().setMaxCols(count);
  for (int i = 0; i < count; ++i) mColumnEditor.setCellData(i + 1, 1, columnText(i));
  mShownColumns = count;
  mColumnEditor.Invalidate();
}

void CDlgSSOptions::fillRowEditor(int count) {
  if (!mRowEditor.isCreated()) return;
  mRowEditor.document().setEditing(false);
  mRowEditor.document().setMaxCols(1);
  mRowEditor.document().setMaxRows(count);
  for (int i = 0; i < count; ++i) mRowEditor.setCellData(1, i + 1, rowText(i));
  mShownRows = count;
  mRowEditor.applyResizeMode();
  mRowEditor.Invalidate();
}

BOOL CDlgSSOptions::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  // A count takes effect when the person leaves its edit, so that the
  // numbers on the way to the one being typed (1, 10, 100, ... on the way to
  // 100000) never resize the editors; the sizes take effect at once.
  const bool countLeft = code == EN_KILLFOCUS && (id == kColumnsEdit || id == kRowsEdit);
  const bool sizeChanged = code == EN_CHANGE && (id == kHeaderWidthEdit || id == kHeaderHeightEdit);
  if ((countLeft || sizeChanged) && !mFilling) {
    const std::wstring text = GetDlgItemText(id);
    switch (id) {
      case kColumnsEdit:
        if (auto n = parseWhole(text, krv::sheet::kControlMaxCols); n && *n != mShownColumns) {
          readColumnEditor();
          fillColumnEditor(*n);
        }
        return TRUE;
      case kRowsEdit:
        if (auto n = parseWhole(text, krv::sheet::kControlMaxRows); n && *n != mShownRows) {
          readRowEditor();
          fillRowEditor(*n);
        }
        return TRUE;
      case kHeaderWidthEdit:
        if (auto w = parseWhole(text, kMaxHeaderSize); w && mColumnEditor.isCreated()) {
          mColumnEditor.document().setColWidth(0, *w);
          mColumnEditor.Invalidate();
        }
        return TRUE;
      case kHeaderHeightEdit:
        if (auto h = parseWhole(text, kMaxHeaderSize); h && mRowEditor.isCreated()) {
          mRowEditor.document().setRowHeight(0, *h);
          mRowEditor.Invalidate();
        }
        return TRUE;
      default:
        break;
    }
  }
  return CDialog::OnCommand(wParam, lParam);
}

bool CDlgSSOptions::refuse(int id, int message, int limit) {
  Krv_String text = dialString(message) + L" " + Krv_String(std::to_wstring(limit)) + L".";
  ::MessageBox(m_hWnd, text.c_str(), dialString(1369).c_str(), MB_OK | MB_ICONEXCLAMATION);
  if (CWnd* edit = GetDlgItem(id)) GotoDlgCtrl(edit);
  return false;
}

void CDlgSSOptions::OnOK() {
  const auto columns = parseWhole(GetDlgItemText(kColumnsEdit), krv::sheet::kControlMaxCols);
  if (!columns) {
    refuse(kColumnsEdit, 1380, krv::sheet::kControlMaxCols);
    return;
  }
  const auto rows = parseWhole(GetDlgItemText(kRowsEdit), krv::sheet::kControlMaxRows);
  if (!rows) {
    refuse(kRowsEdit, 1381, krv::sheet::kControlMaxRows);
    return;
  }
  const auto width = parseWhole(GetDlgItemText(kHeaderWidthEdit), kMaxHeaderSize);
  if (!width) {
    refuse(kHeaderWidthEdit, 1382, kMaxHeaderSize);
    return;
  }
  const auto height = parseWhole(GetDlgItemText(kHeaderHeightEdit), kMaxHeaderSize);
  if (!height) {
    refuse(kHeaderHeightEdit, 1382, kMaxHeaderSize);
    return;
  }
  readColumnEditor();
  readRowEditor();
  mColumns = *columns;
  mRows = *rows;
  mHeaderWidth = *width;
  mHeaderHeight = *height;
  CDialog::OnOK();
}

bool editSheetOptions(Krv_Spread& sheet, CWnd* parent) {
  if (!sheet.isCreated()) return false;
  CDlgSSOptions dialog(parent);
  dialog.mColumns = sheet.getMaxCols();
  dialog.mRows = sheet.getMaxRows();
  dialog.mHeaderWidth = static_cast<int>(std::lround(sheet.document().colWidth(0)));
  dialog.mHeaderHeight = static_cast<int>(std::lround(sheet.document().rowHeight(0)));
  sheet.getRow(krv::sheet::kHeaderIndex, dialog.mColumnTexts);
  sheet.getColumn(krv::sheet::kHeaderIndex, dialog.mRowTexts);
  if (dialog.DoModal() != IDOK) return false;

  sheet.setMaxCols(dialog.mColumns);
  sheet.setMaxRows(dialog.mRows);
  sheet.document().setRowHeight(0, dialog.mHeaderHeight);
  sheet.document().setColWidth(0, dialog.mHeaderWidth);
  // Only texts that changed are written: a header that shows its default
  // label (a column's letters, a row's number) keeps following its position.
  auto changed = [](const Krv_StringArray& given, int i, const Krv_String& text) {
    return i < given.length() ? text.str() != given[i].str() : !text.isEmpty();
  };
  for (int i = 0; i < dialog.mRows; ++i) {
    Krv_String text = dialog.rowText(i);
    if (changed(dialog.mRowTexts, i, text))
      sheet.setCellData(krv::sheet::kHeaderIndex, i + 1, text);
  }
  for (int i = 0; i < dialog.mColumns; ++i) {
    Krv_String text = dialog.columnText(i);
    if (changed(dialog.mColumnTexts, i, text))
      sheet.setCellData(i + 1, krv::sheet::kHeaderIndex, text);
  }
  sheet.setBoolOption(krv::spread::kOptionChanged, true);
  sheet.Invalidate();
  return true;
}
