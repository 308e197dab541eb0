// The docking bar slot of the sheets manager.
#include "frame/sheets_mgr_bar.h"

#include "frame/resource_guard.h"
#include "platform/acad/acad_frame.h"

namespace krv::frame {

const GUID kSheetsMgrToolId{
    0xBFF7CDE1, 0x365F, 0x4164, {0xBF, 0x0A, 0xA9, 0x06, 0xFF, 0xA2, 0x92, 0x0F}};

namespace {

CVtDockControlBar*& barSlot() {
  static CVtDockControlBar* bar = nullptr;
  return bar;
}

SheetsMgrDialogFactory& factory() {
  static SheetsMgrDialogFactory f;
  return f;
}

// The person closed the bar.
bool closeSheetsMgrBar() {
  CVtDockControlBar*& bar = barSlot();
  if (!bar) return false;
  bar->DestroyWindow();
  delete bar;
  bar = nullptr;
  return true;
}

}  // namespace

SheetsMgrDialogFactory setSheetsMgrDialogFactory(SheetsMgrDialogFactory f) {
  SheetsMgrDialogFactory previous = std::move(factory());
  factory() = std::move(f);
  return previous;
}

CVtDockControlBar* sheetsMgrBar() { return barSlot(); }

}  // namespace krv::frame

bool StartModelessDlgSheetsMgr() {
  krv::frame::ResourceGuard guard;
  CVtDockControlBar*& bar = krv::frame::barSlot();
  if (bar) {
    acedGetAcadFrame()->ShowControlBar(bar, TRUE, FALSE);
    return true;
  }
  const krv::frame::SheetsMgrDialogFactory& make = krv::frame::factory();
  krv::frame::SheetsMgrDialogBase* dialog = make ? make() : nullptr;
  bar = new CVtDockControlBar;
  if (krv::frame::startDockedDlg(bar, dialog, krv::frame::SheetsMgrDialogBase::kTemplateId,
                                 krv::frame::kSheetsMgrToolId, &krv::frame::closeSheetsMgrBar,
                                 L"Sheets manager"))
    return true;
  // Nothing half-made stays behind. The bar was given the dialog (if any) and
  // deletes it, with its window or with itself.
  delete bar;
  bar = nullptr;
  return false;
}

bool EndModelessDlgSheetsMgr() {
  CVtDockControlBar*& bar = krv::frame::barSlot();
  if (!bar) return false;
  if (!bar->DestroyWindow()) return false;
  delete bar;
  bar = nullptr;
  return true;
}

bool isSheetsMgrDlgActive() { return krv::frame::barSlot() != nullptr; }

void restoreSheetsMgrDlgVisibility() {
  if (CVtDockControlBar* bar = krv::frame::barSlot())
    acedGetAcadFrame()->ShowControlBar(bar, TRUE, FALSE);
}

void actionNotifyToSheetsMgrDlg(VtSheetAction action) {
  CVtDockControlBar* bar = krv::frame::barSlot();
  if (!bar) return;
  if (auto* dialog = dynamic_cast<krv::frame::SheetsMgrDialogBase*>(bar->mChildDlg))
    dialog->actionNotify(action);
}
