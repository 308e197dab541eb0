// The pool of hidden standards dialogs.
#include "frame/ss_dlgs_mgr.h"

#include <unordered_set>

#include "frame/host_window.h"
#include "platform/win/event_loop.h"

namespace krv::frame {
namespace {

StandardsDialogFactory& factory() {
  static StandardsDialogFactory f;
  return f;
}

// Every pooled dialog that exists, so that managers sharing dialogs never
// delete one twice or hand out one that another manager deleted.
std::unordered_set<const PooledStandardsDialog*>& liveDialogs() {
  static std::unordered_set<const PooledStandardsDialog*> live;
  return live;
}

bool isLive(const PooledStandardsDialog* dialog) {
  return dialog && liveDialogs().count(dialog) > 0;
}

}  // namespace

PooledStandardsDialog::~PooledStandardsDialog() { liveDialogs().erase(this); }

StandardsDialogFactory setStandardsDialogFactory(StandardsDialogFactory f) {
  StandardsDialogFactory previous = std::move(factory());
  factory() = std::move(f);
  return previous;
}

}  // namespace krv::frame

namespace krv::frame {
namespace {
// The window system's and the pool's own module-wide objects are built
// before gSSDlgsMgr, so that they still exist when its destructor destroys
// the pooled dialogs at unload.
[[maybe_unused]] const bool kPoolDependenciesBuilt =
    (krv::win::liveWindowCount(), krv::win::EventLoop::instance(), krv::frame::liveDialogs(), true);
}  // namespace
}  // namespace krv::frame

using namespace krv::frame;

VtSSDlgsMgr gSSDlgsMgr;

VtSSDlgsMgr::~VtSSDlgsMgr() { destroyAll(); }

void* VtSSDlgsMgr::getDlg() {
  for (int i = 0; i < mDlgs.length();) {
    if (!krv::frame::isLive(mDlgs[i])) {
      // Deleted by a manager that shared it.
      mDlgs.removeAt(i);
      mInUse.removeAt(i);
      continue;
    }
    if (!mInUse[i]) {
      mInUse.setAt(i, true);
      return mDlgs[i];
    }
    ++i;
  }
  const krv::frame::StandardsDialogFactory& make = krv::frame::factory();
  CWnd* parent = krv::frame::hostMainWindow();
  krv::frame::PooledStandardsDialog* dialog = make ? make(parent) : nullptr;
  if (!dialog) return nullptr;
  krv::frame::liveDialogs().insert(dialog);
  if (!dialog->Create(krv::frame::PooledStandardsDialog::kTemplateId, parent)) {
    delete dialog;
    return nullptr;
  }
  mDlgs.append(dialog);
  mInUse.append(true);
  return dialog;
}

Acad::ErrorStatus VtSSDlgsMgr::releaseDlg(void* dialog) {
  for (int i = 0; i < mDlgs.length(); ++i) {
    if (dialog && mDlgs[i] == dialog) {
      mInUse.setAt(i, false);
      return Acad::eOk;
    }
  }
  return Acad::eInvalidInput;
}

void VtSSDlgsMgr::destroyAll() {
  for (int i = mDlgs.length() - 1; i >= 0; --i) destroyDlg(i);
  mInUse.removeAll();
}

int VtSSDlgsMgr::inUseCount() const {
  int count = 0;
  for (int i = 0; i < mInUse.length(); ++i)
    if (mInUse[i]) ++count;
  return count;
}

Acad::ErrorStatus VtSSDlgsMgr::destroyDlg(const int& index) {
  if (!mDlgs.isValid(index) || !mDlgs[index]) return Acad::eInvalidInput;
  krv::frame::PooledStandardsDialog* dialog = mDlgs[index];
  if (krv::frame::isLive(dialog)) {
    dialog->DestroyWindow();
    delete dialog;
  }
  mDlgs.removeAt(index);
  if (mInUse.isValid(index)) mInUse.removeAt(index);
  return Acad::eOk;
}
