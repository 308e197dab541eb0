#pragma once
// Running the desktop (`korvane desktop`, and `korvane sheet edit`, which
// is the desktop with the spreadsheet editor open on a file).
#include <string>

namespace krv::tools {

struct DesktopRunOptions {
  std::string library;  // the library folder (empty: examples/library)
  std::string records;  // where record file choices start (empty: examples/records)
  std::string script;   // a desktop script run after the start (empty: none)
  // A sheet file opened in the spreadsheet editor at the start (empty: none).
  std::string sheet;
};

// Runs the desktop until it is closed; the exit code (tools/exit_codes.h).
// Without a display it says how to get one (as `program`) and fails; a
// sheet file that does not exist is refused before anything starts.
int runDesktop(const DesktopRunOptions& options, const std::string& program = "korvane desktop");

}  // namespace krv::tools
