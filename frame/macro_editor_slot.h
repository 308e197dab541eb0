#pragma once
// The single modeless macro editor.
//
// StartDlgEditConstraints opens it (once; while it is open a start changes
// nothing) and EndDlgEditConstraints closes it; both are exported. The
// editor is built by the installed factory.
#include "frame/macro_dialog_base.h"

namespace krv::frame {

// Installs the factory StartDlgEditConstraints builds the editor with, and
// gives the previous one.
MacroEditorFactory setMacroEditorFactory(MacroEditorFactory factory);

// Opens the modeless editor built by `build` (called with the host's main
// window) unless one is open: switches resource lookup, stores it in the
// slot, sets its modeless flag, creates it from its template, shows it and
// gives the focus back to the main window. An editor that cannot be built
// or created leaves the slot empty.
void openModelessMacroEditor(const std::function<MacroEditorBase*(CWnd* parent)>& build);

// The open modeless editor, or nullptr.
MacroEditorBase* modelessMacroEditor();

}  // namespace krv::frame
