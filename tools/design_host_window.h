#pragma once
// DesignHostWindow: a dialog window that shows a dialog design as the macro
// dialog shows it at run time: the client area is the design's picture,
// painted as the window's background with white transparent (the dialog's
// face shows there), and the designed controls lie over it as live,
// enabled windows in their tab order.
#include "designer/krv_dlg_designer_data.h"
#include "platform/core/krv_string.h"
#include "platform/win/wnd.h"

namespace krv::tools {

class DesignHostWindow : public CWnd {
 public:
  // The identifier range of the designed controls, as in the macro dialog.
  static constexpr int kFirstResId = 33000;
  static constexpr int kLastResId = 33099;

  DesignHostWindow() = default;
  ~DesignHostWindow() override;

  // Creates the window, hidden: a popup dialog window with a caption
  // `title`, and initializes the design on it in run-time mode with the
  // identifier range above. False when the window cannot be made.
  bool create(const Krv_String& title);
  // The design shown; read it (Krv_DlgDesignerData::readDesign, or
  // loadDesignForShow) after create and before showDesign.
  Krv_DlgDesignerData& design() { return mDesign; }
  // Sizes the client area to the design's picture (at least 1 x 1 pixel),
  // draws the controls (redrawAllControls: the tab order is sorted first)
  // and shows the window.
  void showDesign();

 protected:
  // The design paints the picture (Krv_DlgDesignerData::OnEraseBkgnd) over
  // the dialog's face.
  BOOL OnEraseBkgnd(CDC* dc) override;

 private:
  Krv_DlgDesignerData mDesign;
};

}  // namespace krv::tools
