#pragma once
// QtUserInterface: the UserInterface of a person at a Qt desktop.
//
// Every wait for the person is a nested Qt event loop, so that one may
// open inside another (a message box raised by a modal dialog's handler):
// - runModal runs until the dialog has ended (or its window is gone). The
//   dialog is shown by the mirror that follows all windows when there is
//   one; otherwise runModal mirrors and shows it itself for the run.
// - runModeless does the same for a modeless window until `finished` says
//   it is (the window's own close, not an ended modal run); the window is
//   not made modal.
// - messageBox is a QMessageBox with the MB_* buttons, icon and default
//   button, answering IDOK, IDCANCEL, IDYES, IDNO, IDABORT, IDRETRY or
//   IDIGNORE.
// - chooseFiles is a QFileDialog: open or save, one or several files (and
//   folders, with foldersToo), the filter list, default extension, initial
//   folder and name.
// - trackRectangle and trackRubberBand follow the mouse over the window
//   that was last pressed (the tracker's owner, whose press started the
//   drag) until the left button is released, showing the rectangle as a
//   rubber band; Escape or the right button cancels.
// - pickPoint and pickObject ask for coordinates or an object handle in a
//   small input dialog (there is no drawing to pick in).
// - choosePopupMenuItem is a QMenu at the screen point.
// While a QtUserInterface exists it is also the drop chooser of drag and
// drop (data_object.h): the drag follows the mouse until the left button
// comes up and drops on the window under it (chooseDropPoint).
// The QApplication is made on the offscreen platform when there is none.
#include <QMessageBox>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/win/data_object.h"
#include "platform/win/user_interface.h"

namespace krv::qt {

class QtUserInterface : public UserInterface {
 public:
  QtUserInterface();
  ~QtUserInterface() override;
  QtUserInterface(const QtUserInterface&) = delete;
  QtUserInterface& operator=(const QtUserInterface&) = delete;

  void runModal(CDialog& dialog) override;
  void runModeless(CWnd& window, const std::function<bool()>& finished) override;
  int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                 UINT type) override;
  bool chooseFiles(const FileDialogRequest& request, std::vector<std::wstring>& chosen) override;
  bool trackRectangle(const CRect& start, int handle, CRect& result) override;
  bool trackRubberBand(CPoint start, CRect& result) override;
  bool pickPoint(const std::wstring& prompt, PickedPoint& point) override;
  bool pickObject(const std::wstring& prompt, std::int64_t& handle) override;
  int choosePopupMenuItem(const std::vector<std::wstring>& commands, CPoint screenPoint) override;

 private:
  class PressWatcher;
  std::unique_ptr<PressWatcher> mPresses;
};

// Where a person lets go of dragged data: follows the mouse until the left
// button comes up and gives the window under it with the client point and
// the Ctrl and Shift keys held; nothing when cancelled (Escape, the right
// button) or when no window is there.
std::optional<krv::win::DropPoint> chooseDropPoint();

// The buttons of a message box of `type`, in order, with the answer each
// gives; and the index of the default one (MB_DEFBUTTON1..3; the last
// button when the type names one it does not have, as the non-interactive
// interface answers).
std::vector<std::pair<QMessageBox::StandardButton, int>> messageBoxButtons(UINT type);
int messageBoxDefaultIndex(UINT type);

// Qt name filters of a file dialog filter ("Text files (*.txt)|*.txt|
// All files (*.*)|*.*||"): each description with its patterns in
// parentheses ("*.*" is every file); pairs without patterns are dropped.
QStringList qtNameFilters(const std::wstring& filter);

// A typed point: "x, y" or "x, y, z" (commas or spaces between); nothing
// when it is not one.
std::optional<PickedPoint> parsePoint(const QString& text);
// A typed object handle: decimal, or hexadecimal with 0x.
std::optional<std::int64_t> parseHandle(const QString& text);

}  // namespace krv::qt
