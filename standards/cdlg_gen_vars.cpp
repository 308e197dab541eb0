// The general variables dialog.
#include "standards/cdlg_gen_vars.h"

#include <algorithm>

#include "frame/exported_functions.h"
#include "frame/modal_frame.h"
#include "platform/core/dial_string.h"
#include "platform/core/dlg_open_multi.h"
#include "platform/core/dlg_size.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/core/text_functions.h"
#include "platform/sheet/ss_api.h"
#include "platform/win/button.h"
#include "platform/win/resource_modules.h"

namespace krv::standards {
namespace {

// How a control follows a change of the client size.
enum Share { kNone = 0, kHalf = 1, kAll = 2, kRest = 3 };

int shareOf(int share, int change) {
  switch (share) {
    case kHalf:
      return change / 2;
    case kAll:
      return change;
    case kRest:
      return change - change / 2;
    default:
      return 0;
  }
}

constexpr wchar_t kFilterPrompt[] =
    L"Select the drawings and folders that apply to this general variable";

// Path texts compared as the file system of the library does: either
// separator, letter case ignored.
Krv_String normalisedPath(Krv_String path) {
  path.replaceSubString(L"/", L"\\");
  return path;
}

void setHeaders(Krv_Spread& sheet, std::initializer_list<int> ids) {
  int col = 1;
  for (int id : ids) sheet.setCellData(col++, SS_HEADER, dialString(id));
}

void fillColumns(Krv_Spread& sheet, int cols, const Krv_StringArray& names,
                 std::initializer_list<const Krv_StringArray*> columns) {
  sheet.setMaxCols(cols);
  sheet.setMaxRows(std::max(1, names.length()));
  int col = 1;
  for (const Krv_StringArray* items : columns) sheet.setColumn(col++, *items);
}

}  // namespace
}  // namespace krv::standards

using namespace krv::standards;

CDlgGenVars::CDlgGenVars(CWnd* parent) : CDialog(IDD, parent) {}

BOOL CDlgGenVars::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(dialString(1764).c_str());
  SetDlgItemText(kDwgGroup, dialString(1762).c_str());
  SetDlgItemText(kStdGroup, dialString(1763).c_str());
  for (int id : {kDwgAdd, kStdAdd}) SetDlgItemText(id, dialString(606).c_str());
  for (int id : {kDwgRemove, kStdRemove}) SetDlgItemText(id, dialString(607).c_str());

  // Move buttons: arrow icons with their tool tips.
  mToolTips.Create(this);
  for (int id : {kDwgUp, kStdUp, kDwgDown, kStdDown}) {
    const bool up = id == kDwgUp || id == kStdUp;
    if (auto* button = dynamic_cast<CButton*>(GetDlgItem(id)))
      button->SetIcon(LoadIcon(AfxGetResourceHandle(), up ? 257 : 258));
    if (CWnd* w = GetDlgItem(id)) mToolTips.AddTool(w, dialString(up ? 173 : 174).c_str());
  }

  mDwgSheet.attachToDlgItem(this, kDwgSheet, false);
  mStdSheet.attachToDlgItem(this, kStdSheet, false);
  mDwgSheet.setDefaultLook(Krv_Spread::kLookEditable);
  mStdSheet.setDefaultLook(Krv_Spread::kLookEditable);
  fill();

  // Remember where everything sits at the template's size, then restore
  // the size the person left the dialog at.
  CRect client;
  GetClientRect(&client);
  mInitialClient = mMinClient = CSize(client.Width(), client.Height());
  const struct {
    int id, moveX, moveY, growX, growY;
  } rules[] = {
      {kDwgGroup, kNone, kNone, kAll, kHalf}, {kDwgSheet, kNone, kNone, kAll, kHalf},
      {kDwgAdd, kAll, kNone, kNone, kNone},   {kDwgRemove, kAll, kNone, kNone, kNone},
      {kDwgUp, kAll, kNone, kNone, kNone},    {kDwgDown, kAll, kNone, kNone, kNone},
      {kStdGroup, kNone, kHalf, kAll, kRest}, {kStdSheet, kNone, kHalf, kAll, kRest},
      {kStdAdd, kAll, kHalf, kNone, kNone},   {kStdRemove, kAll, kHalf, kNone, kNone},
      {kStdUp, kAll, kHalf, kNone, kNone},    {kStdDown, kAll, kHalf, kNone, kNone},
      {IDOK, kAll, kAll, kNone, kNone},       {IDCANCEL, kAll, kAll, kNone, kNone},
  };
  mPlacements.clear();
  for (const auto& r : rules) {
    CWnd* w = GetDlgItem(r.id);
    if (!w) continue;
    CRect rect;
    w->GetWindowRect(&rect);
    ScreenToClient(&rect);
    mPlacements.push_back({r.id, rect, r.moveX, r.moveY, r.growX, r.growY});
  }
  mLayoutReady = true;
  ChangeDlgSize(this, kSizeName);
  return TRUE;
}

void CDlgGenVars::fill() {
  fillColumns(mDwgSheet, kDwgCols, mData.dwgGenVars(),
              {&mData.dwgGenVars(), &mData.dwgGenValues(), &mData.dwgGenFilters()});
  setHeaders(mDwgSheet, {347, 86, 1543});
  fillColumns(mStdSheet, kStdCols, mData.stdGenVars(),
              {&mData.stdGenVars(), &mData.stdGenValues(), &mData.stdGenOverrides(),
               &mData.stdGenFilters()});
  setHeaders(mStdSheet, {347, 1765, 86, 1543});
  refresh(mDwgSheet);
  refresh(mStdSheet);
}

void CDlgGenVars::refresh(Krv_Spread& sheet) {
  const int cols = sheet.getMaxCols(), rows = sheet.getMaxRows();
  if (cols < 1 || rows < 1) return;
  SS_CELLTYPE type;
  SSSetTypeButton(sheet.GetSafeHwnd(), &type, 0, L"...");
  SSSetCellTypeRange(sheet.GetSafeHwnd(), cols, 1, cols, rows, &type);
}

Krv_Spread* CDlgGenVars::sheetOf(int id) {
  if (id == kDwgSheet) return &mDwgSheet;
  if (id == kStdSheet) return &mStdSheet;
  return nullptr;
}

BOOL CDlgGenVars::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (code == kSpreadNotifyButtonClicked) {
    Krv_Spread* sheet = sheetOf(id);
    if (!sheet) return CDialog::OnCommand(wParam, lParam);
    int col = 0, row = 0;
    if (sheet->getActiveCell(col, row) && col == sheet->getMaxCols() &&
        row <= sheet->getMaxRows() && sheet->getCellType(col, row) == krv::sheet::kCellTypeButton) {
      chooseFilter(*sheet, row);
    }
    return TRUE;
  }
  if (code != BN_CLICKED) return CDialog::OnCommand(wParam, lParam);

  Krv_Spread* sheet = nullptr;
  switch (id) {
    case kDwgAdd:
    case kDwgRemove:
    case kDwgUp:
    case kDwgDown:
      sheet = &mDwgSheet;
      break;
    case kStdAdd:
    case kStdRemove:
    case kStdUp:
    case kStdDown:
      sheet = &mStdSheet;
      break;
    default:
      return CDialog::OnCommand(wParam, lParam);
  }
  int col = 0, row = 0;
  sheet->getActiveCell(col, row);
  const int rows = sheet->getMaxRows();
  switch (id) {
    case kDwgAdd:
    case kStdAdd:
      // An active cell left beyond the rows (after removals) adds at the end.
      sheet->insertRow(std::clamp(row, 1, rows + 1), false, true);
      break;
    case kDwgRemove:
    case kStdRemove:
      if (row >= 1 && row <= rows) sheet->deleteRow(row);
      break;
    case kDwgUp:
    case kStdUp:
      sheet->moveCurrentRowUp();
      break;
    default:
      sheet->moveCurrentRowDown();
      break;
  }
  refresh(*sheet);
  return TRUE;
}

bool CDlgGenVars::chooseFilter(Krv_Spread& sheet, int row) {
  const int filterCol = &sheet == &mDwgSheet ? kDwgFilterCol : kStdFilterCol;
  const Krv_String root =
      normalisedPath(krv::core::withTrailingSeparator(Krv_Settings::libDir() + L"Macros\\"));
  Krv_StringArray chosen;
  if (!DlgOpenMulti(root, L"Drawing", L"dwg", kFilterPrompt, chosen, this)) return false;

  Krv_StringArray added;
  for (int i = 0; i < chosen.length(); ++i) {
    const Krv_String path = normalisedPath(chosen[i]);
    if (!path.startsWith(root, false)) continue;  // outside the Macros folder
    const Krv_String relative = path.substr(root.length());
    if (!relative.isEmpty()) added.append(relative);
  }
  if (added.length() == 0) return false;

  Krv_String text;
  sheet.getCellString(filterCol, row, text, Data);
  Krv_StringArray entries = strToArr(text, L";");
  for (int i = 0; i < added.length(); ++i) entries.append(added[i]);
  return sheet.setCellData(filterCol, row, arrToStr(entries, L";"));
}

void CDlgGenVars::readBack() {
  mDwgSheet.getColumn(1, mData.dwgGenVars(), Data);
  mDwgSheet.getColumn(2, mData.dwgGenValues(), Data);
  mDwgSheet.getColumn(kDwgFilterCol, mData.dwgGenFilters(), Data);
  mStdSheet.getColumn(1, mData.stdGenVars(), Data);
  mStdSheet.getColumn(2, mData.stdGenValues(), Data);
  mStdSheet.getColumn(3, mData.stdGenOverrides(), Data);
  mStdSheet.getColumn(kStdFilterCol, mData.stdGenFilters(), Data);
}

void CDlgGenVars::OnOK() {
  readBack();
  CDialog::OnOK();
}

BOOL CDlgGenVars::PreTranslateMessage(MSG* msg) {
  if (mToolTips.GetSafeHwnd()) mToolTips.RelayEvent(msg);
  return CDialog::PreTranslateMessage(msg);
}

void CDlgGenVars::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  if (!mLayoutReady || mInLayout) return;
  if (cx < mMinClient.cx || cy < mMinClient.cy) {
    // Never smaller than the template: grow the window back to the minimum.
    CRect window;
    GetWindowRect(&window);
    const int width = window.Width() + std::max(0, static_cast<int>(mMinClient.cx) - cx);
    const int height = window.Height() + std::max(0, static_cast<int>(mMinClient.cy) - cy);
    mInLayout = true;
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    mInLayout = false;
    CRect client;
    GetClientRect(&client);
    cx = client.Width();
    cy = client.Height();
  }
  layout(cx, cy);
}

void CDlgGenVars::layout(int cx, int cy) {
  const int dx = cx - mInitialClient.cx, dy = cy - mInitialClient.cy;
  for (const auto& p : mPlacements) {
    CWnd* w = GetDlgItem(p.id);
    if (!w) continue;
    const int x = p.rect.left + shareOf(p.moveX, dx), y = p.rect.top + shareOf(p.moveY, dy);
    const int width = p.rect.Width() + shareOf(p.growX, dx),
              height = p.rect.Height() + shareOf(p.growY, dy);
    w->MoveWindow(x, y, width, height);
  }
}

void CDlgGenVars::OnDestroy() {
  if (mLayoutReady) WriteDlgSize(this, kSizeName);
  mLayoutReady = false;
  if (mToolTips.GetSafeHwnd()) mToolTips.DestroyWindow();
  if (mDwgSheet.GetSafeHwnd()) mDwgSheet.DestroyWindow();
  if (mStdSheet.GetSafeHwnd()) mStdSheet.DestroyWindow();
  CDialog::OnDestroy();
}

bool StartDlgGenVars(VtAutoStandardsData& data) {
  return krv::frame::runModalFrame<CDlgGenVars>(data, &CDlgGenVars::mData);
}
