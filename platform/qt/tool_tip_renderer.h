#pragma once
// The renderer of tool tip windows (class "tooltips_class32"): the tip the
// tool tip control shows, its text on the tip colour inside a thin border.
// The tip window is where the control placed it; it takes no input.
#include "platform/qt/control_renderer.h"

namespace krv::qt {

const ControlRenderer& toolTipRenderer();

}  // namespace krv::qt
