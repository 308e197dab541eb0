#pragma once
// WindowObserver: sees every change of a window tree, so that a renderer
// (a picture of a dialog, a desktop host) can follow the windows without
// any change to the code of the dialogs.
#include "platform/win/wnd.h"

class WindowObserver {
 public:
  virtual ~WindowObserver() = default;
  // `window` is the window that changed: the observed window or one of its
  // descendants. For Destroyed, the window is still intact but about to go.
  virtual void windowChanged(CWnd& window, WindowChange change) = 0;
};
