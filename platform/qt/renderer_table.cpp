// Which renderer draws which window class.
#include <QString>

#include "platform/qt/button_renderer.h"
#include "platform/qt/combo_box_renderer.h"
#include "platform/qt/control_renderer.h"
#include "platform/qt/edit_renderer.h"
#include "platform/qt/list_box_renderer.h"
#include "platform/qt/list_view_renderer.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/sheet_renderer.h"
#include "platform/qt/static_renderer.h"
#include "platform/qt/tab_renderer.h"
#include "platform/qt/tool_tip_renderer.h"

namespace krv::qt {

namespace {

// The standard controls, by class name (any case).
const ControlRenderer* standardControlRenderer(const QString& name) {
  if (name == "BUTTON") return &buttonRenderer();
  if (name == "STATIC") return &staticRenderer();
  if (name == "EDIT") return &editRenderer();
  if (name == "COMBOBOX") return &comboBoxRenderer();
  if (name == "LISTBOX") return &listBoxRenderer();
  if (name == "SYSTABCONTROL32") return &tabRenderer();
  if (name == "SYSLISTVIEW32") return &listViewRenderer();
  if (name == "TOOLTIPS_CLASS32") return &toolTipRenderer();
  return nullptr;
}

}  // namespace

const ControlRenderer& rendererFor(const CWnd& window) {
  // The spreadsheet control (and its print preview).
  if (isSheetWindow(window)) return sheetRenderer();

  const QString name = toQString(window.className()).toUpper();
  if (const ControlRenderer* standard = standardControlRenderer(name)) return *standard;
  return genericRenderer();
}

}  // namespace krv::qt
