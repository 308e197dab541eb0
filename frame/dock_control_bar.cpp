// The module's docking bar, which keeps the dialog it hosts fitted to it.
#include "frame/dock_control_bar.h"

#include "frame/resource_guard.h"
#include "platform/acad/acad_frame.h"
#include "platform/core/dlg_utils.h"

CVtDockControlBar::~CVtDockControlBar() {
  // A bar whose window never came (or is still there) still owns its dialog.
  delete mChildDlg;
  mChildDlg = nullptr;
}

BOOL CVtDockControlBar::CreateControlBar(LPCREATESTRUCT cs) {
  if (!CAcUiDockControlBar::CreateControlBar(cs)) return FALSE;
  if (!mChildDlg) return TRUE;
  return mChildDlg->Create(mChildTemplateId, this);
}

void CVtDockControlBar::OnSize(UINT type, int cx, int cy) {
  CAcUiDockControlBar::OnSize(type, cx, cy);
  if (mChildDlg && IsWindow(mChildDlg)) mChildDlg->MoveWindow(0, 0, cx, cy);
}

void CVtDockControlBar::SizeChanged(const CRect& rect, bool floating, int flags) {
  CAcUiDockControlBar::SizeChanged(rect, floating, flags);
  if (!mChildDlg || !IsWindow(mChildDlg)) return;
  krv::frame::ResourceGuard guard;
  mChildDlg->SetWindowPos(nullptr, rect.left + 4, rect.top + 4, rect.Width(), rect.Height(),
                          SWP_NOZORDER);
}

bool CVtDockControlBar::OnClosing() {
  const bool hide = CAcUiDockControlBar::OnClosing();
  if (mChildDlg) mChildDlg->OnBarClosing();
  // The callback usually deletes this bar: nothing of it is touched after.
  if (CloseCallback callback = mCloseCallback) return callback() ? false : hide;
  return hide;
}

void CVtDockControlBar::OnDestroy() {
  if (VtDockedDlgChild* dialog = mChildDlg) {
    mChildDlg = nullptr;
    dialog->DestroyWindow();
    delete dialog;
  }
  CAcUiDockControlBar::OnDestroy();
}

namespace krv::frame {

bool startDockedDlg(CVtDockControlBar*& barSlot, VtDockedDlgChild* dialog, UINT templateId,
                    const GUID& toolId, CVtDockControlBar::CloseCallback closeCallback,
                    const wchar_t* title) {
  CVtDockControlBar* bar = barSlot;
  if (!bar || !dialog) return false;
  ResourceGuard guard;
  bar->mChildDlg = dialog;
  bar->mChildTemplateId = templateId;
  bar->mCloseCallback = closeCallback;
  if (!bar->Create(acedGetAcadFrame(), title)) return false;
  bar->SetToolID(&toolId);
  bar->EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
  bar->RestoreControlBar(AFX_IDW_DOCKBAR_LEFT);
  int width = bar->mFloatingWidth;
  int height = bar->mFloatingHeight;
  getSafeDlgSize(templateId, width, height);
  bar->mFloatingWidth = width;
  bar->mFloatingHeight = height;
  bar->InitFloatingPosition(CRect(0, 0, width, height));
  return true;
}

}  // namespace krv::frame
