#pragma once
// The common frame of the modal launch functions.
//
//   bool StartDlgGrid(VtGridDlgData& data) {
//     return krv::frame::runModalFrame<CDlgGrid>(data, &CDlgGrid::mData);
//   }
//
// runModalFrame switches resource lookup to this module (ResourceGuard),
// builds the dialog locally without a parent window, assigns the caller's
// record to the dialog's own record, lets `setup` hand the dialog anything
// else it needs, runs it modally and, when the user confirmed (IDOK),
// assigns the dialog's record back. It returns whether the user confirmed.
// The dialog is destroyed before the resource lookup is restored.
//
// `copyBack` covers the launchers that copy back whatever the user chose
// (Always) or never (Never). No exception leaves the frame: an exception
// from the dialog is reported on the command line and gives false with the
// caller's record untouched (DoModal enables the owner window again on
// every way out).
#include <exception>
#include <utility>

#include "frame/resource_guard.h"
#include "platform/acad/command_line.h"
#include "platform/win/dialog.h"

namespace krv::frame {

enum class CopyBack { OnOk, Always, Never };

// Writes the diagnostic line of an exception stopped at the module boundary.
void reportStoppedException(const char* what);

struct NoDialogSetup {
  template <class Dialog>
  void operator()(Dialog&) const {}
};

// `Dialog` is given explicitly; the record may be a member of one of its
// base classes.
template <class Dialog, class Record, class Owner, class Setup = NoDialogSetup>
bool runModalFrame(Record& record, Record Owner::*member, CopyBack copyBack = CopyBack::OnOk,
                   Setup&& setup = Setup()) {
  try {
    ResourceGuard guard;
    Dialog dialog;
    Record& own = static_cast<Owner&>(dialog).*member;
    own = record;
    setup(dialog);
    const bool confirmed = dialog.DoModal() == IDOK;
    if (copyBack == CopyBack::Always || (copyBack == CopyBack::OnOk && confirmed)) record = own;
    return confirmed;
  } catch (const std::exception& e) {
    reportStoppedException(e.what());
  } catch (...) {
    reportStoppedException("unknown exception");
  }
  return false;
}

}  // namespace krv::frame
