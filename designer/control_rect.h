#pragma once
// CControlRect: one live designed control in the designer window: the
// control's window and a tracker rectangle around it (the control's pixel
// rectangle in the dialog) with a selected flag.
//
// The tracker draws a solid line with all eight resize handles (5 pixels)
// outside the rectangle. The object owns its window; destroying the object
// destroys the window.
#include <memory>

#include "platform/win/rect_tracker.h"
#include "platform/win/wnd.h"

class CControlRect : public CRectTracker {
 public:
  CControlRect();
  ~CControlRect() override;
  CControlRect(const CControlRect&) = delete;
  CControlRect& operator=(const CControlRect&) = delete;

  // All eight handles are always shown and hit-tested.
  UINT GetHandleMask() const override { return 255; }

  // Creates the window (a control object of the class) as a child of
  // parent with WS_CHILD | WS_VISIBLE added to style. The tracker
  // rectangle becomes rect unless rect is all zeros; the window is created
  // at the tracker rectangle. False when there is no parent or the window
  // cannot be created (or one exists already).
  bool create(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
              const CRect& rect, CWnd* parent, UINT id);
  // The control's window; null before create or after destroyWindow.
  CWnd* window() const { return mWindow.get(); }
  // The window's identifier; -1 without a window.
  int id() const;
  bool isSelected() const { return mSelected; }
  void setSelected(bool selected) { mSelected = selected; }
  // Sets the tracker rectangle and moves the window there (repainted).
  void moveTo(const CRect& rect);
  // Destroys the window (when there is one).
  void destroyWindow();

 protected:
  // A dragged rectangle also moves the window.
  void OnChangedRect(const CRect& oldRect) override;

 private:
  std::unique_ptr<CWnd> mWindow;
  bool mSelected = false;
};
