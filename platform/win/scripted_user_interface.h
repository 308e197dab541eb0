#pragma once
// krv::win::ScriptedUserInterface: the UserInterface for tests. A test queues
// what the person will do, in order, and checks afterwards that everything
// happened as planned:
//
//   ScriptedUserInterface ui;
//   ScopedUserInterface use(ui);
//   ui.onModal([](CDialog& d) { Person::click(&d, IDOK); });
//   ui.answerMessageBox(IDYES, L"Save changes");
//   ... run the code ...
//   EXPECT_TRUE(ui.errors().empty()); EXPECT_TRUE(ui.allUsed());
//
// Every message box is recorded (text, caption, type). Anything the script
// did not plan (a message box, modal dialog, file dialog, drag or pick
// without a queued answer, or a box whose text lacks the expected part) is
// recorded as an error and answered safely: a box with its Cancel or No
// (else OK) button, a dialog with IDCANCEL, everything else as cancelled.
// The class does not depend on a test framework.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/win/user_interface.h"

namespace krv::win {

struct ShownMessageBox {
  std::wstring text;
  std::wstring caption;
  UINT type = 0;
  int answer = 0;
};

class ScriptedUserInterface : public UserInterface {
 public:
  using DialogScript = std::function<void(CDialog&)>;

  // The next modal dialog is handed to `script`; when the script leaves it
  // running, that is an error and it is cancelled. With a template id, a
  // dialog of another template is an error.
  void onModal(DialogScript script, UINT expectedTemplate = 0);
  // The next message box gets `answer`; when `textContains` is not empty,
  // the box's text must contain it.
  void answerMessageBox(int answer, std::wstring textContains = L"");
  // The next file dialog gives these files (an empty list cancels it).
  void answerFiles(std::vector<std::wstring> files);
  void answerTrack(bool moved, CRect result = CRect());
  void answerPickPoint(bool picked, PickedPoint point = PickedPoint());
  void answerPickObject(bool picked, std::int64_t handle = 0);
  // The next popup menu is answered with command index `choice` (-1: the
  // menu is dismissed).
  void answerPopupMenu(int choice);

  const std::vector<ShownMessageBox>& messageBoxes() const { return mBoxes; }
  const std::vector<FileDialogRequest>& fileDialogs() const { return mFileRequests; }
  // The command texts of every popup menu shown, in order.
  const std::vector<std::vector<std::wstring>>& popupMenus() const { return mMenus; }
  const std::vector<std::string>& errors() const { return mErrors; }
  // True when every queued answer and script was used.
  bool allUsed() const;
  // All errors and unused answers, one per line; empty when all went to plan.
  std::string report() const;

  void runModal(CDialog& dialog) override;
  int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                 UINT type) override;
  bool chooseFiles(const FileDialogRequest& request, std::vector<std::wstring>& chosen) override;
  bool trackRectangle(const CRect& start, int handle, CRect& result) override;
  bool trackRubberBand(CPoint start, CRect& result) override;
  bool pickPoint(const std::wstring& prompt, PickedPoint& point) override;
  bool pickObject(const std::wstring& prompt, std::int64_t& handle) override;
  int choosePopupMenuItem(const std::vector<std::wstring>& commands, CPoint screenPoint) override;

 private:
  struct Modal {
    DialogScript script;
    UINT templateId;
  };
  struct BoxAnswer {
    int answer;
    std::wstring textContains;
  };
  struct Track {
    bool moved;
    CRect result;
  };
  struct Pick {
    bool picked;
    PickedPoint point;
    std::int64_t handle;
  };
  std::deque<Modal> mModals;
  std::deque<BoxAnswer> mBoxAnswers;
  std::deque<std::vector<std::wstring>> mFiles;
  std::deque<Track> mTracks;
  std::deque<Pick> mPointPicks, mObjectPicks;
  std::vector<ShownMessageBox> mBoxes;
  std::vector<FileDialogRequest> mFileRequests;
  std::deque<int> mMenuChoices;
  std::vector<std::vector<std::wstring>> mMenus;
  std::vector<std::string> mErrors;
};

}  // namespace krv::win
