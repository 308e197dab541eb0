#pragma once
// The renderer of combo boxes (class "COMBOBOX"), of the three kinds:
// a drop-down list shows the selected item's text in a closed box with an
// arrow; a drop-down combo shows its edit text (with selection and caret
// while focused) beside the arrow; a simple combo shows its edit field
// above the list of its items. The closed box is as high as the font needs
// (a drop-down's window may be taller: that is the room of its list, and
// the widget is shaped to the closed box so that the controls below it get
// their clicks).
//
// A press on the arrow (anywhere on a drop-down list), or F4 / Alt+Down,
// gives the combo the focus and opens a popup of its items; choosing one
// is Person::choose(combo, index) (CBN_SELCHANGE and the rest). A press on
// a drop-down's edit field gives it the focus; an item of a simple combo's
// list is chosen with a press.
#include "platform/qt/control_renderer.h"

namespace krv::qt {

const ControlRenderer& comboBoxRenderer();

// The height of a combo box's closed box (or edit field) in `widget`.
int comboFieldHeight(const MirrorWidget& widget);

}  // namespace krv::qt
