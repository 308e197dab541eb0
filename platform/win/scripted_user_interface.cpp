#include "platform/win/scripted_user_interface.h"

#include "platform/base/utf.h"
#include "platform/win/dialog.h"
#include "platform/win/string_items.h"

namespace krv::win {

void ScriptedUserInterface::onModal(DialogScript script, UINT expectedTemplate) {
  mModals.push_back({std::move(script), expectedTemplate});
}
void ScriptedUserInterface::answerMessageBox(int answer, std::wstring textContains) {
  mBoxAnswers.push_back({answer, std::move(textContains)});
}
void ScriptedUserInterface::answerFiles(std::vector<std::wstring> files) {
  mFiles.push_back(std::move(files));
}
void ScriptedUserInterface::answerTrack(bool moved, CRect result) {
  mTracks.push_back({moved, result});
}
void ScriptedUserInterface::answerPickPoint(bool picked, PickedPoint point) {
  mPointPicks.push_back({picked, point, 0});
}
void ScriptedUserInterface::answerPickObject(bool picked, std::int64_t handle) {
  mObjectPicks.push_back({picked, PickedPoint(), handle});
}

bool ScriptedUserInterface::allUsed() const {
  return mModals.empty() && mBoxAnswers.empty() && mFiles.empty() && mTracks.empty() &&
         mPointPicks.empty() && mObjectPicks.empty() && mMenuChoices.empty();
}

std::string ScriptedUserInterface::report() const {
  std::string out;
  for (const auto& e : mErrors) out += e + "\n";
  if (!mModals.empty()) out += std::to_string(mModals.size()) + " dialog script(s) not used\n";
  for (const auto& b : mBoxAnswers)
    out += "message box answer " + std::to_string(b.answer) + " (\"" +
           base::toUtf8(b.textContains) + "\") not used\n";
  if (!mFiles.empty()) out += std::to_string(mFiles.size()) + " file answer(s) not used\n";
  if (!mTracks.empty()) out += std::to_string(mTracks.size()) + " drag answer(s) not used\n";
  if (!mPointPicks.empty() || !mObjectPicks.empty()) out += "pick answer(s) not used\n";
  if (!mMenuChoices.empty())
    out += std::to_string(mMenuChoices.size()) + " popup menu answer(s) not used\n";
  return out;
}

void ScriptedUserInterface::runModal(CDialog& dialog) {
  if (mModals.empty()) {
    mErrors.push_back("unexpected modal dialog " + std::to_string(dialog.templateId()) + " \"" +
                      base::toUtf8(dialog.GetWindowText()) + "\"");
    dialog.EndDialog(IDCANCEL);
    return;
  }
  Modal m = std::move(mModals.front());
  mModals.pop_front();
  if (m.templateId && m.templateId != dialog.templateId()) {
    mErrors.push_back("expected dialog " + std::to_string(m.templateId) + ", got " +
                      std::to_string(dialog.templateId()));
    dialog.EndDialog(IDCANCEL);
    return;
  }
  if (m.script) m.script(dialog);
  if (dialog.isRunningModal()) {
    mErrors.push_back("the script left dialog " + std::to_string(dialog.templateId()) + " open");
    dialog.EndDialog(IDCANCEL);
  }
}

int ScriptedUserInterface::messageBox(HWND, const std::wstring& text, const std::wstring& caption,
                                      UINT type) {
  ShownMessageBox shown{text, caption, type, 0};
  UINT kind = type & MB_TYPEMASK;
  int safe = (kind == MB_OKCANCEL || kind == MB_YESNOCANCEL || kind == MB_RETRYCANCEL) ? IDCANCEL
             : kind == MB_YESNO                                                        ? IDNO
             : kind == MB_ABORTRETRYIGNORE                                             ? IDABORT
                                                                                       : IDOK;
  if (mBoxAnswers.empty()) {
    mErrors.push_back("unexpected message box \"" + base::toUtf8(text) + "\"");
    shown.answer = safe;
  } else {
    BoxAnswer a = mBoxAnswers.front();
    mBoxAnswers.pop_front();
    if (!a.textContains.empty() && text.find(a.textContains) == std::wstring::npos) {
      mErrors.push_back("message box \"" + base::toUtf8(text) + "\" does not contain \"" +
                        base::toUtf8(a.textContains) + "\"");
      shown.answer = safe;
    } else {
      shown.answer = a.answer;
    }
  }
  mBoxes.push_back(shown);
  return shown.answer;
}

bool ScriptedUserInterface::chooseFiles(const FileDialogRequest& request,
                                        std::vector<std::wstring>& chosen) {
  mFileRequests.push_back(request);
  chosen.clear();
  if (mFiles.empty()) {
    mErrors.push_back("unexpected file dialog \"" + base::toUtf8(request.title) + "\"");
    return false;
  }
  chosen = std::move(mFiles.front());
  mFiles.pop_front();
  return !chosen.empty();
}

bool ScriptedUserInterface::trackRectangle(const CRect&, int, CRect& result) {
  if (mTracks.empty()) {
    mErrors.push_back("unexpected tracker drag");
    return false;
  }
  Track t = mTracks.front();
  mTracks.pop_front();
  if (t.moved) result = t.result;
  return t.moved;
}

bool ScriptedUserInterface::trackRubberBand(CPoint, CRect& result) {
  if (mTracks.empty()) {
    mErrors.push_back("unexpected rubber band");
    return false;
  }
  Track t = mTracks.front();
  mTracks.pop_front();
  if (t.moved) {
    result = t.result;
    static_cast<CRect&>(result).NormalizeRect();
  }
  return t.moved;
}

bool ScriptedUserInterface::pickPoint(const std::wstring& prompt, PickedPoint& point) {
  if (mPointPicks.empty()) {
    mErrors.push_back("unexpected point pick \"" + base::toUtf8(prompt) + "\"");
    return false;
  }
  Pick p = mPointPicks.front();
  mPointPicks.pop_front();
  if (p.picked) point = p.point;
  return p.picked;
}

bool ScriptedUserInterface::pickObject(const std::wstring& prompt, std::int64_t& handle) {
  if (mObjectPicks.empty()) {
    mErrors.push_back("unexpected object pick \"" + base::toUtf8(prompt) + "\"");
    return false;
  }
  Pick p = mObjectPicks.front();
  mObjectPicks.pop_front();
  if (p.picked) handle = p.handle;
  return p.picked;
}

void ScriptedUserInterface::answerPopupMenu(int choice) { mMenuChoices.push_back(choice); }

int ScriptedUserInterface::choosePopupMenuItem(const std::vector<std::wstring>& commands, CPoint) {
  mMenus.push_back(commands);
  if (mMenuChoices.empty()) {
    mErrors.push_back("unexpected popup menu of " + std::to_string(commands.size()) + " commands");
    return -1;
  }
  const int choice = mMenuChoices.front();
  mMenuChoices.pop_front();
  if (choice >= static_cast<int>(commands.size())) {
    mErrors.push_back("popup menu answer " + std::to_string(choice) + " beyond its " +
                      std::to_string(commands.size()) + " commands");
    return -1;
  }
  return choice;
}

}  // namespace krv::win
