#include "platform/win/window_dump.h"

#include "platform/base/utf.h"
#include "platform/win/string_items.h"

namespace krv::win {
namespace {
void dump(const CWnd& w, int depth, std::string& out) {
  out.append(static_cast<std::size_t>(depth) * 2, ' ');
  out += base::toUtf8(w.className()) + " id=" + std::to_string(w.GetDlgCtrlID()) + " \"" +
         base::toUtf8(w.GetWindowText()) + "\"";
  out += (w.GetStyle() & WS_VISIBLE) ? " visible" : " hidden";
  out += w.IsWindowEnabled() ? " enabled" : " disabled";
  if (CWnd::GetFocus() == &w) out += " focus";
  std::wstring state = w.describeState();
  if (!state.empty()) out += " " + base::toUtf8(state);
  CRect r = w.windowRectInParent();
  out += " (" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")\n";
  for (const CWnd* c : w.children()) dump(*c, depth + 1, out);
}
}  // namespace

std::string dumpWindowTree(const CWnd& root) {
  std::string out;
  dump(root, 0, out);
  return out;
}
}  // namespace krv::win
