#pragma once
// The module's docking bar and the dialogs it hosts.
//
// CVtDockControlBar hosts one dialog (a VtDockedDlgChild) in one of the
// host's dockable tool windows and keeps it fitted to the bar: on every size
// change the dialog fills the bar's client area from (0, 0); when the bar
// reports a new place (docked or floating) the dialog is placed 4 pixels
// inside its top-left corner with the reported size. When the person closes
// the bar, the dialog's OnBarClosing runs and then the close callback, which
// normally destroys and deletes the bar. The bar owns the hosted dialog:
// destroying the bar's window destroys and deletes it.
#include "platform/acad/dock_control_bar.h"
#include "platform/win/dialog.h"
#include "platform/win/guid.h"

// The base of the dialogs hosted in a docking bar.
class VtDockedDlgChild : public CDialog {
 public:
  VtDockedDlgChild() = default;
  explicit VtDockedDlgChild(UINT templateId) : CDialog(templateId) {}
  // Called when the bar hosting the dialog is being closed by the person;
  // the default does nothing.
  virtual void OnBarClosing() {}
};

class CVtDockControlBar : public CAcUiDockControlBar {
 public:
  // Called when the person closes the bar.
  using CloseCallback = bool (*)();

  CVtDockControlBar() = default;
  ~CVtDockControlBar() override;

  // The hosted dialog (owned), its template and the close callback.
  VtDockedDlgChild* mChildDlg = nullptr;
  UINT mChildTemplateId = 0;
  CloseCallback mCloseCallback = nullptr;
  // Size of the floating bar; the hosted dialog's size before the first show.
  int mFloatingWidth = 400;
  int mFloatingHeight = 500;

  bool OnClosing() override;
  void SizeChanged(const CRect& rect, bool floating, int flags) override;
  void OnSize(UINT type, int cx, int cy) override;
  void OnDestroy() override;

 protected:
  // Creates the hosted dialog from its template as the bar's child; a
  // dialog that cannot be created refuses the bar.
  BOOL CreateControlBar(LPCREATESTRUCT cs) override;
};

namespace krv::frame {

// Starts a dialog docked in the bar of `barSlot`: switches resource lookup,
// hands the bar the dialog (which the bar then owns), its template and the
// close callback, creates the bar with `title` in the host's frame (the bar
// creates the dialog), gives it its tool identifier, lets it dock at the
// left and right edges only, restores its remembered place (else the left
// edge) and sets its floating size to the dialog's safe size. False
// when the slot is empty, the dialog is missing or the bar cannot be made.
bool startDockedDlg(CVtDockControlBar*& barSlot, VtDockedDlgChild* dialog, UINT templateId,
                    const GUID& toolId, CVtDockControlBar::CloseCallback closeCallback,
                    const wchar_t* title);

}  // namespace krv::frame
