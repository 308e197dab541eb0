#pragma once
// The module's launch functions that the program can run on a record file:
// `korvane dialog`, `korvane picture` and the desktop's menu all use this
// one table.
//
// A record file is a versioned JSON document of the record's kind (see
// platform/base/json_document.h), one per launcher in examples/records/.
// Running a launcher reads its record file (a malformed file, a file of
// another kind or of a newer version is refused with a message naming the
// file and place, and nothing is run or written), calls the launch
// function, whose dialogs go through the installed UserInterface, and
// writes the record back, atomically, only when the launch function says
// the person confirmed (OK).
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/status.h"

namespace krv::tools {

// How a run ended.
struct LaunchOutcome {
  bool confirmed = false;      // the launch function reported OK
  bool recordWritten = false;  // the record file was written back
};

struct Launcher {
  std::string name;         // the launch function's name, e.g. "StartDlgGenVars"
  std::string recordKind;   // the document kind of its record files
  std::string title;        // what the desktop's menu shows
  unsigned templateId = 0;  // the dialog template it shows first (0: none)
  // Runs the launcher on the record file.
  std::function<krv::base::Result<LaunchOutcome>(const std::filesystem::path& recordFile)> run;
};

// Every launcher, in menu order.
const std::vector<Launcher>& launchers();
// The launcher of that name (ignoring case), or null.
const Launcher* findLauncher(std::string_view name);

}  // namespace krv::tools
