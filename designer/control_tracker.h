#pragma once
// CControlTracker: selection and mouse tracking of the designed controls in
// the designer window.
//
// It knows every live control (CControlRect, owned by the design data) in
// drawing order and the selected ones in selection order. Its own tracker
// rectangle serves for moving the whole selection and for the rubber band.
#include "platform/acad/ac_array.h"
#include "platform/win/rect_tracker.h"

class CControlRect;
class CDC;
class CWnd;

class CControlTracker : public CRectTracker {
 public:
  explicit CControlTracker(CWnd* dialog = nullptr);

  void setDialog(CWnd* dialog) { mDialog = dialog; }
  CWnd* dialog() const { return mDialog; }

  // Tracks the control (not owned) and places every tracked window behind
  // the new one in z-order, so later controls lie on top. Null is ignored.
  void add(CControlRect* control);
  // Stops tracking the control with the window identifier (deselecting it);
  // false when none is tracked.
  bool remove(int id);
  // Stops tracking every control.
  void removeAll();
  // Deselects every control.
  void clearSelection();
  // Selects the control with the identifier (after clearing the selection
  // when clearFirst); false when none is tracked.
  bool select(int id, bool clearFirst = false);
  // The identifiers of the selected controls, in selection order.
  AcArray<int> selectedIds() const;
  // The bounding rectangle of the selected controls (smallest left and top,
  // largest right and bottom); empty without a selection.
  CRect selectionBounds() const;
  // The identifier of the only selected control; -1 with none or several.
  int singleSelectedId() const;
  const AcArray<CControlRect*>& controls() const { return mControls; }
  const AcArray<CControlRect*>& selection() const { return mSelected; }

  // A left button press at a dialog client point with the MK_* flags.
  // On a control (hit-tested in drawing order, the first wins): Ctrl
  // toggles its selection, Shift adds it; otherwise an unselected control
  // becomes the only selection, then a press in the middle drags the whole
  // selection by one offset and a press on a handle resizes that control.
  // On no control: with Ctrl or Shift nothing happens (false); otherwise
  // the selection is cleared and, when allowRubberBand, every control lying
  // wholly inside the dragged band is selected. The dialog is repainted.
  // True when the press was handled.
  bool trackButtonDown(CPoint point, UINT flags, bool allowRubberBand);
  // Draws the border and handles of every selected control.
  void drawSelection(CDC* dc) const;
  // Sets the cursor for a mouse at the dialog client point: the handle's or
  // the move cursor over a control's tracker; false (nothing set) elsewhere.
  bool setTrackerCursor(CPoint point) const;

 private:
  // Places every tracked window right below `added`, the newest first.
  void stackBelow(CWnd* added);

  // The first control whose tracker is hit, with the hit; null when none.
  CControlRect* hitControl(CPoint point, int& hit) const;
  void setSelected(CControlRect* control, bool selected);
  void repaint() const;

  CWnd* mDialog = nullptr;
  AcArray<CControlRect*> mControls;
  AcArray<CControlRect*> mSelected;
};
