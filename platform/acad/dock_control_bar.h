#pragma once
// CAcUiDockControlBar: the host's base class of dockable tool windows.
//
// Create(parent, title) registers a window class with double clicks and
// the arrow cursor and creates the bar as a visible child of the frame
// `parent` (styles child, visible, clip-children) at 250 x 200 pixels; while
// its window is being created it calls CreateControlBar, where a derived
// bar creates its content (returning FALSE refuses the creation).
//
// A bar with a tool identifier (SetToolID) has its state remembered by the
// host when its window is destroyed: docked edge and docked size, or the
// floating rectangle, and whether it was shown. RestoreControlBar brings
// that state back, or docks the bar at the given edge when nothing is
// remembered; InitFloatingPosition gives the floating rectangle for a bar
// that has none remembered.
//
// Closing the bar (its close box, WM_CLOSE) calls OnClosing; unless that
// returns false, the bar is then hidden (when it still exists: OnClosing may
// destroy and delete the bar).
#include <optional>

#include "platform/acad/control_bar.h"
#include "platform/win/guid.h"

class CAcUiDockControlBar : public CControlBar {
 public:
  CAcUiDockControlBar() = default;
  ~CAcUiDockControlBar() override;

  virtual BOOL Create(CWnd* parent, LPCWSTR title);

  void SetToolID(const GUID* toolId);
  const std::optional<GUID>& toolId() const { return mToolId; }

  // Restores the remembered state, else docks at `dockBarId` (or, when the
  // bar may not dock there, at the first edge it may dock at, else floats).
  // False when the bar is not created.
  bool RestoreControlBar(UINT dockBarId = AFX_IDW_DOCKBAR_LEFT);
  // The floating rectangle (screen) used when the bar floats, unless a
  // remembered one was restored.
  void InitFloatingPosition(const CRect& rect);

  // Called when the person closes the bar; false keeps it shown.
  virtual bool OnClosing();

  // The remembered state of the bars of the process, by tool identifier.
  struct SavedState {
    bool floating = false;
    UINT dockBarId = 0;
    int dockedSize = 0;
    CRect floatingRect;
    bool visible = true;
  };
  static std::optional<SavedState> savedState(const GUID& toolId);
  static void forgetSavedStates();

 protected:
  // Creates the bar's content; the default creates nothing.
  virtual BOOL CreateControlBar(LPCREATESTRUCT cs);
  int OnCreate(LPCREATESTRUCT cs) override;
  void OnClose() override;
  void OnDestroy() override;

 private:
  std::optional<GUID> mToolId;
  bool mFloatingRectRestored = false;
};
