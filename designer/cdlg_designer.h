#pragma once
// CDlgDesigner: the modal dialog designer (template 227). The user loads a
// design file or a background picture, adds, removes, drags and resizes
// controls over the picture, sets each control's type, contents and
// extended list in the property controls below it, and saves the design.
//
// Clicks in the design area go to the design's tracker (select, Shift and
// Ctrl selection, rubber band, move and resize) and mark the design
// modified, as do add, remove and a new picture. Closing (OK or the window's
// close box) asks whether to save a modified design (Yes, No, Cancel;
// Cancel keeps the window open); Escape never closes it.
//
// Layout on resize: everything keeps its distance to the bottom edge and
// its height; the buttons stay at the left, OK at the right; the type group
// keeps its width, the extended-list group its distance to the right edge,
// and the contents group takes the room between them.
#include <map>

#include "designer/krv_dlg_designer_data.h"
#include "platform/core/krv_string.h"
#include "platform/win/dialog.h"

class CDlgDesigner : public CDialog {
 public:
  static constexpr UINT IDD = 227;
  static constexpr int kOpen = 1299, kSave = 1302, kAdd = 1300, kRemove = 1301, kWidth = 1306,
                       kHeight = 1307, kCopy = 1199, kAlignBottom = 1200, kSideBySide = 1201,
                       kPicture = 1303, kTypeCombo = 1005, kTypeGroup = 1015, kContentsGroup = 1016,
                       kContents = 1304, kExtGroup = 1017, kExt = 1305;
  static constexpr int kFirstResId = 33000, kLastResId = 33099;

  CDlgDesigner();

  // The design file to open (full path; empty for a new design).
  Krv_String mDesignPath;

  Krv_DlgDesignerData& design() { return mData; }
  bool modified() const { return mModified; }
  // The window title: dialString(843), then " - <name>" for a named design.
  Krv_String title() const;

  // The commands, as their buttons do them.
  bool openDesign();
  // Asks for a file name in the designer's folder and writes the design;
  // true when a file was picked and written. A file outside the designer's
  // folder is refused with a message saying so.
  bool saveDesignAs();
  bool loadPicture();
  // The save prompt for a modified design: false when the person cancels,
  // or when Yes could not save (a new design asks for its name first).
  bool askSave();

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  void OnOK() override;
  void OnCancel() override;
  void OnClose() override;
  void OnDestroy() override;
  void OnSize(UINT type, int cx, int cy) override;
  void OnPaint() override;
  BOOL OnEraseBkgnd(CDC* dc) override;
  BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
  // Plain left-aligned texts get a transparent background, so that they
  // show over the picture.
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnMouseMove(UINT flags, CPoint point) override;

 private:
  // Removes the drawn controls, reads the design and shows it; a design that
  // cannot be read is refused with a message and the shown one stays.
  void showDesign(const Krv_String& path);
  // Writes the design; a refused or failed write is told to the person and
  // leaves the design modified.
  bool writeDesign(const Krv_String& path);
  // A message box: `what` failed, and why.
  void tellFailure(const Krv_String& what, const krv::base::Status& why);
  // The folder of the current design (the root folder for a new one).
  Krv_String designFolder() const;
  void updateTitle();
  // Places the controls for a client area of cx x cy pixels.
  void layout(int cx, int cy);

  Krv_DlgDesignerData mData;
  bool mModified = false;
  CSize mMinSize = CSize(50, 50);
  CSize mStartClient;
  std::map<int, CRect> mStartRects;  // the controls' client rectangles at start-up
  CPoint mMouse;
};

// StartDlgDesigner (exported, frame/exported_functions.h) shows the designer
// modally with this module's resources on the design at its path; true when
// the window was closed with OK.
