#pragma once
// Scripts of the desktop: what a person does in the desktop, step by step,
// with real Qt input, for tests and demonstrations (`korvane desktop
// --script FILE`). One step a line; `#` outside quotes at the start of a
// word starts a comment; arguments are separated by blanks, and double
// quotes keep blanks (and '#') in one argument.
//
//   menu MENU ENTRY      chooses a menu entry ("menu Dialogs "General
//                        variables""; '&' marks and trailing dots ignored)
//   files PATH...        answers the next file choices (the desktop's and
//                        those of the module's dialogs), one path each, in
//                        order ("-" answers one with cancel)
//   click TARGET         clicks a control of the top window with the mouse:
//                        a control id, or OK, CANCEL, YES, NO
//   type TARGET TEXT...  types the text (the arguments joined by blanks)
//                        key by key into the control, clicking into it
//                        first unless it has the focus already
//   replace TARGET TEXT... as type, after moving the caret to the end with
//                        the End key and deleting the control's text with
//                        Backspace keys (no TEXT: the control is emptied)
//   choose TARGET ITEM   chooses an item of a drop-down combo box: a click
//                        on its arrow opens the list and a click on the
//                        item chooses it; ITEM is an index (from 0) or the
//                        item's text (case ignored)
//   press X Y [KEY]      clicks with the left button at a client point of
//                        the top window (on whatever window lies there);
//                        KEY is shift or ctrl, held during the click; the
//                        release comes on a timer, as for drag, so that a
//                        drag the press starts ends there
//   drag X1 Y1 X2 Y2 [KEY]  presses the left button at X1 Y1, moves the
//                        mouse to X2 Y2 in steps and lets go there, all
//                        delivered to the window pressed (which has the
//                        mouse while the button is held), so that a drag
//                        the press starts (a tracker rectangle, a rubber
//                        band) follows it
//   key NAME             presses a key in the top window: ENTER, ESCAPE,
//                        TAB, SPACE, UP, DOWN, LEFT, RIGHT, DELETE, BACKSPACE
//   wait MS              waits before the next step (real time)
//   resize W H           resizes the desktop's main window
//   screenshot FILE      writes what the screen shows over the main window
//                        (dialogs above it included) as a PNG
//   quit                 closes the desktop; a modal dialog still open is
//                        cancelled
//
// Points are client pixels of the top window.
//
// The top window is the last made visible dialog, else the last made
// visible top-level window other than the host's frame. Steps follow each other 100 ms apart, so
// that the window system can show what a step opened; a step whose control is not there yet is
// tried again for up to 3 seconds. A step that still fails ends the script with an error naming the
// file and line, and the desktop quits with the failure code.
#include <QObject>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/base/status.h"

namespace krv::tools {

class DesktopWindow;

struct DesktopStep {
  int line = 0;
  QString action;  // lower case
  QStringList args;
};

// Parses a script. Errors name the file and line: an unknown action, a
// wrong number of arguments, a malformed number, an unclosed quote.
krv::base::Result<std::vector<DesktopStep>> parseDesktopScript(const QString& text,
                                                               const std::string& fileName);
krv::base::Result<std::vector<DesktopStep>> readDesktopScript(const std::filesystem::path& file);

class DesktopScriptRunner {
 public:
  // `finished` gets the exit code (tools/exit_codes.h) when the script has
  // failed or quit; a script that ends without `quit` leaves the desktop
  // to the person.
  DesktopScriptRunner(DesktopWindow& desktop, std::vector<DesktopStep> steps, std::string fileName,
                      std::function<void(int exitCode)> finished);

  // Starts the steps from the event loop (after `delayMs`).
  void start(int delayMs = 200);

  // The step interval and how long a step waits for its control.
  int stepIntervalMs = 100;
  int retryForMs = 3000;

 private:
  void runStep(std::size_t index, int waitedMs);
  void fail(const DesktopStep& step, const QString& error);

  DesktopWindow& mDesktop;
  std::vector<DesktopStep> mSteps;
  std::string mFileName;
  std::function<void(int)> mFinished;
  QObject mContext;
  bool mStopped = false;
};

}  // namespace krv::tools
