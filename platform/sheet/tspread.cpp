// The spreadsheet control's window: loading and saving, the clipboard, and a person's mouse and
// keys.
#include "platform/sheet/tspread.h"

#include <algorithm>
#include <cmath>

#include "platform/base/utf.h"
#include "platform/sheet/cell_input.h"
#include "platform/sheet/sheet_file.h"
#include "platform/sheet/ss_api.h"
#include "platform/win/clipboard.h"
#include "platform/win/event_loop.h"
#include "platform/win/message_box.h"
#include "platform/win/window_class.h"

TSpread::TSpread() = default;
TSpread::~TSpread() {
  if (m_hWnd) DestroyWindow();
}

BOOL TSpread::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  // The control's class takes double clicks and shows the arrow, as the
  // vendor registers it; registering again is harmless.
  static const bool registered = krv::win::registerWindowClass(
      {kSpreadWindowClass, CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr});
  (void)registered;
  return CWnd::Create(kSpreadWindowClass, L"", style, rect, parent, id);
}

TSpread* TSpread::fromHandle(HWND hWnd) { return dynamic_cast<TSpread*>(CWnd::FromHandle(hWnd)); }

BOOL TSpread::LoadFromFile(const std::wstring& file, std::string* error) {
  const krv::base::Status loaded =
      krv::sheet::loadSheetFile(mDocument, std::filesystem::path(krv::base::toUtf8(file)));
  if (error) error->clear();
  return krv::base::reportTo(loaded, error);
}

BOOL TSpread::SaveToFile(const std::wstring& file, std::string* error) {
  const krv::base::Status saved =
      krv::sheet::saveSheetFile(mDocument, std::filesystem::path(krv::base::toUtf8(file)));
  if (error) error->clear();
  return krv::base::reportTo(saved, error);
}

BOOL TSpread::ClipboardCopy() {
  if (!m_hWnd) return FALSE;
  int32_t c1, r1, c2, r2;
  mDocument.selection(c1, r1, c2, r2);
  if (c1 == 0 && r1 == 0) return FALSE;
  return krv::win::setClipboardText(mDocument.copyBlock(c1, r1, c2, r2), m_hWnd);
}

BOOL TSpread::ClipboardCut() {
  if (!ClipboardCopy()) return FALSE;
  int32_t c1, r1, c2, r2;
  mDocument.selection(c1, r1, c2, r2);
  if (c1 == -1 || c2 == -1) c1 = 1, c2 = mDocument.maxCols();
  if (r1 == -1 || r2 == -1) r1 = 1, r2 = mDocument.maxRows();
  for (int32_t r = r1; r <= r2; ++r) {
    for (int32_t c = c1; c <= c2; ++c) mDocument.clearCell(c, r);
  }
  notifyParent(kSpreadCellsEdited);
  return TRUE;
}

BOOL TSpread::ClipboardPaste() {
  if (!m_hWnd) return FALSE;
  std::wstring text = krv::win::getClipboardText();
  if (text.empty()) return FALSE;
  if (mDocument.editing()) return activeCellTakesTyping() && mDocument.typeText(text);
  const krv::base::Status pasted =
      mDocument.pasteBlock(mDocument.activeCol(), mDocument.activeRow(), text, true);
  if (!pasted) {
    showRefusal(pasted.text());
    return FALSE;
  }
  notifyParent(kSpreadCellsEdited);
  return TRUE;
}

BOOL TSpread::FinishEdit() {
  if (!m_hWnd || !mDocument.editing()) return TRUE;
  const krv::base::Status committed = mDocument.commitEdit();
  if (!committed) {
    showRefusal(committed.text());
    return FALSE;
  }
  mDocument.setBoolOption(krv::sheet::kOptionChanged, true);
  notifyParent(kSpreadCellsEdited);
  return TRUE;
}

void TSpread::notifyParent(WPARAM code) {
  if (!m_hWnd) return;
  if (CWnd* parent = GetParent())
    parent->SendMessage(kSpreadChangeMessage, code, reinterpret_cast<LPARAM>(m_hWnd));
}

LRESULT TSpread::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const int32_t col = mDocument.activeCol(), row = mDocument.activeRow();
  const HWND self = m_hWnd;
  const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
  // The handler may have destroyed the window; then nobody is told.
  if (m_hWnd == self && self && message != kSpreadChangeMessage &&
      (mDocument.activeCol() != col || mDocument.activeRow() != row))
    notifyParent(kSpreadActiveCellMoved);
  return result;
}

void TSpread::showRefusal(const std::string& why) {
  ::MessageBox(m_hWnd, krv::base::utf8ToWide(why).c_str(), AfxGetAppName().c_str(),
               MB_OK | MB_ICONEXCLAMATION);
}

BOOL TSpread::MoveRowBlock(long row1, long row2, long destRow) {
  if (!m_hWnd) return FALSE;
  long rows = mDocument.maxRows();
  if (row1 < 1 || row2 < row1 || row2 > rows || destRow < 1 || destRow + (row2 - row1) > rows)
    return FALSE;
  // Moving a block is a sequence of neighbour exchanges.
  while (destRow < row1) {
    for (long r = row1; r <= row2; ++r)
      mDocument.swapRows(static_cast<int32_t>(r - 1), static_cast<int32_t>(r));
    --row1;
    --row2;
  }
  while (destRow > row1) {
    for (long r = row2; r >= row1; --r)
      mDocument.swapRows(static_cast<int32_t>(r), static_cast<int32_t>(r + 1));
    ++row1;
    ++row2;
  }
  return TRUE;
}

// ---- view and mouse ---------------------------------------------------------------

using krv::sheet::ControlDocument;

CSize TSpread::cellAreaSize() const {
  if (!m_hWnd) return CSize(0, 0);
  CRect client;
  GetClientRect(&client);
  short vbar = 0, hbar = 0;
  SSGetScrollBarSize(m_hWnd, &vbar, &hbar);
  return CSize(std::max(0L, static_cast<long>(client.Width()) - vbar),
               std::max(0L, static_cast<long>(client.Height()) - hbar));
}

std::optional<ControlDocument::ViewCell> TSpread::CellFromPoint(CPoint point) const {
  if (!m_hWnd) return std::nullopt;
  const CSize area = cellAreaSize();
  return mDocument.cellAt(point.x, point.y, area.cx, area.cy);
}

BOOL TSpread::GetCellRect(long col, long row, CRect& rect) const {
  if (!m_hWnd) return FALSE;
  const CSize area = cellAreaSize();
  auto r = mDocument.cellRectInView(static_cast<int32_t>(col), static_cast<int32_t>(row), area.cx,
                                    area.cy);
  if (!r) return FALSE;
  // Whole client units: a cell owns the points from its (rounded up) left
  // edge to before its (rounded up) right edge.
  rect = CRect(static_cast<int>(std::ceil(r->left)), static_cast<int>(std::ceil(r->top)),
               static_cast<int>(std::ceil(r->right)), static_cast<int>(std::ceil(r->bottom)));
  return !rect.IsRectEmpty();
}

BOOL TSpread::SetTopLeftCell(long col, long row) {
  if (!m_hWnd) return FALSE;
  return mDocument.setTopLeft(static_cast<int32_t>(col), static_cast<int32_t>(row));
}

void TSpread::selectForPress(ControlDocument::ViewCell cell, bool extend) {
  ControlDocument& d = mDocument;
  const int32_t cols = d.maxCols(), rows = d.maxRows();
  if (cols < 1 || rows < 1) return;
  const bool rowMode = d.intOption(krv::sheet::kIntOptionMode) == kSpreadModeReadOnlyRows;
  const int32_t activeCol = d.activeCol(), activeRow = d.activeRow();
  extend = extend && activeCol >= 1 && activeRow >= 1 && activeCol <= cols && activeRow <= rows;

  if (cell.col == 0 && cell.row == 0) {  // the corner: everything
    d.setSelection(-1, -1, -1, -1);
    return;
  }
  if (cell.row == 0) {  // a column header: whole columns
    const int32_t from = extend ? activeCol : cell.col;
    if (!extend) d.setActiveCell(cell.col, d.topRow());
    d.setSelection(std::min(from, cell.col), -1, std::max(from, cell.col), -1);
    return;
  }
  if (cell.col == 0 || rowMode) {  // a row header, or any cell of read-only rows: whole rows
    const int32_t from = extend ? activeRow : cell.row;
    if (!extend) d.setActiveCell(cell.col == 0 ? d.leftCol() : cell.col, cell.row);
    d.setSelection(-1, std::min(from, cell.row), -1, std::max(from, cell.row));
    return;
  }
  if (extend) {
    d.setSelection(std::min(activeCol, cell.col), std::min(activeRow, cell.row),
                   std::max(activeCol, cell.col), std::max(activeRow, cell.row));
    return;
  }
  d.setActiveCell(cell.col, cell.row);
  d.setSelection(cell.col, cell.row, cell.col, cell.row);
}

void TSpread::OnLButtonDown(UINT flags, CPoint point) {
  const auto cell = CellFromPoint(point);
  if (IsWindowEnabled() && GetFocus() != this) SetFocus();
  // Leaving a cell finishes its entry; one the cell does not take keeps the
  // person in it.
  if (cell && mDocument.editing() &&
      (cell->col != mDocument.activeCol() || cell->row != mDocument.activeRow()) && !FinishEdit()) {
    return;
  }
  if (!cell) {
    CWnd::OnLButtonDown(flags, point);
    return;
  }
  const bool extend = (flags & MK_SHIFT) != 0;
  selectForPress(*cell, extend);
  CWnd::OnLButtonDown(flags, point);
  if (extend || cell->col < 1 || cell->row < 1) return;

  ControlDocument& d = mDocument;
  const krv::sheet::CellAttributes& attrs = d.attributes(cell->col, cell->row);
  if (attrs.locked) return;
  if (attrs.type == krv::sheet::kCellTypeCheckBox &&
      d.intOption(krv::sheet::kIntOptionMode) != kSpreadModeReadOnlyRows) {
    const bool on = d.data(cell->col, cell->row).value_or(L"") == L"1";
    d.setData(cell->col, cell->row, on ? L"0" : L"1");
    d.setBoolOption(krv::sheet::kOptionChanged, true);
    notifyParent(kSpreadCellsEdited);
  } else if (attrs.type == krv::sheet::kCellTypeButton) {
    // Last: the parent may do anything with the control, even destroy it.
    if (CWnd* parent = GetParent()) {
      parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), kSpreadNotifyButtonClicked),
                          reinterpret_cast<LPARAM>(m_hWnd));
    }
  }
}

void TSpread::OnLButtonDblClk(UINT flags, CPoint point) {
  // The press before it did the cell's action; the double click only
  // selects (a press of a window class without double clicks repeats the
  // action instead).
  if (auto cell = CellFromPoint(point)) selectForPress(*cell, (flags & MK_SHIFT) != 0);
  CWnd::OnLButtonDblClk(flags, point);
}

void TSpread::OnRButtonDown(UINT flags, CPoint point) {
  // A context command acts on the selection: a press outside it moves the
  // active cell there, a press inside keeps the block.
  if (auto cell = CellFromPoint(point);
      cell && cell->col >= 1 && cell->row >= 1 && !mDocument.isSelected(cell->col, cell->row)) {
    selectForPress(*cell, false);
  }
  CWnd::OnRButtonDown(flags, point);
}

namespace {

// The next line from `from` in direction `dir` (+1 or -1) that takes room in
// the view, within 1..last; `from` itself when there is none.
template <class SizeOf>
int32_t nextShownLine(int32_t from, int dir, int32_t last, SizeOf sizeOf) {
  for (int32_t i = from + dir; i >= 1 && i <= last; i += dir)
    if (sizeOf(i) > 0) return i;
  return from;
}

// The first line to show so that line `target` is shown whole within
// `viewSize` (lines start after the header of `headerSize`), moving the
// current first line `first` the least.
template <class SizeOf>
int32_t firstLineShowing(int32_t target, int32_t first, double viewSize, double headerSize,
                         SizeOf sizeOf) {
  if (target < first) return target;
  const double room = viewSize - headerSize;
  double used = 0;
  for (int32_t i = first; i <= target; ++i) used += sizeOf(i);
  // Drop lines from the top until the target fits, but never the target itself.
  while (first < target && used > room) used -= sizeOf(first++);
  return first;
}

}  // namespace

bool TSpread::moveForKey(UINT key) {
  ControlDocument& d = mDocument;
  const int32_t cols = d.maxCols(), rows = d.maxRows();
  if (cols < 1 || rows < 1) return false;
  auto colSize = [&d](int32_t c) { return d.shownColWidth(c); };
  auto rowSize = [&d](int32_t r) { return d.shownRowHeight(r); };
  int32_t col = std::clamp(d.activeCol(), 1, cols), row = std::clamp(d.activeRow(), 1, rows);
  // A move out of a span starts from the span's far edge.
  const auto span = d.spanAt(col, row);
  switch (key) {
    case VK_LEFT:
      col = nextShownLine(col, -1, cols, colSize);
      break;
    case VK_RIGHT:
      col = nextShownLine(span ? span->col + span->numCols - 1 : col, 1, cols, colSize);
      break;
    case VK_UP:
      row = nextShownLine(row, -1, rows, rowSize);
      break;
    case VK_DOWN:
      row = nextShownLine(span ? span->row + span->numRows - 1 : row, 1, rows, rowSize);
      break;
    case VK_PRIOR:
    case VK_NEXT: {
      // A page is the rows the view shows whole, at least one.
      const double room = cellAreaSize().cy - d.shownRowHeight(0);
      int32_t page = 0;
      double used = 0;
      for (int32_t r = d.topRow(); r <= rows && used + rowSize(r) <= room; ++r)
        if (rowSize(r) > 0) used += rowSize(r), ++page;
      for (int32_t i = 0; i < std::max(1, page); ++i)
        row = nextShownLine(row, key == VK_NEXT ? 1 : -1, rows, rowSize);
      break;
    }
    default:
      return false;
  }
  if (auto target = d.spanAt(col, row)) col = target->col, row = target->row;
  selectForPress(ControlDocument::ViewCell{col, row}, false);
  scrollToActiveCell();
  return true;
}

void TSpread::scrollToActiveCell() {
  ControlDocument& d = mDocument;
  const int32_t col = d.activeCol(), row = d.activeRow();
  if (col < 1 || row < 1 || col > d.maxCols() || row > d.maxRows()) return;
  const CSize area = cellAreaSize();
  auto colSize = [&d](int32_t c) { return d.shownColWidth(c); };
  auto rowSize = [&d](int32_t r) { return d.shownRowHeight(r); };
  d.setTopLeft(firstLineShowing(col, d.leftCol(), area.cx, d.shownColWidth(0), colSize),
               firstLineShowing(row, d.topRow(), area.cy, d.shownRowHeight(0), rowSize));
}

// ---- typing ---------------------------------------------------------------------

bool TSpread::activeCellTakesTyping() const {
  const ControlDocument& d = mDocument;
  const int32_t col = d.activeCol(), row = d.activeRow();
  if (col < 1 || row < 1 || col > d.maxCols() || row > d.maxRows()) return false;
  if (d.intOption(krv::sheet::kIntOptionMode) == kSpreadModeReadOnlyRows) return false;
  return krv::sheet::takesTypedText(d.attributes(col, row));
}

void TSpread::OnChar(UINT ch, UINT repCount, UINT flags) {
  if (!IsWindowEnabled()) return;
  // Enter finishes on its key press (OnKeyDown); its character "\r" that
  // follows does nothing more.
  if (ch == L'\r') return;
  if (ch == VK_ESCAPE) {
    mDocument.setEditing(false);
  } else if (ch == VK_BACK) {
    mDocument.eraseText(true);
  } else if (ch >= 0x20 && activeCellTakesTyping()) {
    // A character the cell does not take is dropped, as an edit field
    // drops one beyond its limit.
    mDocument.typeText(std::wstring(1, static_cast<wchar_t>(ch)));
  } else {
    CWnd::OnChar(ch, repCount, flags);
  }
}

LRESULT TSpread::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETDLGCODE)
    return DLGC_WANTARROWS | DLGC_WANTCHARS | (mDocument.editing() ? DLGC_WANTALLKEYS : 0);
  return CWnd::DefWindowProc(message, wParam, lParam);
}

void TSpread::OnKeyDown(UINT ch, UINT repCount, UINT flags) {
  switch (ch) {
    case VK_RETURN:
      FinishEdit();
      return;
    case VK_ESCAPE:
      mDocument.setEditing(false);
      return;
    case VK_DELETE:
      mDocument.eraseText(false);
      return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
      // Leaving the cell finishes its entry; a refused one keeps the person there.
      if (mDocument.editing() && !FinishEdit()) return;
      if (moveForKey(ch)) return;
      break;
    case 'V':
      if (GetKeyState(VK_CONTROL) < 0) {
        // Into the editor, the entry marks the change when it is finished.
        const bool intoCells = !mDocument.editing();
        if (ClipboardPaste() && intoCells)
          mDocument.setBoolOption(krv::sheet::kOptionChanged, true);
        return;
      }
      break;
    default:
      break;
  }
  CWnd::OnKeyDown(ch, repCount, flags);
}
