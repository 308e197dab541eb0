#pragma once
// The host application's windows that this module's windows hang from.
#include "platform/win/wnd.h"

namespace krv::frame {

// The host's main window: parent of the modeless dialogs and of the pooled
// standards dialogs, and the window the keyboard focus goes back to after a
// modeless window opens: the host's frame window.
CWnd* hostMainWindow();

// Gives the keyboard focus to the host's main window, if there is one.
void focusHostMainWindow();

}  // namespace krv::frame
