#pragma once
// DesktopWindow: the desktop's main window, standing in for the CAD
// program's frame. A person uses the module's dialogs here as in the CAD
// program:
//
//  - every window the module opens is mirrored into a Qt window where the
//    window system placed it (a WindowMirror following all windows); the
//    host's frame window (acedGetAcadFrame, the module's main window and
//    owner of its dialogs) is not shown itself: it is kept over the main
//    window's content, so that dialogs centred on it appear over the
//    desktop, and the bars docked in it appear as dock widgets;
//  - "Dialogs" lists the launchers (tools/launchers.h); each runs on a
//    record file chosen in a file dialog that starts in examples/records,
//    and the launcher writes the record back on OK;
//  - "Tools" > "Evaluate standard..." evaluates a standard (a sheet file)
//    for a macro file and writes the evaluated macro to a file chosen
//    last, with the trace of every equation in the command-line pane;
//    "Formula window..." opens the formula window on a sheet file;
//    "Spreadsheet editor..." opens the spreadsheet editor on a new document;
//  - "File" > "Quit" closes the desktop;
//  - the command-line pane at the bottom shows what the module prints on
//    the command line and the desktop's own messages.
// While the frame is disabled (a modal dialog runs), the menus and docks
// take no input, as the CAD program's frame takes none.
//
// File choices go through QFileDialog unless answers were queued with
// answerFileChoices() (scripts and tests), which are taken first.
#include <QMainWindow>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>

#include "platform/qt/window_mirror.h"
#include "platform/win/user_interface.h"
#include "platform/win/window_observer.h"
#include "tools/desktop_command_pane.h"
#include "tools/launchers.h"

class CFrameWnd;

namespace krv::tools {

class DesktopDocks;

struct DesktopOptions {
  std::filesystem::path library;  // the library folder
  std::filesystem::path records;  // where record file choices start
};

class DesktopWindow : public QMainWindow, private WindowObserver {
 public:
  // Takes the host's frame (made if there is none) as the window the
  // module's dialogs hang from, and starts following every window.
  explicit DesktopWindow(DesktopOptions options, QWidget* parent = nullptr);
  ~DesktopWindow() override;
  DesktopWindow(const DesktopWindow&) = delete;
  DesktopWindow& operator=(const DesktopWindow&) = delete;

  DesktopCommandPane& commandPane() const { return *mPane; }
  krv::qt::WindowMirror& mirror() const { return *mMirror; }
  CFrameWnd& hostFrame() const { return *mFrame; }
  // The dock widget showing a docked bar, or null.
  QDockWidget* dockFor(const CWnd* bar) const;

  // The action of a menu entry by the menu's and the entry's texts (the
  // '&' marks and a trailing "..." ignored), or null.
  QAction* findAction(const QString& menu, const QString& entry) const;

  // Queues paths that answer the next file choices, in order, instead of a
  // file dialog; an empty path answers one choice with "cancelled".
  void answerFileChoices(const std::vector<std::filesystem::path>& paths);
  // The next queued answer, taken from the queue (an empty path: cancel);
  // nothing when none is queued. The module's file choices take them too
  // (DesktopUserInterface).
  std::optional<std::filesystem::path> takeFileAnswer();

  // The menu entries' work, also for scripts and tests.
  // Runs the launcher on a record file chosen by the person and reports
  // the outcome in the pane. False when nothing was run (cancelled, or the
  // launcher refused the record; the pane says why).
  bool runLauncher(const Launcher& launcher);
  // Chooses a standard, a macro and the file for the result, evaluates and
  // reports in the pane. The exit code of the evaluation, or nullopt when
  // a choice was cancelled.
  std::optional<int> evaluateStandard();
  // Chooses a sheet file and runs the formula window on it. False when
  // cancelled or the window could not be made.
  bool openFormulaWindow();
  // Opens the spreadsheet editor (CDlgSSAsTool) on `file`, or on a new
  // document when it is empty, and lets the person use it until it is
  // closed (or the desktop quits; changes not saved then are dropped). A
  // file that cannot be read is said in a message box and in the pane, and
  // the editor shows a new document. False when the editor could not be made.
  bool openSheetEditor(const std::filesystem::path& file = {});

  // Keeps the host frame's client area over the main window's content
  // (below the menu bar), as high as the side docks' content.
  void syncFrameGeometry();

 protected:
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  // Follows the frame's enabled state.
  void windowChanged(CWnd& window, WindowChange change) override;
  // Called for every top-level window the mirror makes.
  void adoptTopLevel(CWnd& window, krv::qt::MirrorWidget& widget);
  // One file choice: a queued answer, else a file dialog. Empty when
  // cancelled.
  std::filesystem::path chooseFile(const FileDialogRequest& request);

  DesktopOptions mOptions;
  CFrameWnd* mFrame = nullptr;
  DesktopCommandPane* mPane = nullptr;
  QWidget* mHolder = nullptr;  // hidden: holds the frame's mirrored widget
  std::deque<std::filesystem::path> mFileAnswers;
  // Destroyed before the widgets (members go before the base class).
  std::unique_ptr<krv::qt::WindowMirror> mMirror;
  std::unique_ptr<DesktopDocks> mDocks;
};

}  // namespace krv::tools
