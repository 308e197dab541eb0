#include "frame/host_window.h"

#include "platform/win/dialog.h"

namespace krv {

CWnd* hostMainWindow() {
  CWnd* main = AfxGetMainWnd();
  return IsWindow(main) ? main : nullptr;
}

void focusHostMainWindow() {
  if (CWnd* main = hostMainWindow()) main->SetFocus();
}

}  // namespace krv
