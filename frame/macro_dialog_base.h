#pragma once
// Bases of the macro dialog and the macro editor, the two dialog kinds that
// live in module-wide slots, and the factories that build them.
//
// The frame keeps the slots; the macro subsystem supplies the concrete
// dialogs by installing a factory. The dialogs hold the core module's
// records (MacroData, EditConstrData); the frame only passes those records
// on by reference and reads what it needs through the virtual operations
// below, so it never depends on their contents.
#include <functional>

#include "platform/win/dialog.h"

class MacroData;
class EditConstrData;

namespace krv::frame {

// A macro dialog: modal (slot -1) or modeless in a slot of the modeless
// table. Created modeless from template 8131.
class MacroDialogBase : public CDialog {
 public:
  static constexpr UINT kTemplateId = 8131;
  MacroDialogBase() : CDialog(kTemplateId) {}

  // The dialog's slot in the modeless table; -1 when it runs modally.
  int mSlot = -1;

  // True while the core module works on the dialog's macro (the busy flag
  // of its record); the dialog cannot be closed then.
  virtual bool isMacroBusy() const = 0;
  // Assigns the dialog's record to `data`.
  virtual void copyMacroData(MacroData& data) const = 0;
};

// Builds a macro dialog with `parent` holding a copy of `data`; nullptr when
// it cannot be built.
using MacroDialogFactory = std::function<MacroDialogBase*(CWnd* parent, const MacroData& data)>;

// The macro editor; the modeless one is created from template 8715.
class MacroEditorBase : public CDialog {
 public:
  static constexpr UINT kTemplateId = 8715;
  MacroEditorBase() : CDialog(kTemplateId) {}

  // Set when the editor runs modeless.
  bool mModeless = false;
};

// Builds a macro editor with `parent` holding a copy of `data`; nullptr when
// it cannot be built.
using MacroEditorFactory =
    std::function<MacroEditorBase*(CWnd* parent, const EditConstrData& data)>;

}  // namespace krv::frame
