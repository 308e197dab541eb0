#pragma once
// The non-interactive UserInterface of the command-line program: a modal
// dialog is answered with its default button (Enter), then Escape, and is
// cancelled if it still runs; a message box is written to standard error
// and answered with its default button; file dialogs, drags and picks are
// cancelled.
#include <iosfwd>

#include "platform/win/user_interface.h"

namespace krv::win {

class ConsoleUserInterface : public UserInterface {
 public:
  explicit ConsoleUserInterface(std::ostream* out = nullptr) : mOut(out) {}
  void runModal(CDialog& dialog) override;
  int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                 UINT type) override;
  bool chooseFiles(const FileDialogRequest& request, std::vector<std::wstring>& chosen) override;
  bool trackRectangle(const CRect& start, int handle, CRect& result) override;
  bool trackRubberBand(CPoint start, CRect& result) override;
  bool pickPoint(const std::wstring& prompt, PickedPoint& point) override;
  bool pickObject(const std::wstring& prompt, std::int64_t& handle) override;

 private:
  std::ostream* mOut;  // nullptr: standard error
};

// The answer of a message box of `type` when the default button is taken.
int defaultMessageBoxAnswer(UINT type);

}  // namespace krv::win
