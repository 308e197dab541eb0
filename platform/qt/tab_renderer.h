#pragma once
// The renderer of tab controls (class "SysTabControl32"): the tabs with
// their captions where the tab control lays them out (GetItemRect), the
// selected one raised and joined to the frame of the display area below,
// with the focus mark on it while the control is focused. A left press on
// a tab chooses it (Person::choose: TCN_SELCHANGING, then TCN_SELCHANGE).
#include "platform/qt/control_renderer.h"

namespace krv::qt {

const ControlRenderer& tabRenderer();

}  // namespace krv::qt
