#pragma once
// The renderer of static controls (class "STATIC"): texts aligned left,
// centred or right (wrapped unless SS_LEFTNOWORDWRAP or SS_SIMPLE,
// vertically centred with SS_CENTERIMAGE, '&' as mnemonic unless
// SS_NOPREFIX), bitmaps (SS_BITMAP) and icons (SS_ICON), black, grey and
// white rectangles and frames, etched lines and frames, and the sunken
// edge of SS_SUNKEN. A static never takes the focus; with SS_NOTIFY a click
// reaches it as the mouse messages a person's click sends.
#include "platform/qt/control_renderer.h"

namespace krv::qt {

const ControlRenderer& staticRenderer();

}  // namespace krv::qt
