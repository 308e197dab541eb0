#pragma once
// The host application's main frame window and its docking areas.
//
// acedGetAcadFrame() gives the host's frame, a top-level window made on
// first use (and again after it was destroyed) that becomes the
// application's main window when there is none. Control bars docked in the
// frame are laid out along its four edges: bars at the top and bottom span
// the whole width, bars at the left and right the height between them;
// several bars on one edge lie side by side, the first nearest the edge.
// What remains is the frame's client area for documents (clientArea()).
#include <vector>

#include "platform/win/wnd.h"

class CControlBar;

// Dock bar identifiers: the four edges of a frame and floating.
constexpr UINT AFX_IDW_DOCKBAR_TOP = 0xE81B, AFX_IDW_DOCKBAR_LEFT = 0xE81C,
               AFX_IDW_DOCKBAR_RIGHT = 0xE81D, AFX_IDW_DOCKBAR_BOTTOM = 0xE81E,
               AFX_IDW_DOCKBAR_FLOAT = 0xE81F;

// Control bar styles: the edges a bar may dock at, and floating.
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000, CBRS_ALIGN_TOP = 0x2000, CBRS_ALIGN_RIGHT = 0x4000,
                CBRS_ALIGN_BOTTOM = 0x8000, CBRS_ALIGN_ANY = 0xF000, CBRS_FLOATING = 0x0001,
                CBRS_FLOAT_MULTI = 0x0004;

class CFrameWnd : public CWnd {
 public:
  CFrameWnd() = default;
  ~CFrameWnd() override;

  // Shows or hides a control bar of this frame (docked or floating). With
  // `delay` the layout is redone when the event loop next runs, otherwise
  // at once.
  void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay);
  // Docks the bar at an edge (AFX_IDW_DOCKBAR_LEFT, ...). False when the
  // bar does not belong to this frame or may not dock there.
  BOOL DockControlBar(CControlBar* bar, UINT dockBarId = AFX_IDW_DOCKBAR_LEFT);
  // Floats the bar with its floating window's top-left corner at `point`
  // (screen coordinates).
  void FloatControlBar(CControlBar* bar, CPoint point);
  // Places the docked bars and computes the client area.
  void RecalcLayout(BOOL notify = TRUE);

  // The bars docked at an edge, nearest the edge first.
  const std::vector<CControlBar*>& dockedBars(UINT dockBarId) const;
  // The part of the client area that the docked, visible bars leave free
  // (client coordinates).
  CRect clientArea() const { return mClientArea; }
  bool layoutPending() const { return mLayoutPending; }

  // Called by the control bars themselves.
  void attachDocked(CControlBar* bar, UINT dockBarId);
  void detachBar(CControlBar* bar);

  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnSize(UINT type, int cx, int cy) override;
  void OnDestroy() override;

 private:
  std::vector<CControlBar*>* edge(UINT dockBarId);
  std::vector<CControlBar*> mTop, mLeft, mRight, mBottom;
  CRect mClientArea;
  bool mLayoutPending = false;
};

class CMDIFrameWnd : public CFrameWnd {};

// The host's frame window, created on first use as a visible top-level
// window over the whole screen.
CMDIFrameWnd* acedGetAcadFrame();
// The host's main window (its frame).
HWND adsw_acadMainWnd();

namespace acad {
// Destroys the host's frame and everything in it (tests start clean).
void destroyHostFrame();
}  // namespace acad
