#pragma once
// The renderer of list views (class "SysListView32"): each item's image
// from the list view's image list (the normal list in icon view, the small
// one in the other views; masked pixels transparent) and its caption,
// where the list view lays them out (GetItemRect), selected items with a
// highlighted caption (a muted one while the view is not focused), and the
// focused item marked while the view is focused.
//
// The mouse reaches the list view as the messages a person's hand sends
// (press, release, the second press of a double click), which it turns
// into selection, NM_CLICK and NM_DBLCLK itself, as Person::choose and
// Person::doubleClickItem make it do.
#include "platform/qt/control_renderer.h"

namespace krv::qt {

const ControlRenderer& listViewRenderer();

}  // namespace krv::qt
