#pragma once
// CControlBar: a window that docks at an edge of a frame window or floats
// in a small frame window of its own.
//
// A bar is created as a child of a frame (CFrameWnd). It may then be
// docked at the edges its EnableDocking allows, with its docked size (the
// width at the left and right, the height at the top and bottom; initially
// its created size), or floated: it is moved into a floating frame
// (CMiniDockFrameWnd, a tool window owned by the frame, carrying the bar's
// title) and fills its client area. Each time the bar's place or size
// changes through docking, floating or layout, SizeChanged is called with
// its new client rectangle. Destroying the bar destroys its floating frame.
#include "platform/acad/acad_frame.h"

class CMiniDockFrameWnd;

class CControlBar : public CWnd {
 public:
  CControlBar() = default;
  ~CControlBar() override;

  // The edges the bar may dock at (CBRS_ALIGN_* flags).
  void EnableDocking(DWORD sides);
  DWORD dockingSides() const { return mDockingSides; }
  DWORD GetBarStyle() const { return mBarStyle; }
  void SetBarStyle(DWORD style) { mBarStyle = style; }

  BOOL IsFloating() const { return mFloatingFrame != nullptr; }
  BOOL IsDocked() const { return mDockSide != 0; }
  // The dock bar identifier of the edge it is docked at, or 0.
  UINT dockSide() const { return mDockSide; }
  BOOL IsVisible() const { return (GetStyle() & WS_VISIBLE) != 0; }
  // The frame the bar belongs to.
  CFrameWnd* GetDockingFrame() const { return mFrame; }
  CMiniDockFrameWnd* floatingFrame() const { return mFloatingFrame; }

  // Docked size across its edge (the width at the left and right, the
  // height at the top and bottom, the width while not docked); setting it
  // is what dragging the bar's splitter does.
  int dockedSize() const;
  void setDockedSize(int size);
  // The floating frame's window rectangle (screen), used when the bar
  // floats next; it follows the floating frame while the bar floats.
  CRect floatingRect() const { return mFloatRect; }
  void setFloatingRect(const CRect& rect);

  // Docks at the edge; false when not allowed or the bar has no frame.
  bool dockAt(UINT dockBarId);
  // Floats in a floating frame with that window rectangle (screen).
  bool floatAt(const CRect& windowRect);

  // Called with the bar's new client rectangle whenever docking, floating
  // or layout gave it a new place or size; `flags` are the SWP_* flags of
  // the move.
  virtual void SizeChanged(const CRect& rect, bool floating, int flags);

  // Placement by the frame's layout and the floating frame.
  void placeDocked(const CRect& rect);
  void fitFloating();

  BOOL DestroyWindow() override;
  void OnDestroy() override;

 protected:
  // Remembers the frame (bars must be created as children of a frame) and
  // the created size as the docked size.
  int OnCreate(LPCREATESTRUCT cs) override;
  // Closing a bar hides it.
  void OnClose() override;
  // The edge the bar was last docked at, or 0.
  UINT lastDockSide() const { return mLastDockSide; }
  // Double-clicking the bar's own area floats a docked bar and docks a
  // floating one at its last edge.
  void OnLButtonDblClk(UINT flags, CPoint point) override;

 private:
  void reportSize(int flags);

  CFrameWnd* mFrame = nullptr;
  CMiniDockFrameWnd* mFloatingFrame = nullptr;
  DWORD mDockingSides = 0;
  DWORD mBarStyle = 0;
  UINT mDockSide = 0;
  UINT mLastDockSide = 0;
  int mDockedWidth = 0;
  int mDockedHeight = 0;
  CRect mFloatRect{100, 100, 400, 400};
  bool mReported = false;
  CRect mReportedRect;
  bool mReportedFloating = false;
};

// The floating frame of a control bar: its caption is the bar's title;
// closing it closes the bar (WM_CLOSE goes to the bar); resizing it fits the
// bar to its client area.
class CMiniDockFrameWnd : public CWnd {
 public:
  explicit CMiniDockFrameWnd(CControlBar* bar) : mBar(bar) {}
  CControlBar* bar() const { return mBar; }
  void forgetBar() { mBar = nullptr; }
  void OnSize(UINT type, int cx, int cy) override;
  void OnMove(int x, int y) override;
  void OnClose() override;

 private:
  CControlBar* mBar;
};
