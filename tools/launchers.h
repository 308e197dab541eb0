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
//
// Relative paths inside a record are taken from the record file's folder.
// A launcher loads the module (its resources) for the run when it is not
// loaded, sets the library folder for the run and puts the previous one
// back afterwards; the library of the options (LaunchOptions::library),
// else the sample library (examples/library), serves records that name
// none.
//
// The launchers:
//   StartDlgGenVars      the general variables dialog on a general
//                        variables file; OK writes it back.
//   StartDlgStandardsSS  a standards evaluation; the dialog that ran it is
//                        then shown with its sheet as the evaluation left
//                        it (it is hidden while the module's callers use
//                        it). OK after a successful evaluation writes the
//                        variable cells (before and after) into the record.
//   CFormula             the formula window, modal, on a sheet file with a
//                        reference style and automatic calculation; OK
//                        writes the three back (the sheet file itself is
//                        saved by the window's own Save button).
//   CDlgFindReplace      the modeless find and replace dialog over a sheet
//                        window showing the sheet file; closing it writes
//                        the find and replace texts back and saves the
//                        sheet file when cells were replaced. (Its OK
//                        button is "Find next" and does not close it.)
//   CFormulaListOutput   the formula window laying out a list (mode 3)
//                        after its template sheet; OK saves the laid-out
//                        sheet to the record's "output" file, when it
//                        names one, and writes the record back.
//   CDlgSSOptions        the sheet options dialog on a sheet file; OK
//                        saves the changed sheet file and writes the
//                        record back.
//   CDlgSSSettings       the spreadsheet editor's language dialog on the
//                        record's language code (not the registry's); OK
//                        writes the chosen code back.
//   CDlgSSAsTool         the spreadsheet editor on a sheet file: the record
//                        is the sheet file itself, which the person edits
//                        and saves in the window; closing the window ends
//                        the run. The launcher writes nothing itself; the
//                        outcome tells which files the person saved.
//   CDlgDesigner         the dialog designer on a design of the library
//                        named by the record (or a new design);
//                        the designer saves designs itself, the launcher
//                        writes nothing.
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
  // The launch function ran and failed (an evaluation that failed): why.
  // Nothing is written then.
  std::string failure;
  // Writing a result failed (the previous file is left whole).
  krv::base::Status writeFailure;
  // Other files written besides the record.
  std::vector<std::filesystem::path> alsoWritten;
};

struct LaunchOptions {
  // Asked once before anything is written; false: nothing is written and
  // the run is not confirmed (a scripted run that failed). Unset: yes.
  std::function<bool()> mayWrite;
  // The library folder for the run (Krv_Settings::libDir) of the launchers
  // whose record names none; empty: the sample library.
  std::filesystem::path library;
};

struct Launcher {
  std::string name;          // the launch function's name, e.g. "StartDlgGenVars"
  std::string recordKind;    // the document kind of its record files
  std::string title;         // what the desktop's menu shows
  unsigned templateId = 0;   // the dialog template it shows first (0: none)
  std::string sampleRecord;  // its sample record's file name in examples/records/
  // Runs the launcher on the record file. The error is a record that
  // cannot be used (or an input it names, such as a sheet file).
  std::function<krv::base::Result<LaunchOutcome>(const std::filesystem::path& recordFile)> run;
  // The same, asking `options` before writing.
  std::function<krv::base::Result<LaunchOutcome>(const std::filesystem::path& recordFile,
                                                 const LaunchOptions& options)>
      runWith;
};

// Every launcher, in menu order.
const std::vector<Launcher>& launchers();
// The launcher of that name (ignoring case), or null.
const Launcher* findLauncher(std::string_view name);

}  // namespace krv::tools
