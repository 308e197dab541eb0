#pragma once
// The renderer of list boxes (class "LISTBOX"): the items in rows on the
// window colour, the selected ones highlighted (one, or several in a
// multi-selection box), the current item marked while focused, scrolled
// the least that shows the current item, with a vertical scroll bar when
// the box has WS_VSCROLL and more items than rows.
//
// A left press on an item chooses it (Person::choose: selects it, or
// toggles it in a multi-selection box, and sends LBN_SELCHANGE); a double
// click on an item is Person::doubleClickItem (LBN_DBLCLK).
#include "platform/qt/control_renderer.h"

namespace krv::qt {

const ControlRenderer& listBoxRenderer();

}  // namespace krv::qt
