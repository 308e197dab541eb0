#include "tools/design_host_window.h"

#include <algorithm>

#include "platform/win/dc.h"

namespace krv::tools {

DesignHostWindow::~DesignHostWindow() {
  mDesign.removeRunTimeCtrls();
  if (GetSafeHwnd()) DestroyWindow();
}

bool DesignHostWindow::create(const Krv_String& title) {
  if (!CreateEx(0, L"#32770", title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
                CRect(0, 0, 100, 100), nullptr, 0))
    return false;
  return mDesign.initialize(this, kFirstResId, kLastResId, 0, 0, 0, 0, 0, false);
}

void DesignHostWindow::showDesign() {
  int width = 0, height = 0;
  mDesign.getImageSize(width, height);
  const CRect frame = nonClientInsets();
  MoveWindow(0, 0, std::max(1, width) + frame.left + frame.right,
             std::max(1, height) + frame.top + frame.bottom, FALSE);
  mDesign.redrawAllControls();
  ShowWindow(SW_SHOW);
}

BOOL DesignHostWindow::OnEraseBkgnd(CDC* dc) {
  if (!dc) return FALSE;
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
  mDesign.OnEraseBkgnd(dc);
  return TRUE;
}

}  // namespace krv::tools
