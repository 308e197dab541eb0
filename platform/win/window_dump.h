#pragma once
// A readable text dump of a window tree, one window per line, indented by
// depth: class, identifier, text, states and rectangle in the parent's
// client coordinates, e.g.
//   #32770 id=0 "Connection" visible enabled (660,431)-(966,664)
//     BUTTON id=1 "OK" visible enabled default (129,163)-(204,186)
#include <string>

#include "platform/win/wnd.h"

namespace krv::win {
std::string dumpWindowTree(const CWnd& root);
}
