#pragma once
// UserInterface: the one place where the system waits for a person.
//
// Everything that in a desktop session would block until somebody clicks,
// types or drags goes through the installed UserInterface: running a modal
// dialog, answering a message box, choosing files, dragging a tracker or a
// rubber band, and picking in the drawing. Tests install a scripted
// implementation (scripted_user_interface.h); the command-line program keeps
// the default, non-interactive one (console_user_interface.h).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win/win_types.h"

class CDialog;
class CWnd;

// What a file dialog is asked for.
struct FileDialogRequest {
  bool open = true;              // true: open dialog, false: save dialog
  bool multiSelect = false;      // open dialog that may return several files
  bool foldersToo = false;       // folders may be chosen as well as files (with multiSelect)
  std::wstring title;            // caption; empty for the default caption
  std::wstring defaultExt;       // extension added to a typed name without one ("txt")
  std::wstring filter;           // "Text files (*.txt)|*.txt|All files (*.*)|*.*||"
  std::wstring initialFolder;    // folder shown first
  std::wstring initialFileName;  // file name preset in the name field
  DWORD flags = 0;               // OFN_* flags as given by the caller
  HWND owner = nullptr;
};

// A point picked in the drawing, in world coordinates.
struct PickedPoint {
  double x = 0, y = 0, z = 0;
};

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // Runs the already created modal dialog until it ends (EndDialog). On
  // return the dialog must have ended; an implementation that cannot get an
  // answer ends it with IDCANCEL.
  virtual void runModal(CDialog& dialog) = 0;

  // Lets the person use a modeless window that is shown already until
  // `finished` gives true (the window closed or ended itself), or until the
  // person can give no more input. The caller then looks at `finished` and
  // closes the window itself when it is not. The default gives no input and
  // returns at once, so a non-interactive run closes it as cancelled.
  virtual void runModeless(CWnd& window, const std::function<bool()>& finished) {
    (void)window, (void)finished;
  }

  // Shows a message box and returns the button chosen (IDOK, IDCANCEL,
  // IDYES, IDNO, IDABORT, IDRETRY, IDIGNORE). `type` holds the MB_* button,
  // icon and default-button flags.
  virtual int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                         UINT type) = 0;

  // Shows a file open or save dialog. On true, `chosen` holds the chosen
  // full paths (exactly one unless multiSelect); false means cancelled.
  virtual bool chooseFiles(const FileDialogRequest& request, std::vector<std::wstring>& chosen) = 0;

  // Lets the person drag a tracker rectangle, starting from `start`.
  // `handle` is -1 to move the whole rectangle, 0..7 for one of the eight
  // handles (0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left, 4 top,
  // 5 right, 6 bottom, 7 left). True with the final rectangle in `result`
  // when the person moved it; false when the drag was cancelled or did not
  // move it.
  virtual bool trackRectangle(const CRect& start, int handle, CRect& result) = 0;

  // Lets the person drag a rubber band from `start`. True with the
  // normalized band in `result`, false when cancelled.
  virtual bool trackRubberBand(CPoint start, CRect& result) = 0;

  // Asks the person to pick a point in the drawing; false when cancelled.
  virtual bool pickPoint(const std::wstring& prompt, PickedPoint& point) = 0;

  // Asks the person to pick one object in the drawing and gives its handle;
  // false when cancelled.
  virtual bool pickObject(const std::wstring& prompt, std::int64_t& handle) = 0;

  // Shows a popup menu of command texts at a screen point (separators are
  // not passed) and gives the index of the command chosen, or -1 when the
  // menu was dismissed. The default dismisses it.
  virtual int choosePopupMenuItem(const std::vector<std::wstring>& commands, CPoint screenPoint) {
    (void)commands, (void)screenPoint;
    return -1;
  }

  // The implementation in use. Unless another was installed, this is the
  // process-wide non-interactive implementation.
  static UserInterface& current();

  // Installs `ui` as the current implementation (nullptr restores the
  // non-interactive default) and returns the one installed before. The
  // caller keeps ownership of `ui`, which must outlive its installation.
  static UserInterface* install(UserInterface* ui);
};

namespace krv::win {
// Installs a UserInterface for the lifetime of this object and restores the
// previous one afterwards.
class ScopedUserInterface {
 public:
  explicit ScopedUserInterface(UserInterface& ui) : mPrevious(UserInterface::install(&ui)) {}
  ~ScopedUserInterface() { UserInterface::install(mPrevious); }
  ScopedUserInterface(const ScopedUserInterface&) = delete;
  ScopedUserInterface& operator=(const ScopedUserInterface&) = delete;

 private:
  UserInterface* mPrevious;
};
}  // namespace krv::win
