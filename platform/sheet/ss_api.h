#pragma once
// The plain functions of the spreadsheet control, taking the control's
// window handle. Each fails (FALSE, 0 or an empty result) for a handle that
// is not a live spreadsheet control window or for a cell outside the sheet.
// Column or row -32767 addresses the header column or row.
#include <string>

#include "platform/sheet/control_document.h"
#include "platform/sheet/custom_function.h"
#include "platform/win/win_types.h"

inline constexpr long SS_HEADER = krv::sheet::kHeaderIndex;

// A cell type record, filled by the SSSetType... functions and applied by
// SSSetCellType / SSSetCellTypeRange.
struct SS_CELLTYPE {
  int type = krv::sheet::kCellTypeGeneral;
  DWORD style = 0;
  int decimals = 2;
  double minValue = -99999999999999.0;
  double maxValue = 99999999999999.0;
  int maxLength = 0;
  std::wstring text;  // combo items (tab separated), button text, picture name
};
using LPSS_CELLTYPE = SS_CELLTYPE*;

// Span answers of SSGetCellSpan.
inline constexpr int SS_SPAN_NO = 0, SS_SPAN_YES = 1, SS_SPAN_ANCHOR = 2;

BOOL SSAddCustomFunctionExt(HWND hWnd, LPCWSTR name, short minArgs, short maxArgs,
                            krv::sheet::CustomCallback callback, long flags);
BOOL SSReCalcCell(HWND hWnd, long col, long row);
// The tag text of a cell; FALSE outside the sheet.
BOOL SSGetCellTag(HWND hWnd, long col, long row, std::wstring& tag);
BOOL SSSetCellTag(HWND hWnd, long col, long row, LPCWSTR tag);
BOOL SSAddCellSpan(HWND hWnd, long col, long row, long numCols, long numRows);
BOOL SSRemoveCellSpan(HWND hWnd, long col, long row);
// SS_SPAN_NO, SS_SPAN_ANCHOR for the span's first cell, SS_SPAN_YES for a
// covered cell; the span's anchor and size are given for both.
int SSGetCellSpan(HWND hWnd, long col, long row, long* anchorCol, long* anchorRow, long* numCols,
                  long* numRows);

LPSS_CELLTYPE SSSetTypeEdit(HWND hWnd, LPSS_CELLTYPE type, DWORD style, int maxLength);
LPSS_CELLTYPE SSSetTypeNumber(HWND hWnd, LPSS_CELLTYPE type, DWORD style, int decimals, double min,
                              double max);
LPSS_CELLTYPE SSSetTypeCheckBox(HWND hWnd, LPSS_CELLTYPE type, DWORD style, LPCWSTR text);
// Items separated by tabs.
LPSS_CELLTYPE SSSetTypeComboBoxEx(HWND hWnd, LPSS_CELLTYPE type, DWORD style, LPCWSTR items,
                                  short maxRows, int maxEditLength);
LPSS_CELLTYPE SSSetTypePicture(HWND hWnd, LPSS_CELLTYPE type, DWORD style, LPCWSTR picture);
LPSS_CELLTYPE SSSetTypeButton(HWND hWnd, LPSS_CELLTYPE type, DWORD style, LPCWSTR text);
BOOL SSSetCellType(HWND hWnd, long col, long row, LPSS_CELLTYPE type);
// -1 for a bound means all columns or rows.
BOOL SSSetCellTypeRange(HWND hWnd, long col1, long row1, long col2, long row2, LPSS_CELLTYPE type);

BOOL SSSetTextTip(HWND hWnd, int status, long delay, COLORREF back, COLORREF fore);
BOOL SSGetTextTip(HWND hWnd, int* status, long* delay, COLORREF* back, COLORREF* fore);
BOOL SSSetCellNoteIndicator(HWND hWnd, int indicator);
// Action key 0, 1 or 2; all-zero values clear it.
BOOL SSSetActionKey(HWND hWnd, int action, BOOL shift, BOOL ctrl, WORD key);
BOOL SSSetActiveCellHighlightStyle(HWND hWnd, int style);
BOOL SSSetSelColor(HWND hWnd, COLORREF back, COLORREF fore);
BOOL SSSetBackColorStyle(HWND hWnd, int style);
BOOL SSSetAppearance(HWND hWnd, int appearance);
// 0 default (A1), 1 A1, 2 R1C1: the style of formulas set afterwards.
BOOL SSSetRefStyle(HWND hWnd, int style);
BOOL SSReset(HWND hWnd);
BOOL SSIsRowHidden(HWND hWnd, long row);
BOOL SSGetScrollBarSize(HWND hWnd, short* verticalWidth, short* horizontalHeight);

// Colour settings used by the house look: header cells and the area beyond
// the last cell.
BOOL SSSetShadowColor(HWND hWnd, COLORREF color, COLORREF textColor);
BOOL SSSetGrayAreaColor(HWND hWnd, COLORREF back, COLORREF fore);
