// The factory of window objects by class name (makeWindowObject): the control classes a dialog
// template may name.
#include "platform/win/button.h"
#include "platform/win/combo_box.h"
#include "platform/win/edit.h"
#include "platform/win/list_box.h"
#include "platform/win/list_ctrl.h"
#include "platform/win/static_ctrl.h"
#include "platform/win/string_items.h"
#include "platform/win/tab_ctrl.h"
#include "platform/win/wnd.h"

namespace krv::win {

std::unique_ptr<CWnd> makeWindowObject(const std::wstring& className) {
  if (equalsNoCase(className, L"BUTTON")) return std::make_unique<CButton>();
  if (equalsNoCase(className, L"EDIT")) return std::make_unique<CEdit>();
  if (equalsNoCase(className, L"STATIC")) return std::make_unique<CStatic>();
  if (equalsNoCase(className, L"COMBOBOX")) return std::make_unique<CComboBox>();
  if (equalsNoCase(className, L"LISTBOX")) return std::make_unique<CListBox>();
  if (equalsNoCase(className, L"SysTabControl32")) return std::make_unique<CTabCtrl>();
  if (equalsNoCase(className, L"SysListView32")) return std::make_unique<CListCtrl>();
  return std::make_unique<CWnd>();
}

}  // namespace krv::win
