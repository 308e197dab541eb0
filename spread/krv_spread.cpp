// The system's spreadsheet window over the spreadsheet control.
#include "spread/krv_spread.h"

#include <algorithm>

#include "platform/base/utf.h"
#include "platform/core/c_number_text.h"
#include "platform/core/dial_string.h"
#include "platform/sheet/cell_grid.h"
#include "platform/sheet/formula_number_text.h"
#include "platform/sheet/ss_api.h"
#include "spread/dlg_find_replace.h"
#include "spread/dyn_menu.h"

using krv::sheet::CellAttributes;

namespace krv::spread {
namespace {

// System colour values as the control takes them.
constexpr COLORREF kSysColorButtonFace = 0x8000000F;
constexpr COLORREF kSysColorValue = 0x8000000B;

// Redraw off for the lifetime of the object, restored afterwards.
class RedrawOff {
 public:
  explicit RedrawOff(krv::sheet::ControlDocument& d)
      : mDoc(d), mWas(d.boolOption(krv::spread::kOptionRedraw)) {
    d.setBoolOption(krv::spread::kOptionRedraw, false);
  }
  ~RedrawOff() { mDoc.setBoolOption(krv::spread::kOptionRedraw, mWas); }

 private:
  krv::sheet::ControlDocument& mDoc;
  bool mWas;
};

}  // namespace
}  // namespace krv::spread

using namespace krv::spread;

Krv_Spread::Krv_Spread() = default;

Krv_Spread::~Krv_Spread() {
  clearContextMenu();
  if (mFindDlg) {
    if (mFindDlg->GetSafeHwnd()) mFindDlg->DestroyWindow();
    mFindDlg.reset();
  }
  mClosedFindDlg.reset();
  if (m_hWnd) DestroyWindow();
}

// ---- creation and look --------------------------------------------------------------

bool Krv_Spread::setupCreated(UINT id) {
  document().setMaxRows(0);
  document().setMaxCols(0);
  mCreated = true;
  mControlId = static_cast<int>(id);
  SSSetAppearance(m_hWnd, 1);
  for (int key = 0; key < 3; ++key) SSSetActionKey(m_hWnd, key, FALSE, FALSE, 0);
  return true;
}

bool Krv_Spread::attachToDlgItem(CWnd* dialog, int id, bool exact) {
  if (!dialog || !dialog->GetSafeHwnd() || m_hWnd) return false;
  CWnd* item = dialog->GetDlgItem(id);
  if (!item) return false;
  CRect itemRect, dialogRect;
  item->GetWindowRect(&itemRect);
  dialog->GetWindowRect(&dialogRect);
  CRect r(itemRect.left - dialogRect.left, itemRect.top - dialogRect.top,
          itemRect.right - dialogRect.left, itemRect.bottom - dialogRect.top);
  if (!exact) {
    r.left -= 5;
    r.right -= 5;
    r.top -= 20;
    r.bottom -= 20;
  }
  item->DestroyWindow();
  if (!Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, r, dialog, static_cast<UINT>(id))) return false;
  mParent = dialog;
  return setupCreated(static_cast<UINT>(id));
}

bool Krv_Spread::createInParent(CWnd* parent, const CRect& rect, UINT id) {
  if (m_hWnd || !Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect, parent, id)) return false;
  mParent = parent;
  return setupCreated(id);
}

bool Krv_Spread::setDefaultLook(int mode) {
  if (!mCreated) return false;
  auto& d = document();
  d.setBoolOption(kOptionRedraw, false);
  d.setBoolOption(kOptionProgramSheet, false);
  d.setBoolOption(kOptionAutoCalc, false);
  d.setBoolOption(kOptionDefaultLook21, true);
  d.setBoolOption(kOptionDefaultLookOff26, false);
  d.setBoolOption(kOptionDefaultLook34, true);
  d.setBoolOption(kOptionDefaultLook32, true);
  d.setBoolOption(kOptionDefaultLook18, false);
  d.setBoolOption(kOptionDefaultLook22, true);
  SSSetShadowColor(m_hWnd, kSysColorButtonFace, kSysColorValue);
  SSSetGrayAreaColor(m_hWnd, 0xE6E6E6, kSysColorValue);
  d.setIntOption(kIntOptionDefaultLook1, -1);
  SSSetSelColor(m_hWnd, 0x6A240A, 0xFFFFFF);
  d.setBoolOption(kOptionDefaultLook11, true);
  d.setBoolOption(kOptionDefaultLook3, true);
  d.setBoolOption(kOptionDefaultLook4, true);
  d.setBoolOption(kOptionDefaultLook18, true);
  if (mode == kLookEditable) {
    d.setBoolOption(kOptionEditMode, true);
    d.setBoolOption(kOptionReadOnlyRowsLook, false);
    d.setIntOption(kIntOptionMode, 0);
  } else {
    d.setBoolOption(kOptionEditMode, false);
    d.setBoolOption(kOptionReadOnlyRowsLook, true);
    d.setIntOption(kIntOptionMode, kSpreadModeReadOnlyRows);
  }
  d.setBoolOption(krv::spread::kOptionRedraw, true);
  return true;
}

bool Krv_Spread::setBoolOption(int index, bool on) {
  return mCreated && document().setBoolOption(index, on);
}
bool Krv_Spread::getBoolOption(int index) const { return mCreated && document().boolOption(index); }
bool Krv_Spread::setIntOption(int index, int value) {
  return mCreated && document().setIntOption(index, value);
}
int Krv_Spread::getIntOption(int index) const {
  return mCreated ? document().intOption(index) : -1;
}
int Krv_Spread::modeValue() const { return getIntOption(kIntOptionMode); }

// ---- size ------------------------------------------------------------------------------

int Krv_Spread::getMaxCols() const { return mCreated ? document().maxCols() : -1; }
int Krv_Spread::getMaxRows() const { return mCreated ? document().maxRows() : -1; }

void Krv_Spread::applyDefaultFont(int col1, int row1, int col2, int row2) {
  std::wstring font = mDefaultFont.str();
  int height = mDefaultTextHeight;
  document().changeAttributes(col1, row1, col2, row2, [&](CellAttributes& a) {
    a.fontName = font;
    a.fontHeight = height;
  });
}

bool Krv_Spread::setMaxRows(int count, bool initialise) {
  if (!mCreated || count < 0) return false;
  auto& d = document();
  int old = d.maxRows();
  if (!d.setMaxRows(count)) return false;
  if (count > old) {
    RedrawOff quiet(d);
    if (initialise && old >= 1) {
      for (int r = old + 1; r <= count; ++r) d.copyRowFormat(old, r);
    }
    applyDefaultFont(0, old + 1, d.maxCols(), count);
  }
  return true;
}

bool Krv_Spread::setMaxCols(int count, bool initialise) {
  if (!mCreated || count < 0) return false;
  auto& d = document();
  int old = d.maxCols();
  if (!d.setMaxCols(count)) return false;
  if (count > old) {
    RedrawOff quiet(d);
    if (initialise && old >= 1) {
      for (int c = old + 1; c <= count; ++c) d.copyColFormat(old, c);
    }
    applyDefaultFont(old + 1, 0, count, d.maxRows());
  }
  return true;
}

// ---- cells ---------------------------------------------------------------------------------

bool Krv_Spread::getCellString(int col, int row, Krv_String& text, CellTextKind kind) const {
  text.setEmpty();
  if (!mCreated) return false;
  const auto& d = document();
  std::optional<std::wstring> t;
  switch (kind) {
    case Data:
      t = d.data(col, row);
      break;
    case Formula:
      t = d.formula(col, row);
      break;
    case Tag:
      t = d.tag(col, row);
      break;
    case Value:
      t = d.valueText(col, row);
      break;
  }
  if (!t) return false;
  text = Krv_String(std::move(*t));
  return true;
}

bool Krv_Spread::setCellData(int col, int row, const Krv_String& text) {
  return mCreated && document().setData(col, row, text.str());
}

bool Krv_Spread::setCellValue(int col, int row, const Krv_String& text) {
  return mCreated && document().setData(col, row, text.str());
}

bool Krv_Spread::setCellFormula(int col, int row, const Krv_String& formula,
                                bool /*buildDependencies*/) {
  return mCreated && document().setFormula(col, row, formula.str());
}

int Krv_Spread::getCellType(int col, int row) const {
  if (!mCreated || !document().containsCell(col, row)) return -1;
  return document().cellType(col, row);
}

bool Krv_Spread::setNumberFormat(int col, int row, int decimals, bool separator) {
  return setNumberFormat(col, row, col, row, decimals, separator);
}

bool Krv_Spread::setNumberFormat(int col1, int row1, int col2, int row2, int decimals,
                                 bool separator) {
  if (!mCreated) return false;
  SS_CELLTYPE t;
  using namespace krv::sheet;
  const DWORD style =
      kNumberStyleWindowFormat | (separator ? kNumberStyleThousands : kNumberStylePlain);
  SSSetTypeNumber(m_hWnd, &t, style, decimals, -99999999999999.0, 99999999999999.0);
  return SSSetCellTypeRange(m_hWnd, col1, row1, col2, row2, &t);
}

bool Krv_Spread::setEditFormat(int col, int row) { return setEditFormat(col, row, col, row); }

bool Krv_Spread::setEditFormat(int col1, int row1, int col2, int row2, DWORD style, int maxLength) {
  if (!mCreated) return false;
  SS_CELLTYPE t;
  SSSetTypeEdit(m_hWnd, &t, style, maxLength);
  return SSSetCellTypeRange(m_hWnd, col1, row1, col2, row2, &t);
}

bool Krv_Spread::setCheckBoxFormat(int col1, int row1, int col2, int row2) {
  if (!mCreated) return false;
  SS_CELLTYPE t;
  SSSetTypeCheckBox(m_hWnd, &t, 0, L"");
  return SSSetCellTypeRange(m_hWnd, col1, row1, col2, row2, &t);
}

// ---- transfers ----------------------------------------------------------------------------------

namespace krv::spread {
namespace {

std::wstring numberText(double v) { return krv::base::utf8ToWide(krv::sheet::formatGeneral(v)); }

// A line number of a transfer: 1 to `last`, or the header line (-32767, or
// 0) given as 0; -1 for anything else.
int transferLine(int line, int last) {
  line = krv::sheet::ControlDocument::headerIndex(line);
  return line >= 0 && line <= last ? line : -1;
}

}  // namespace
}  // namespace krv::spread

bool Krv_Spread::setColumn(int col, const Krv_StringArray& items, bool asValue) {
  if (!mCreated || (col = transferLine(col, getMaxCols())) < 0) return false;
  RedrawOff quiet(document());
  int n = std::min(items.length(), getMaxRows());
  for (int i = 0; i < n; ++i) {
    if (asValue) {
      setCellValue(col, i + 1, items[i]);
    } else {
      setCellData(col, i + 1, items[i]);
    }
  }
  return true;
}

bool Krv_Spread::setColumn(int col, const Krv_Array<int>& items) {
  if (!mCreated || (col = transferLine(col, getMaxCols())) < 0) return false;
  RedrawOff quiet(document());
  int n = std::min(items.length(), getMaxRows());
  for (int i = 0; i < n; ++i) document().setData(col, i + 1, std::to_wstring(items[i]));
  return true;
}

bool Krv_Spread::setColumn(int col, const Krv_Array<double>& items) {
  if (!mCreated || (col = transferLine(col, getMaxCols())) < 0) return false;
  RedrawOff quiet(document());
  int n = std::min(items.length(), getMaxRows());
  for (int i = 0; i < n; ++i) document().setData(col, i + 1, numberText(items[i]));
  return true;
}

bool Krv_Spread::setRow(int row, const Krv_StringArray& items, bool asValue) {
  if (!mCreated || (row = transferLine(row, getMaxRows())) < 0) return false;
  RedrawOff quiet(document());
  int n = std::min(items.length(), getMaxCols());
  for (int i = 0; i < n; ++i) {
    if (asValue) {
      setCellValue(i + 1, row, items[i]);
    } else {
      setCellData(i + 1, row, items[i]);
    }
  }
  return true;
}

bool Krv_Spread::setRow(int row, const Krv_Array<int>& items) {
  if (!mCreated || (row = transferLine(row, getMaxRows())) < 0) return false;
  RedrawOff quiet(document());
  int n = std::min(items.length(), getMaxCols());
  for (int i = 0; i < n; ++i) document().setData(i + 1, row, std::to_wstring(items[i]));
  return true;
}

bool Krv_Spread::setRow(int row, const Krv_Array<double>& items) {
  if (!mCreated || (row = transferLine(row, getMaxRows())) < 0) return false;
  RedrawOff quiet(document());
  int n = std::min(items.length(), getMaxCols());
  for (int i = 0; i < n; ++i) document().setData(i + 1, row, numberText(items[i]));
  return true;
}

bool Krv_Spread::getColumn(int col, Krv_StringArray& items, CellTextKind kind) const {
  items.setLogicalLength(0);
  if (!mCreated || (col = transferLine(col, getMaxCols())) < 0) return false;
  Krv_String t;
  for (int r = 1; r <= getMaxRows(); ++r) {
    getCellString(col, r, t, kind);
    items.append(t);
  }
  return true;
}

bool Krv_Spread::getColumn(int col, Krv_Array<int>& items) const {
  items.setLogicalLength(0);
  Krv_StringArray texts;
  if (!getColumn(col, texts, Value)) return false;
  for (int i = 0; i < texts.length(); ++i) items.append(_wtoi(texts[i]));
  return true;
}

bool Krv_Spread::getColumn(int col, Krv_Array<double>& items) const {
  items.setLogicalLength(0);
  Krv_StringArray texts;
  if (!getColumn(col, texts, Value)) return false;
  for (int i = 0; i < texts.length(); ++i) items.append(_wtof(texts[i]));
  return true;
}

bool Krv_Spread::getColumn(int col, Krv_Array<bool>& items) const {
  items.setLogicalLength(0);
  Krv_StringArray texts;
  if (!getColumn(col, texts, Value)) return false;
  for (int i = 0; i < texts.length(); ++i) items.append(texts[i] == L"1");
  return true;
}

bool Krv_Spread::getRow(int row, Krv_StringArray& items) const {
  items.setLogicalLength(0);
  if (!mCreated || (row = transferLine(row, getMaxRows())) < 0) return false;
  Krv_String t;
  for (int c = 1; c <= getMaxCols(); ++c) {
    getCellString(c, row, t, Value);
    items.append(t);
  }
  return true;
}

bool Krv_Spread::getRow(int row, Krv_Array<int>& items) const {
  items.setLogicalLength(0);
  Krv_StringArray texts;
  if (!getRow(row, texts)) return false;
  for (int i = 0; i < texts.length(); ++i) items.append(_wtoi(texts[i]));
  return true;
}

bool Krv_Spread::getRow(int row, Krv_Array<double>& items) const {
  items.setLogicalLength(0);
  Krv_StringArray texts;
  if (!getRow(row, texts)) return false;
  for (int i = 0; i < texts.length(); ++i) items.append(_wtof(texts[i]));
  return true;
}

bool Krv_Spread::getRow(int row, Krv_Array<bool>& items) const {
  items.setLogicalLength(0);
  Krv_StringArray texts;
  if (!getRow(row, texts)) return false;
  for (int i = 0; i < texts.length(); ++i) items.append(texts[i] == L"1");
  return true;
}

// ---- rows and columns
// ----------------------------------------------------------------------------

// A new line never gets a header text of its own: without one a header
// shows the default label of its position, so the new line and every line
// after it are labelled by where they now are, while texts that were set
// explicitly move with their lines.
bool Krv_Spread::insertRow(int row, bool /*setHeader*/, bool copyFormat) {
  if (!mCreated || row < 1 || row > getMaxRows() + 1) return false;
  auto& d = document();
  RedrawOff quiet(d);
  if (!d.insertRows(row)) return false;
  if (copyFormat && row + 1 <= d.maxRows()) d.copyRowFormat(row + 1, row);
  setChanged();
  return true;
}

bool Krv_Spread::insertColumn(int col, bool /*setHeader*/, bool copyFormat) {
  if (!mCreated || col < 1 || col > getMaxCols() + 1) return false;
  auto& d = document();
  RedrawOff quiet(d);
  if (!d.insertCols(col)) return false;
  if (copyFormat && col + 1 <= d.maxCols()) d.copyColFormat(col + 1, col);
  setChanged();
  return true;
}

bool Krv_Spread::deleteRow(int row) {
  if (!mCreated || row < 1 || row > getMaxRows()) return false;
  RedrawOff quiet(document());
  if (!document().deleteRows(row)) return false;
  setChanged();
  return true;
}

bool Krv_Spread::deleteColumn(int col) {
  if (!mCreated || col < 1 || col > getMaxCols()) return false;
  RedrawOff quiet(document());
  if (!document().deleteCols(col)) return false;
  setChanged();
  return true;
}

bool Krv_Spread::moveCurrentRowUp() {
  int c, r;
  if (!getActiveCell(c, r) || r <= 1) return false;
  if (!MoveRowBlock(r, r, r - 1)) return false;
  document().setActiveCell(c, r - 1);
  setChanged();
  return true;
}

bool Krv_Spread::moveCurrentRowDown() {
  int c, r;
  if (!getActiveCell(c, r) || r >= getMaxRows()) return false;
  if (!MoveRowBlock(r, r, r + 1)) return false;
  document().setActiveCell(c, r + 1);
  setChanged();
  return true;
}

bool Krv_Spread::getActiveCell(int& col, int& row) {
  col = row = 0;
  if (!mCreated) return false;
  auto& d = document();
  if (d.activeCol() < 1 || d.activeRow() < 1) d.setActiveCell(1, 1);
  col = d.activeCol();
  row = d.activeRow();
  return col >= 1 && row >= 1;
}

bool Krv_Spread::setActiveCell(int col, int row) {
  return mCreated && document().setActiveCell(col, row);
}

bool Krv_Spread::getSelection(int& col1, int& row1, int& col2, int& row2) const {
  col1 = row1 = col2 = row2 = 0;
  if (!mCreated) return false;
  int32_t a, b, c, e;
  document().selection(a, b, c, e);
  col1 = a, row1 = b, col2 = c, row2 = e;
  return true;
}

bool Krv_Spread::setSelection(int col1, int row1, int col2, int row2) {
  return mCreated && document().setSelection(col1, row1, col2, row2);
}

// ---- search ------------------------------------------------------------------------------------

bool Krv_Spread::findText(const Krv_String& text, int startCol, int startRow, int& foundCol,
                          int& foundRow, bool part) const {
  foundCol = foundRow = -1;
  if (!mCreated) return false;
  const auto& d = document();
  int cols = d.maxCols(), rows = d.maxRows();
  const auto matches = [&](int c, int r) {
    Krv_String v(*d.valueText(c, r));
    return part ? v.contains(text, false) : v.equal(text, false);
  };
  if (text.isEmpty()) {
    // An empty text matches an empty cell too: the first cell looked at
    // that is empty (or any cell at all) ends the scan early.
    for (int r = std::max(startRow, 1); r <= rows; ++r) {
      for (int c = r == startRow ? std::max(startCol, 1) : 1; c <= cols; ++c) {
        if (matches(c, r)) {
          foundCol = c;
          foundRow = r;
          return true;
        }
      }
    }
    return false;
  }
  // Any other text can only be found in a filled cell: walk those, in
  // reading order, the start row from the start column.
  const auto search = [&](int col1, int row1, int row2) {
    krv::sheet::FilledCellWalk walk(d.engine().grid(), col1, row1, cols, row2);
    for (int32_t c = 0, r = 0; walk.next(c, r);) {
      if (matches(c, r)) {
        foundCol = c;
        foundRow = r;
        return true;
      }
    }
    return false;
  };
  const int first = std::max(startRow, 1);
  if (first > rows) return false;
  if (search(first == startRow ? std::max(startCol, 1) : 1, first, first)) return true;
  return first < rows && search(1, first + 1, rows);
}

int Krv_Spread::replaceText(int col, int row, const Krv_String& what, const Krv_String& with) {
  Krv_String v;
  if (!getCellString(col, row, v, Value)) return 0;
  int n = v.replaceSubString(what, with, false);
  if (n > 0) setCellData(col, row, v);
  return n;
}

// ---- context menu
// --------------------------------------------------------------------------------

void Krv_Spread::setContextMenu(const Krv_Array<int>& kinds) {
  clearContextMenu();
  mMenuKinds = kinds;
  mMenu = new dynMenu;
  static const int kStrings[] = {0, 0, 1154, 1155, 774, 775, 1156, 1157, 1400, 1401};
  for (int i = 0; i < kinds.length(); ++i) {
    int kind = kinds[i];
    if (kind == krv::spread::kMenuSeparator) {
      mMenu->appendSeparator();
    } else if (kind >= krv::spread::kMenuCopy && kind <= krv::spread::kMenuUncheckSelected) {
      mMenu->appendItem(dialString(kStrings[kind]).str());
    } else {
      mMenu->appendItem(L"");
    }
  }
}

void Krv_Spread::clearContextMenu() {
  mMenuKinds.setLogicalLength(0);
  delete mMenu;
  mMenu = nullptr;
}

bool Krv_Spread::runMenuPosition(int position) {
  if (position < 0) return false;
  int seen = 0;
  for (int i = 0; i < mMenuKinds.length(); ++i) {
    if (mMenuKinds[i] == krv::spread::kMenuSeparator) continue;
    if (seen++ == position) return runMenuKind(mMenuKinds[i]);
  }
  return false;
}

bool Krv_Spread::runMenuKind(int kind) {
  if (!mCreated) return false;
  int c = 0, r = 0;
  switch (kind) {
    case krv::spread::kMenuCopy:
      return ClipboardCopy();
    case krv::spread::kMenuPaste: {
      bool ok = ClipboardPaste();
      if (ok) setChanged();
      return ok;
    }
    case krv::spread::kMenuInsertRow:
      getActiveCell(c, r);
      return insertRow(r, false, true);
    case krv::spread::kMenuDeleteRow:
      getActiveCell(c, r);
      return deleteRow(r);
    case krv::spread::kMenuInsertColumn:
      getActiveCell(c, r);
      return insertColumn(c, true, true);
    case krv::spread::kMenuDeleteColumn:
      getActiveCell(c, r);
      return deleteColumn(c);
    case krv::spread::kMenuCheckSelected:
    case krv::spread::kMenuUncheckSelected: {
      int c1, r1, c2, r2;
      getSelection(c1, r1, c2, r2);
      if (c1 == -1) c1 = getMaxCols();
      if (c2 == -1) c2 = getMaxCols();
      if (r1 == -1) r1 = getMaxRows();
      if (r2 == -1) r2 = getMaxRows();
      if (c1 > c2) std::swap(c1, c2);
      if (r1 > r2) std::swap(r1, r2);
      RedrawOff quiet(document());
      const wchar_t* text = kind == krv::spread::kMenuCheckSelected ? L"1" : L"0";
      for (int row = std::max(r1, 1); row <= r2; ++row) {
        for (int col = std::max(c1, 1); col <= c2; ++col) {
          if (getCellType(col, row) == krv::sheet::kCellTypeCheckBox) setCellData(col, row, text);
        }
      }
      setChanged();
      return true;
    }
    default:
      return false;
  }
}

// ---- find dialog
// ---------------------------------------------------------------------------------

CDlgFindReplace* Krv_Spread::openFindDialog() {
  if (!mCreated) return nullptr;
  mClosedFindDlg.reset();
  if (mFindDlg && mFindDlg->GetSafeHwnd()) return mFindDlg.get();
  mFindDlg = std::make_unique<CDlgFindReplace>(m_hWnd);
  if (!mFindDlg->Create(CDlgFindReplace::IDD, this)) {
    mFindDlg.reset();
    return nullptr;
  }
  mFindDlg->ShowWindow(SW_SHOW);
  return mFindDlg.get();
}

void Krv_Spread::releaseFindDialog() { mClosedFindDlg = std::move(mFindDlg); }

// ---- messages ----------------------------------------------------------------------------------

BOOL Krv_Spread::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT id = LOWORD(wParam);
  UINT code = HIWORD(wParam);
  if (code == krv::spread::kListNotifyDropDown || code == krv::spread::kListNotifyCloseUp) {
    if (mListCell[0] > 0 && mListCell[1] > 0) {
      int c, r;
      if (getActiveCell(c, r) && c == mListCell[0]) {
        mListCell[1] = r;
        document().setActiveCell(mListCell[0], mListCell[1]);
      }
    }
    return TRUE;
  }
  int entry = dynMenu::entryOf(id);
  if (entry >= 0 && code == 0) {
    if (runMenuPosition(entry)) tellParent(kSpreadCellsEdited);
    return TRUE;
  }
  return TSpread::OnCommand(wParam, lParam);
}

BOOL Krv_Spread::PreTranslateMessage(MSG* msg) {
  if (msg && msg->message == WM_KEYDOWN) {
    switch (msg->wParam) {
      case VK_F3:
        if (mFindDlg && mFindDlg->GetSafeHwnd()) {
          mFindDlg->findNext(true);
        } else {
          openFindDialog();
        }
        return TRUE;
      case VK_F5:
        if (mFindDlg && mFindDlg->GetSafeHwnd()) {
          mFindDlg->replace();
        } else {
          openFindDialog();
        }
        return TRUE;
      case VK_F8:
        if (mF8Allowed && mCreated)
          setBoolOption(krv::spread::kOptionEditMode, !getBoolOption(krv::spread::kOptionEditMode));
        break;
      default:
        break;
    }
  }
  return TSpread::PreTranslateMessage(msg);
}

LRESULT Krv_Spread::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == krv::spread::kSpreadNotifyMessage) return 0;
  return TSpread::WindowProc(message, wParam, lParam);
}

void Krv_Spread::OnSize(UINT type, int cx, int cy) {
  TSpread::OnSize(type, cx, cy);
  if (mCreated) applyResizeMode();
}

void Krv_Spread::applyResizeMode() {
  if (!mCreated || mResizeMode == kResizeNone) return;
  auto& d = document();
  int cols = d.maxCols(), rows = d.maxRows();
  if (cols < 1) return;
  CRect client;
  GetClientRect(&client);
  short vbar = 0, hbar = 0;
  SSGetScrollBarSize(m_hWnd, &vbar, &hbar);
  double width = client.Width() - vbar - (d.isColHidden(0) ? 0 : d.colWidth(0));
  double height = client.Height() - hbar - (d.isRowHidden(0) ? 0 : d.rowHeight(0));
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  RedrawOff quiet(d);
  switch (mResizeMode) {
    case kResizeFitColumns:
    case kResizeFitColumnsAndRows:
      for (int c = 1; c <= cols; ++c) d.setColWidth(c, width / cols);
      if (mResizeMode == kResizeFitColumnsAndRows && rows >= 1) {
        for (int r = 1; r <= rows; ++r) d.setRowHeight(r, height / rows);
      }
      break;
    case kResizeShareWidthBeyond: {
      double each = std::max(mResizeParams[1], (width - mResizeParams[0]) / cols);
      for (int c = 1; c <= cols; ++c) d.setColWidth(c, std::max(0.0, each));
      break;
    }
    case kResizeLastColumnTakesRest: {
      double others = 0;
      for (int c = 1; c < cols; ++c) others += d.colWidth(c);
      d.setColWidth(cols, std::max(mResizeParams[1], width - others - mResizeParams[0]));
      break;
    }
    case kResizeColumnPercents: {
      int n = std::min(mResizeCols.length(), mResizePercents.length());
      for (int i = 0; i < n; ++i) {
        int c = mResizeCols[i];
        if (c >= 1 && c <= cols)
          d.setColWidth(c, std::max(0.0, width * mResizePercents[i] / 100.0));
      }
      break;
    }
    default:
      break;
  }
}

void Krv_Spread::OnRButtonDown(UINT flags, CPoint point) {
  // The control takes the press first, so that a press outside the
  // selection makes the pressed cell the one the menu's commands act on.
  TSpread::OnRButtonDown(flags, point);
  if (mMenu && mMenuKinds.length() > 0) {
    CPoint screen = point;
    ClientToScreen(&screen);
    mMenu->track(this, screen);
  }
}

void Krv_Spread::OnDestroy() {
  if (mFindDlg && mFindDlg->GetSafeHwnd()) mFindDlg->DestroyWindow();
  mCreated = false;
  TSpread::OnDestroy();
}
