#pragma once
// The renderer of edits (class "EDIT"): single- and multi-line text (left,
// centred or right; '*' for passwords; multi-line text without
// ES_AUTOHSCROLL wraps between words) on the window colour, or on the
// dialog face when read-only or disabled, with the selection highlighted
// while focused (always with ES_NOHIDESEL) and the caret while focused,
// scrolled the least that shows the caret.
//
// A left press sends the press to the edit, gives it the focus and puts the
// caret at the character under the mouse; moving with the button held
// selects from there. Typed characters and keys take the default way
// (WM_CHAR to the focused window, keys through the dialog).
#include "platform/qt/control_renderer.h"

namespace krv::qt {

const ControlRenderer& editRenderer();

}  // namespace krv::qt
