#pragma once
// SheetRenderer: draws the spreadsheet control (TSpread, window classes
// kSpreadWindowClass and kSpreadPreviewWindowClass) from its
// ControlDocument and passes a person's mouse, wheel and keys to it.
//
// Drawing: the header row and column with their texts, the cells from the
// document's top-left cell on with their widths and heights (hidden lines
// take no room), back and fore colours, fonts, borders, spans, the look of
// each cell type (edit and general text; number text right aligned as the
// cell formats it; check box; combo box with its arrow; picture; button),
// locked cells on the dialog face colour, the selection, the active cell's
// frame, the cell being edited with its editor text, selection and caret,
// grid lines, the grey area beyond the last cell and the two scroll bars
// that the control reserves (SSGetScrollBarSize). Cells lie exactly where
// TSpread::GetCellRect puts them, so a press lands on the cell drawn
// there. Only the lines in view are visited: the cost of a frame does not
// depend on the size of the sheet (beyond the hidden lines passed over).
//
// Input: a left press, release and double click reach the control as the
// window messages a person's mouse sends (WM_LBUTTONDOWN, WM_LBUTTONUP,
// WM_LBUTTONDBLCLK through the message loop's PreTranslateMessage), so the
// control's own handlers select, toggle check boxes and press buttons (and
// take the focus); a right click is Person::rightClickAt. Presses on the
// scroll bars, and the wheel (Shift or a sideways wheel for columns),
// scroll with TSpread::SetTopLeftCell. Keys go through the default
// ControlRenderer::keyPress; Backspace is typed as the character "\b" the
// control's editor takes.
//
// The document tells nobody when it changes, so every sheet widget is
// repainted after any person's input in the application.
//
// A combo box cell shows its arrow, but the control offers no way for a
// person to choose one of its items, so a press on the arrow only selects
// the cell.
#include <cstdint>

#include "platform/qt/control_renderer.h"

namespace krv::qt {

class SheetRenderer : public ControlRenderer {
 public:
  void paint(QPainter& painter, CWnd& window, MirrorWidget& widget) const override;
  void mousePress(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const override;
  void mouseRelease(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const override;
  void mouseDoubleClick(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const override;
  void mouseMove(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const override;
  void wheel(CWnd& window, MirrorWidget& widget, QWheelEvent& event) const override;
  void keyPress(CWnd& window, MirrorWidget& widget, QKeyEvent& event) const override;

  // The cells (not headers; a span once) painted by all sheet renderers
  // since the process started: tests compare it before and after a frame.
  static std::uint64_t paintedCellCount();
};

// True for a window of the spreadsheet control's classes.
bool isSheetWindow(const CWnd& window);

// The one sheet renderer.
const ControlRenderer& sheetRenderer();

}  // namespace krv::qt
