#pragma once
// VtSSDlgsMgr: the pool of hidden standards dialogs, and its module-wide
// instance gSSDlgsMgr.
//
// A standards evaluation runs in a standards dialog that is never shown; it
// only hosts the calculation engine's spreadsheet. getDlg hands out a free
// dialog, building a new one (created modeless from template 253 with the
// host's main window as parent, hidden) when all are in use; releaseDlg
// gives it back. A dialog in use is never handed out twice, so nested
// evaluations each get their own. Dialogs are destroyed only by destroyAll
// or the destructor.
//
// The manager can be copied; a copy shares the dialogs (the in-use flags are
// copied). Whichever manager destroys a shared dialog first deletes it; the
// others then only forget it.
#include <functional>

#include "frame/exported_functions.h"
#include "platform/acad/acad_status.h"
#include "platform/win/dialog.h"

namespace krv::frame {

// The base of the standards dialog that the pool holds.
class PooledStandardsDialog : public CDialog {
 public:
  static constexpr UINT kTemplateId = 253;
  PooledStandardsDialog() : CDialog(kTemplateId) {}
  ~PooledStandardsDialog() override;
};

// Builds a standards dialog with `parent`; nullptr when it cannot be built.
using StandardsDialogFactory = std::function<PooledStandardsDialog*(CWnd* parent)>;

// Installs the factory that getDlg builds new dialogs with, and gives the
// previous one.
StandardsDialogFactory setStandardsDialogFactory(StandardsDialogFactory factory);

}  // namespace krv::frame

class KRV_SS_EXPORT VtSSDlgsMgr {
 public:
  VtSSDlgsMgr() = default;
  VtSSDlgsMgr(const VtSSDlgsMgr&) = default;
  VtSSDlgsMgr& operator=(const VtSSDlgsMgr&) = default;
  virtual ~VtSSDlgsMgr();

  // The first free dialog, marked in use; else a new one (appended in use).
  // nullptr when a new one cannot be built or created.
  void* getDlg();
  // Marks the dialog free; eInvalidInput for a pointer the manager does not
  // hold.
  Acad::ErrorStatus releaseDlg(void* dialog);
  // Destroys every dialog, from the last to the first, and empties the flags.
  void destroyAll();

  int dialogCount() const { return mDlgs.length(); }
  int inUseCount() const;

 private:
  // Destroys the window of dialog `index`, deletes it and removes its entry;
  // eInvalidInput for an index out of range or an empty entry.
  Acad::ErrorStatus destroyDlg(const int& index);

  AcArray<krv::frame::PooledStandardsDialog*> mDlgs;
  AcArray<bool> mInUse;
};

// The module's pool; destroyed with the module.
extern KRV_SS_EXPORT VtSSDlgsMgr gSSDlgsMgr;
