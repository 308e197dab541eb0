// Which renderer draws which window class.
#include "platform/qt/control_renderer.h"
#include "platform/qt/sheet_renderer.h"

namespace krv::qt {

const ControlRenderer& rendererFor(const CWnd& window) {
  // The spreadsheet control (and its print preview).
  if (isSheetWindow(window)) return sheetRenderer();

  return genericRenderer();
}

}  // namespace krv::qt
