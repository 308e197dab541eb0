#pragma once
// The renderer of buttons (class "BUTTON"): push and default push buttons,
// check boxes (two and three states), radio buttons, group boxes and
// push-like check boxes and radios, with text, icon (BS_ICON) or bitmap
// (BS_BITMAP), in the window's check, pushed, focus and enabled state.
// Owner-drawn buttons get the generic renderer's replay of their drawing.
//
// A left press shows the button pushed (BM_SETSTATE); releasing it inside
// clicks it as Person::click does, releasing outside only lets it up.
#include "platform/qt/control_renderer.h"

namespace krv::qt {

const ControlRenderer& buttonRenderer();

}  // namespace krv::qt
