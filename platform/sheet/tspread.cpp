#include "platform/sheet/tspread.h"

#include "platform/sheet/sheet_file.h"
#include "platform/sheet/control_text.h"
#include "platform/win/clipboard.h"

TSpread::TSpread() = default;
TSpread::~TSpread() {
  if (m_hWnd) DestroyWindow();
}

BOOL TSpread::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(kSpreadWindowClass, L"", style, rect, parent, id);
}

TSpread* TSpread::fromHandle(HWND hWnd) {
  return dynamic_cast<TSpread*>(CWnd::FromHandle(hWnd));
}

BOOL TSpread::LoadFromFile(const std::wstring& file, std::string* error) {
  std::string why;
  bool ok = krv::sheet::loadSheetFile(mDocument, std::filesystem::path(krv::sheet::toUtf8Text(file)), why);
  if (error) *error = why;
  return ok;
}

BOOL TSpread::SaveToFile(const std::wstring& file, std::string* error) {
  std::string why;
  bool ok = krv::sheet::saveSheetFile(mDocument, std::filesystem::path(krv::sheet::toUtf8Text(file)), why);
  if (error) *error = why;
  return ok;
}

BOOL TSpread::ClipboardCopy() {
  if (!m_hWnd) return FALSE;
  int32_t c1, r1, c2, r2;
  mDocument.selection(c1, r1, c2, r2);
  if (c1 == 0 && r1 == 0) return FALSE;
  return krv::setClipboardText(mDocument.copyBlock(c1, r1, c2, r2), m_hWnd);
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
  return TRUE;
}

BOOL TSpread::ClipboardPaste() {
  if (!m_hWnd) return FALSE;
  std::wstring text = krv::getClipboardText();
  if (text.empty()) return FALSE;
  return mDocument.pasteBlock(mDocument.activeCol(), mDocument.activeRow(), text);
}

BOOL TSpread::MoveRowBlock(long row1, long row2, long destRow) {
  if (!m_hWnd) return FALSE;
  long rows = mDocument.maxRows();
  if (row1 < 1 || row2 < row1 || row2 > rows || destRow < 1 || destRow + (row2 - row1) > rows) return FALSE;
  // Moving a block is a sequence of neighbour exchanges.
  while (destRow < row1) {
    for (long r = row1; r <= row2; ++r) mDocument.swapRows(static_cast<int32_t>(r - 1), static_cast<int32_t>(r));
    --row1;
    --row2;
  }
  while (destRow > row1) {
    for (long r = row2; r >= row1; --r) mDocument.swapRows(static_cast<int32_t>(r), static_cast<int32_t>(r + 1));
    ++row1;
    ++row2;
  }
  return TRUE;
}
