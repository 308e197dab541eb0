#include "frame/host_window.h"

#include "platform/acad/acad_frame.h"

namespace krv::frame {

CWnd* hostMainWindow() {
  CWnd* main = adsw_acadMainWnd();
  return IsWindow(main) ? main : nullptr;
}

void focusHostMainWindow() {
  if (CWnd* main = hostMainWindow()) main->SetFocus();
}

}  // namespace krv::frame
