// The table of modeless macro dialogs and their opening and closing.
#include "frame/macro_dialog_slots.h"

#include <map>

#include "frame/exported_functions.h"
#include "frame/host_window.h"
#include "frame/resource_guard.h"
#include "platform/acad/command_line.h"
#include "platform/win/event_loop.h"

namespace krv::frame {
namespace {

constexpr UINT kDelayedCloseMs = 50;

AcArray<MacroDialogBase*>& slots() {
  static AcArray<MacroDialogBase*> table;
  return table;
}

// Thread timer identifier -> slot whose close it retries.
std::map<UINT_PTR, int>& delayedCloses() {
  static std::map<UINT_PTR, int> timers;
  return timers;
}

MacroDialogFactory& factory() {
  static MacroDialogFactory f;
  return f;
}

// The pending retry of `slot`, forgetting retries whose timer is gone.
std::map<UINT_PTR, int>::iterator pendingClose(int slot) {
  auto& timers = delayedCloses();
  for (auto it = timers.begin(); it != timers.end();) {
    if (!krv::win::EventLoop::instance().hasTimer(nullptr, it->first)) {
      it = timers.erase(it);
    } else if (it->second == slot) {
      return it;
    } else {
      ++it;
    }
  }
  return timers.end();
}

void CALLBACK delayedCloseTimer(HWND, UINT, UINT_PTR id, DWORD) {
  acutPrintf(L"Delayed timer called.\n");
  auto& timers = delayedCloses();
  auto it = timers.find(id);
  if (it == timers.end()) return;
  const int slot = it->second;
  // The mapping goes before the retry, which may map a new timer.
  timers.erase(it);
  KillTimer(nullptr, id);
  EndDlgMacroModeless(slot);
}

}  // namespace

MacroDialogFactory setMacroDialogFactory(MacroDialogFactory f) {
  MacroDialogFactory previous = std::move(factory());
  factory() = std::move(f);
  return previous;
}

bool openModelessMacroDialog(bool keepFocus, int& slot,
                             const std::function<MacroDialogBase*(CWnd* parent)>& build) {
  ResourceGuard guard;
  slot = -1;
  auto& table = slots();
  int chosen = -1;
  for (int i = 0; i < table.length(); ++i)
    if (!table[i]) chosen = i;
  if (chosen < 0) chosen = table.append(nullptr);

  MacroDialogBase* dialog = build ? build(hostMainWindow()) : nullptr;
  if (!dialog) return false;
  dialog->mSlot = chosen;
  if (!dialog->Create(MacroDialogBase::kTemplateId, hostMainWindow())) {
    delete dialog;
    return false;
  }
  dialog->ShowWindow(SW_SHOW);
  table[chosen] = dialog;
  slot = chosen;
  if (!keepFocus) focusHostMainWindow();
  return true;
}

MacroDialogBase* modelessMacroDialog(int slot) {
  auto& table = slots();
  return table.isValid(slot) ? table[slot] : nullptr;
}

int modelessMacroSlotCount() { return slots().length(); }

int pendingMacroDialogCloses() {
  int count = 0;
  for (int i = 0; i < slots().length(); ++i)
    if (pendingClose(i) != delayedCloses().end()) ++count;
  return count;
}

}  // namespace krv::frame

using krv::frame::MacroDialogBase;

bool StartDlgMacroModeless(bool keepFocus, MacroData& data, int& slot) {
  const krv::frame::MacroDialogFactory& make = krv::frame::factory();
  return krv::frame::openModelessMacroDialog(
      keepFocus, slot,
      [&](CWnd* parent) -> MacroDialogBase* { return make ? make(parent, data) : nullptr; });
}

bool GetDlgMacroData(int slot, MacroData& data) {
  const MacroDialogBase* dialog = krv::frame::modelessMacroDialog(slot);
  if (!dialog) return false;
  dialog->copyMacroData(data);
  return true;
}

bool EndDlgMacroModeless(int slot) {
  auto& table = krv::frame::slots();
  MacroDialogBase* dialog = krv::frame::modelessMacroDialog(slot);
  if (!dialog) return false;

  if (dialog->isMacroBusy()) {
    if (krv::frame::pendingClose(slot) != krv::frame::delayedCloses().end()) return true;
    const UINT_PTR id =
        SetTimer(nullptr, 0, krv::frame::kDelayedCloseMs, &krv::frame::delayedCloseTimer);
    if (id == 0) return false;
    krv::frame::delayedCloses()[id] = slot;
    return true;
  }

  if (!dialog->DestroyWindow()) return false;
  // A retry still pending for this slot must not reach a later dialog in it.
  auto pending = krv::frame::pendingClose(slot);
  if (pending != krv::frame::delayedCloses().end()) {
    KillTimer(nullptr, pending->first);
    krv::frame::delayedCloses().erase(pending);
  }
  delete dialog;
  table[slot] = nullptr;
  if (slot == table.length() - 1) {
    while (!table.isEmpty() && table[table.length() - 1] == nullptr) table.removeLast();
  }
  acedPostCommandPrompt();
  return true;
}

void DestroyAllMacroDlgs() {
  krv::frame::ResourceGuard guard;
  for (int slot = krv::frame::modelessMacroSlotCount() - 1; slot >= 0; --slot)
    EndDlgMacroModeless(slot);
}
