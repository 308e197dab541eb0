#pragma once
// krv::win::PersonScript: what a person does in a dialog, written down as a
// small text, one action a line, and played through krv::win::Person on the
// live windows, so dialogs get exactly the messages they get in tests.
//
//   # the general variables dialog
//   click 1435                 # a button (or OK, CANCEL, YES, NO, ...)
//   type 1207 HEA 200          # types the rest of the line into a control
//   replace 1207 "IPE 300"     # selects all of its text and types over it
//   choose 1002 3              # item 3 (from 0) of a list, combo box or tab
//   choose 1002 "Beams"        # the item with this text
//   check 1106 / uncheck 1106  # clicks a check box until it is (un)checked
//   dblclick 1002 0            # double-clicks item 0 of a list
//   at 1434 40 25              # clicks at a point of a control (0: the dialog)
//   at 0 40 25 ctrl            # ... with ctrl (or shift) held
//   drag 0 40 25 140 65 shift  # presses at 40,25 and drags to 140,65 (keys held
//                              # when named, as for at)
//   key ENTER / key TAB shift  # a key, with shift and ctrl held when named
//   close                      # the close box of the dialog
//   answer YES ["part"]        # answers the message box that appears
//   files a.dwg "b c.dwg"      # answers the file dialog (none: cancels it)
//   menu 2 / menu "Copy"       # answers the popup menu that appears
//   wait 500                   # moves the window system's clock on (timers fire)
//   picture step3.png          # a picture of the dialog at this step
//
// Words are separated by blanks; a word in double quotes may hold blanks
// (\" and \\ inside stand for " and \). A word beginning with # starts a
// comment that runs to the end of the line. Relative paths are taken from the
// script's folder. Controls are found by identifier among the dialog's
// children (and their children).
//
// The script is also a UserInterface: installed, it runs every modal dialog
// (and every modeless one given to runModeless) by playing its steps on the
// innermost dialog running, in order, until that dialog ends. A dialog that
// a step opens takes the following steps until it ends. A message box, file
// dialog or popup menu takes the step after the one that made it appear,
// which must be an answer of that kind. The first step that cannot be done
// (a control that does not exist, is disabled or hidden; a box without its
// answer; an answer with no box) stops the script: every dialog still
// running is cancelled, and failure() names the step as "file: line N".
// When the steps run out while a dialog still runs, it is cancelled too and
// endedWhileRunning() says so.
//
// A drag step presses the left button at its first point, and the tracking
// that the press asks for (a tracker's rectangle or rubber band:
// trackRectangle, trackRubberBand) ends at its second point, both client
// points of the control: a tracker rectangle becomes krv::win::draggedRect
// of its start, handle and the offset between the two points, as the
// desktop computes it; a rubber band runs from where it starts by that
// offset (normalized). The tracking takes the release. A press that asks
// for no tracking is a plain click at the first point. Tracking asked for
// by any other step, a second tracking within one drag step, and picks in
// the drawing fail the script.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/status.h"
#include "platform/win/user_interface.h"

class CWnd;

namespace krv::win {

struct PersonScriptStep {
  int line = 0;
  std::string text;                // the line as written, trimmed
  std::string action;              // lower case
  std::vector<std::string> words;  // the words after the action, quotes removed
  std::vector<bool> quoted;        // per word: it was written in quotes
  std::string rest;                // type and replace: the text to type
};

class PersonScript : public UserInterface {
 public:
  // An action added by the program (for controls this layer does not know,
  // such as spreadsheet cells): it gets the innermost dialog and the words
  // after the action, and fails with a message.
  using Action = std::function<base::Status(CWnd& dialog, const std::vector<std::string>& words)>;
  // Takes a picture of a window into a file.
  using PictureTaker = std::function<base::Status(CWnd& window, const std::filesystem::path& file)>;

  PersonScript() = default;
  PersonScript(const PersonScript&) = delete;
  PersonScript& operator=(const PersonScript&) = delete;

  // Adds an action of `minWords` to `maxWords` words; before load().
  void addAction(std::string name, std::size_t minWords, std::size_t maxWords, Action action);
  // Reads the steps. `source` names the script in messages, and its folder
  // is where relative paths start (empty: the current folder). An unknown
  // action or a malformed step is refused naming its line; nothing is kept.
  base::Status load(std::string_view text, const std::filesystem::path& source);
  // Reads the script file (UTF-8); errors name the file.
  base::Status loadFile(const std::filesystem::path& file);

  // Where pictures go (the program sets it); without one a picture step fails.
  void setPictureTaker(PictureTaker taker) { mPictureTaker = std::move(taker); }
  // A picture of the first dialog when it shows, before any step.
  void pictureOfFirstDialog(std::filesystem::path file) { mFirstPicture = std::move(file); }

  const std::vector<PersonScriptStep>& steps() const { return mSteps; }
  // The first failure, naming the step; success while none.
  const base::Status& failure() const { return mFailure; }
  bool failed() const { return !mFailure.ok(); }
  // The steps ran out while a dialog still ran (it was cancelled).
  bool endedWhileRunning() const { return mEndedWhileRunning; }
  // Steps not played (the dialogs ended before them).
  std::size_t unusedSteps() const { return mSteps.size() - mNext; }
  // Every message box shown, as "caption: text".
  const std::vector<std::string>& messageBoxes() const { return mBoxes; }
  // Every picture written.
  const std::vector<std::filesystem::path>& pictures() const { return mPictures; }

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
  struct Custom {
    std::size_t minWords, maxWords;
    Action action;
  };
  // Plays steps on `window` while `running` says it runs.
  void drive(CWnd& window, const std::function<bool()>& running);
  void play(const PersonScriptStep& step, CWnd& dialog);
  // The step an answer of `action` must be, taken; null (and the script
  // failed) when the next step is not one.
  const PersonScriptStep* takeAnswer(std::string_view action, const std::string& what);
  void fail(const PersonScriptStep* step, const std::string& message);
  void takePicture(CWnd& window, const std::filesystem::path& file, const PersonScriptStep* step);
  std::filesystem::path resolve(const std::string& path) const;
  // The offset of the drag step being played, for its one tracking; false
  // (and the script failed) when no drag step asks or it was used.
  bool takeDrag(CPoint& delta);

  std::map<std::string, Custom> mCustom;
  std::vector<PersonScriptStep> mSteps;
  std::filesystem::path mSource;
  std::filesystem::path mFolder;
  std::size_t mNext = 0;
  const PersonScriptStep* mPlaying = nullptr;  // the step being played
  struct Drag {
    const PersonScriptStep* step = nullptr;  // the drag step whose press runs
    CPoint delta;                            // from its first to its second point
    bool tracked = false;                    // its tracking was asked for
  };
  Drag mDrag;
  base::Status mFailure;
  bool mEndedWhileRunning = false;
  bool mFirstShown = false;
  std::filesystem::path mFirstPicture;
  PictureTaker mPictureTaker;
  std::vector<std::string> mBoxes;
  std::vector<std::filesystem::path> mPictures;
};

}  // namespace krv::win
