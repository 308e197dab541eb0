#pragma once
// The table of modeless macro dialogs.
//
// Slots are numbered from 0; an empty slot holds nullptr. A new dialog takes
// the highest-numbered empty slot, or a new one at the end. Ending the last
// slot also drops the empty slots just before it. A dialog whose macro is busy is not closed at
// once: a 50 ms thread timer retries the close until the macro is free ("Delayed timer called." on
// the command line at every try); one retry at a time per slot.
//
// The exported functions (StartDlgMacroModeless, GetDlgMacroData,
// EndDlgMacroModeless, DestroyAllMacroDlgs) work on this table; the
// functions below are the same operations for the module itself.
// StartDlgMacroModeless builds its dialog with the installed factory, and
// GetDlgMacroData copies the record through MacroDialogBase::copyMacroData,
// so the table itself never needs the contents of MacroData. A dialog may
// end its own slot from one of its handlers (as when the person closes it).
#include <functional>

#include "frame/macro_dialog_base.h"

namespace krv::frame {

// Installs the factory StartDlgMacroModeless builds its dialog with, and
// gives the previous one. Without a factory no dialog can be built.
MacroDialogFactory setMacroDialogFactory(MacroDialogFactory factory);

// Opens a modeless macro dialog built by `build` (called with the host's
// main window) in a slot: switches resource lookup, sets `slot` to -1, picks
// the slot, gives the dialog its slot number, creates it from its template
// and shows it. Unless `keepFocus`, the focus goes back to the main window.
// False when the dialog cannot be built or created; the slot stays empty.
bool openModelessMacroDialog(bool keepFocus, int& slot,
                             const std::function<MacroDialogBase*(CWnd* parent)>& build);

// The dialog in `slot`; nullptr for an empty or invalid slot.
MacroDialogBase* modelessMacroDialog(int slot);
// Number of slots, empty ones included.
int modelessMacroSlotCount();
// Number of slots whose close waits for their macro.
int pendingMacroDialogCloses();

}  // namespace krv::frame
