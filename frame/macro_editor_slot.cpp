// The single modeless macro editor: opening, closing and its factory.
#include "frame/macro_editor_slot.h"

#include "frame/exported_functions.h"
#include "frame/host_window.h"
#include "frame/resource_guard.h"
#include "platform/acad/command_line.h"

namespace krv::frame {
namespace {

MacroEditorBase*& editorSlot() {
  static MacroEditorBase* editor = nullptr;
  return editor;
}

MacroEditorFactory& factory() {
  static MacroEditorFactory f;
  return f;
}

}  // namespace

MacroEditorFactory setMacroEditorFactory(MacroEditorFactory f) {
  MacroEditorFactory previous = std::move(factory());
  factory() = std::move(f);
  return previous;
}

void openModelessMacroEditor(const std::function<MacroEditorBase*(CWnd* parent)>& build) {
  ResourceGuard guard;
  MacroEditorBase*& slot = editorSlot();
  if (slot) return;
  MacroEditorBase* editor = build ? build(hostMainWindow()) : nullptr;
  if (!editor) return;
  slot = editor;
  editor->mModeless = true;
  if (!editor->Create(MacroEditorBase::kTemplateId, hostMainWindow())) {
    slot = nullptr;
    delete editor;
    return;
  }
  editor->ShowWindow(SW_SHOW);
  focusHostMainWindow();
}

MacroEditorBase* modelessMacroEditor() { return editorSlot(); }

}  // namespace krv::frame

bool StartDlgEditConstraints(EditConstrData& data) {
  const krv::frame::MacroEditorFactory& make = krv::frame::factory();
  krv::frame::openModelessMacroEditor([&](CWnd* parent) -> krv::frame::MacroEditorBase* {
    return make ? make(parent, data) : nullptr;
  });
  return true;
}

void EndDlgEditConstraints() {
  krv::frame::MacroEditorBase*& slot = krv::frame::editorSlot();
  if (slot) {
    if (!slot->DestroyWindow()) acutPrintf(L"Erase window failed\n");
    // Deleting the object takes down whatever is left of its window.
    delete slot;
    slot = nullptr;
  }
  acedPostCommandPrompt();
}
