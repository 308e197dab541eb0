#pragma once
// DesktopUserInterface: the user interface of the desktop. It is the Qt
// one, except that a file choice of the module's dialogs first takes an
// answer queued for the desktop's file choices (a script's `files` step,
// DesktopWindow::answerFileChoices): a path is chosen as it is (made
// absolute), an empty path cancels the choice. Without a queued answer
// the file dialog shows.
#include <filesystem>
#include <functional>
#include <optional>

#include "platform/qt/qt_user_interface.h"

namespace krv::tools {

class DesktopUserInterface : public krv::qt::QtUserInterface {
 public:
  // Gives the next queued answer and removes it, or nothing when none is
  // queued.
  using QueuedAnswer = std::function<std::optional<std::filesystem::path>()>;

  void takeAnswersFrom(QueuedAnswer next) { mNext = std::move(next); }

  bool chooseFiles(const FileDialogRequest& request, std::vector<std::wstring>& chosen) override;

 private:
  QueuedAnswer mNext;
};

}  // namespace krv::tools
