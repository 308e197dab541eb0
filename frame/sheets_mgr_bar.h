#pragma once
// The docking bar slot of the sheets manager.
//
// StartModelessDlgSheetsMgr (exported) opens the sheets manager in a
// CVtDockControlBar titled "Sheets manager" (template 267, tool identifier
// {BFF7CDE1-365F-4164-BF0A-A906FFA2920F}) or, when the bar exists, shows it
// again; EndModelessDlgSheetsMgr closes it. Closing the bar by hand destroys
// and deletes it too. At most one bar exists.
#include <functional>

#include "frame/dock_control_bar.h"
#include "frame/exported_functions.h"

namespace krv::frame {

// The base of the sheets manager window.
class SheetsMgrDialogBase : public VtDockedDlgChild {
 public:
  static constexpr UINT kTemplateId = 267;
  SheetsMgrDialogBase() : VtDockedDlgChild(kTemplateId) {}
  // Another module reports an action on the sheets.
  virtual void actionNotify(VtSheetAction action) = 0;
};

// Builds the sheets manager window; nullptr when it cannot be built.
using SheetsMgrDialogFactory = std::function<SheetsMgrDialogBase*()>;

// Installs the factory StartModelessDlgSheetsMgr builds the window with, and
// gives the previous one.
SheetsMgrDialogFactory setSheetsMgrDialogFactory(SheetsMgrDialogFactory factory);

// The sheets manager's bar, or nullptr.
CVtDockControlBar* sheetsMgrBar();

// The tool identifier of the sheets manager's bar.
extern const GUID kSheetsMgrToolId;

}  // namespace krv::frame
