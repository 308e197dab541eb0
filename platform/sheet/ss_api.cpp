// The plain SS... functions of the spreadsheet control, each reaching the control through its
// window handle.
#include "platform/sheet/ss_api.h"

#include "platform/base/utf.h"
#include "platform/sheet/tspread.h"

using krv::sheet::CellAttributes;
using krv::sheet::ControlDocument;

namespace {

ControlDocument* doc(HWND hWnd) {
  TSpread* s = TSpread::fromHandle(hWnd);
  return s ? &s->document() : nullptr;
}

}  // namespace

BOOL SSAddCustomFunctionExt(HWND hWnd, LPCWSTR name, short minArgs, short maxArgs,
                            krv::sheet::CustomCallback callback, long flags) {
  ControlDocument* d = doc(hWnd);
  if (!d || !name) return FALSE;
  return d->engine().registerCustomFunction(krv::base::toUtf8(name), minArgs, maxArgs,
                                            std::move(callback), static_cast<uint32_t>(flags));
}

BOOL SSReCalcCell(HWND hWnd, long col, long row) {
  ControlDocument* d = doc(hWnd);
  return d && d->engine().recalcCell(static_cast<int32_t>(col), static_cast<int32_t>(row));
}

BOOL SSGetCellTag(HWND hWnd, long col, long row, std::wstring& tag) {
  tag.clear();
  ControlDocument* d = doc(hWnd);
  if (!d) return FALSE;
  auto t = d->tag(static_cast<int32_t>(col), static_cast<int32_t>(row));
  if (!t) return FALSE;
  tag = *t;
  return TRUE;
}

BOOL SSSetCellTag(HWND hWnd, long col, long row, LPCWSTR tag) {
  ControlDocument* d = doc(hWnd);
  return d && d->setTag(static_cast<int32_t>(col), static_cast<int32_t>(row), tag ? tag : L"");
}

BOOL SSAddCellSpan(HWND hWnd, long col, long row, long numCols, long numRows) {
  ControlDocument* d = doc(hWnd);
  return d && d->addSpan(static_cast<int32_t>(col), static_cast<int32_t>(row),
                         static_cast<int32_t>(numCols), static_cast<int32_t>(numRows));
}

BOOL SSRemoveCellSpan(HWND hWnd, long col, long row) {
  ControlDocument* d = doc(hWnd);
  return d && d->removeSpan(static_cast<int32_t>(col), static_cast<int32_t>(row));
}

int SSGetCellSpan(HWND hWnd, long col, long row, long* anchorCol, long* anchorRow, long* numCols,
                  long* numRows) {
  ControlDocument* d = doc(hWnd);
  if (!d) return SS_SPAN_NO;
  auto s = d->spanAt(static_cast<int32_t>(col), static_cast<int32_t>(row));
  if (!s) return SS_SPAN_NO;
  if (anchorCol) *anchorCol = s->col;
  if (anchorRow) *anchorRow = s->row;
  if (numCols) *numCols = s->numCols;
  if (numRows) *numRows = s->numRows;
  return s->col == col && s->row == row ? SS_SPAN_ANCHOR : SS_SPAN_YES;
}

LPSS_CELLTYPE SSSetTypeEdit(HWND, LPSS_CELLTYPE type, DWORD style, int maxLength) {
  if (!type) return nullptr;
  *type = SS_CELLTYPE();
  type->type = krv::sheet::kCellTypeEdit;
  type->style = style;
  type->maxLength = maxLength;
  return type;
}

LPSS_CELLTYPE SSSetTypeNumber(HWND, LPSS_CELLTYPE type, DWORD style, int decimals, double min,
                              double max) {
  if (!type) return nullptr;
  *type = SS_CELLTYPE();
  type->type = krv::sheet::kCellTypeNumber;
  type->style = style;
  type->decimals = decimals < 0 ? 0 : (decimals > 15 ? 15 : decimals);
  type->minValue = min;
  type->maxValue = max;
  return type;
}

LPSS_CELLTYPE SSSetTypeCheckBox(HWND, LPSS_CELLTYPE type, DWORD style, LPCWSTR text) {
  if (!type) return nullptr;
  *type = SS_CELLTYPE();
  type->type = krv::sheet::kCellTypeCheckBox;
  type->style = style;
  type->text = text ? text : L"";
  return type;
}

LPSS_CELLTYPE SSSetTypeComboBoxEx(HWND, LPSS_CELLTYPE type, DWORD style, LPCWSTR items,
                                  short maxRows, int maxEditLength) {
  if (!type) return nullptr;
  *type = SS_CELLTYPE();
  type->type = krv::sheet::kCellTypeComboBox;
  type->style = style;
  type->text = items ? items : L"";
  type->decimals = maxRows;
  type->maxLength = maxEditLength;
  return type;
}

LPSS_CELLTYPE SSSetTypePicture(HWND, LPSS_CELLTYPE type, DWORD style, LPCWSTR picture) {
  if (!type) return nullptr;
  *type = SS_CELLTYPE();
  type->type = krv::sheet::kCellTypePicture;
  type->style = style;
  type->text = picture ? picture : L"";
  return type;
}

LPSS_CELLTYPE SSSetTypeButton(HWND, LPSS_CELLTYPE type, DWORD style, LPCWSTR text) {
  if (!type) return nullptr;
  *type = SS_CELLTYPE();
  type->type = krv::sheet::kCellTypeButton;
  type->style = style;
  type->text = text ? text : L"";
  return type;
}

BOOL SSSetCellTypeRange(HWND hWnd, long col1, long row1, long col2, long row2, LPSS_CELLTYPE type) {
  ControlDocument* d = doc(hWnd);
  if (!d || !type) return FALSE;
  SS_CELLTYPE t = *type;
  return d->changeAttributes(static_cast<int32_t>(col1), static_cast<int32_t>(row1),
                             static_cast<int32_t>(col2), static_cast<int32_t>(row2),
                             [&](CellAttributes& a) {
                               a.type = t.type;
                               a.style = t.style;
                               a.decimals = t.decimals;
                               a.minValue = t.minValue;
                               a.maxValue = t.maxValue;
                               a.maxLength = t.maxLength;
                               a.typeText = t.text;
                             });
}

BOOL SSSetCellType(HWND hWnd, long col, long row, LPSS_CELLTYPE type) {
  if (col == -1 || row == -1) return SSSetCellTypeRange(hWnd, col, row, col, row, type);
  ControlDocument* d = doc(hWnd);
  if (!d || !d->containsCell(static_cast<int32_t>(col), static_cast<int32_t>(row))) return FALSE;
  return SSSetCellTypeRange(hWnd, col, row, col, row, type);
}

BOOL SSSetTextTip(HWND hWnd, int status, long delay, COLORREF back, COLORREF fore) {
  ControlDocument* d = doc(hWnd);
  if (!d) return FALSE;
  auto& l = d->look();
  l.textTipStatus = status;
  l.textTipDelay = static_cast<int>(delay);
  l.textTipBackColor = back;
  l.textTipForeColor = fore;
  return TRUE;
}

BOOL SSGetTextTip(HWND hWnd, int* status, long* delay, COLORREF* back, COLORREF* fore) {
  ControlDocument* d = doc(hWnd);
  if (!d) return FALSE;
  const auto& l = d->look();
  if (status) *status = l.textTipStatus;
  if (delay) *delay = l.textTipDelay;
  if (back) *back = l.textTipBackColor;
  if (fore) *fore = l.textTipForeColor;
  return TRUE;
}

BOOL SSSetCellNoteIndicator(HWND hWnd, int indicator) {
  ControlDocument* d = doc(hWnd);
  if (!d) return FALSE;
  d->look().noteIndicator = indicator;
  return TRUE;
}

BOOL SSSetActionKey(HWND hWnd, int action, BOOL shift, BOOL ctrl, WORD key) {
  ControlDocument* d = doc(hWnd);
  if (!d || action < 0 || action > 2) return FALSE;
  d->look().actionKeys[static_cast<size_t>(action)] = {shift ? 1 : 0, ctrl ? 1 : 0, key};
  return TRUE;
}

BOOL SSSetActiveCellHighlightStyle(HWND hWnd, int style) {
  ControlDocument* d = doc(hWnd);
  if (!d) return FALSE;
  d->look().activeCellHighlightStyle = style;
  return TRUE;
}

BOOL SSSetSelColor(HWND hWnd, COLORREF back, COLORREF fore) {
  ControlDocument* d = doc(hWnd);
  if (!d) return FALSE;
  d->look().selBackColor = back;
  d->look().selForeColor = fore;
  return TRUE;
}

BOOL SSSetBackColorStyle(HWND hWnd, int style) {
  ControlDocument* d = doc(hWnd);
  if (!d) return FALSE;
  d->look().backColorStyle = style;
  return TRUE;
}

BOOL SSSetAppearance(HWND hWnd, int appearance) {
  ControlDocument* d = doc(hWnd);
  if (!d) return FALSE;
  d->look().appearance = appearance;
  return TRUE;
}

BOOL SSSetRefStyle(HWND hWnd, int style) {
  ControlDocument* d = doc(hWnd);
  if (!d || style < 0 || style > 2) return FALSE;
  d->engine().setReferenceStyle(static_cast<krv::sheet::ReferenceStyle>(style));
  return TRUE;
}

BOOL SSReset(HWND hWnd) {
  ControlDocument* d = doc(hWnd);
  if (!d) return FALSE;
  d->reset();
  return TRUE;
}

BOOL SSIsRowHidden(HWND hWnd, long row) {
  ControlDocument* d = doc(hWnd);
  return d && d->isRowHidden(static_cast<int32_t>(row));
}

BOOL SSGetScrollBarSize(HWND hWnd, short* verticalWidth, short* horizontalHeight) {
  if (!doc(hWnd)) return FALSE;
  // The control draws standard scroll bars of 17 pixels.
  if (verticalWidth) *verticalWidth = 17;
  if (horizontalHeight) *horizontalHeight = 17;
  return TRUE;
}

BOOL SSSetShadowColor(HWND hWnd, COLORREF color, COLORREF textColor) {
  ControlDocument* d = doc(hWnd);
  if (!d) return FALSE;
  d->look().shadowColor = color;
  d->look().shadowTextColor = textColor;
  return TRUE;
}

BOOL SSSetGrayAreaColor(HWND hWnd, COLORREF back, COLORREF fore) {
  ControlDocument* d = doc(hWnd);
  if (!d) return FALSE;
  d->look().grayAreaBackColor = back;
  d->look().grayAreaForeColor = fore;
  return TRUE;
}
