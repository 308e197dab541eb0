// korvane dialog LAUNCHER --record FILE [--script FILE] [--picture OUT.png]
//                [--library DIR]
//
// Runs one of the module's launchers (tools/launchers.h) on a record file,
// headless, with a person script (platform/win/person_script.h) playing
// what a person does in its dialogs. The record (and what else the launcher
// writes) is written back only when the person confirmed and every step of
// the script could be played. Without a script the dialog is cancelled at
// once. --picture saves a picture of the first dialog when it shows.
// --library names the library folder of the run (default: the sample
// library, examples/library).
//
// Exit codes: 0 the dialog ran (confirmed or cancelled); 1 a step of the
// script could not be played or the launch failed; 2 bad usage (an unknown
// launcher); 3 the record, an input it names or the script cannot be used;
// 4 a result could not be written.
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "platform/win/person_script.h"
#include "tools/command_registry.h"
#include "tools/dialog_script.h"
#include "tools/exit_codes.h"
#include "tools/launchers.h"
#include "tools/shell_quote.h"

namespace {

namespace fs = std::filesystem;
using krv::tools::shellQuoted;

struct Options {
  std::string launcher;
  std::string record;
  std::string script;
  std::string picture;
  std::string library;
};

std::string launcherNames() {
  std::string names;
  for (const auto& l : krv::tools::launchers()) names += (names.empty() ? "" : ", ") + l.name;
  return names;
}

int runDialog(const Options& o) {
  const krv::tools::Launcher* launcher = krv::tools::findLauncher(o.launcher);
  if (!launcher) {
    std::cerr << "korvane dialog: no launcher " << o.launcher << " (there are " << launcherNames()
              << ")\n";
    return krv::tools::kExitUsage;
  }
  krv::win::PersonScript script;
  krv::tools::prepareScript(script);
  const krv::base::Status loaded =
      o.script.empty() ? script.load("", "") : script.loadFile(o.script);
  if (!loaded) {
    std::cerr << "korvane dialog: " << loaded.text() << "\n";
    return krv::tools::kExitInput;
  }
  if (!o.picture.empty()) script.pictureOfFirstDialog(fs::absolute(o.picture));

  std::optional<krv::base::Result<krv::tools::LaunchOutcome>> run;
  {
    krv::win::ScopedUserInterface use(script);
    krv::tools::LaunchOptions options;
    options.mayWrite = [&script] { return !script.failed(); };
    options.library = o.library;
    run.emplace(launcher->runWith(o.record, options));
  }
  for (const std::string& box : script.messageBoxes()) std::cout << "message box: " << box << "\n";
  for (const fs::path& p : script.pictures()) std::cout << "picture: " << shellQuoted(p) << "\n";
  if (!*run) {
    std::cerr << "korvane dialog: " << run->status().text() << "\n";
    return krv::tools::kExitInput;
  }
  const krv::tools::LaunchOutcome& out = **run;
  if (script.failed()) {
    std::cerr << "korvane dialog: " << script.failure().text()
              << "\nkorvane dialog: the dialog was cancelled; nothing was written\n";
    return krv::tools::kExitFailed;
  }
  if (!o.picture.empty() && script.pictures().empty())
    std::cerr << "korvane dialog: no dialog showed, so there is no picture\n";
  if (script.endedWhileRunning())
    std::cerr << "korvane dialog: the script ended while the dialog still ran; it was cancelled\n";
  if (script.unusedSteps() > 0) {
    const auto& first = script.steps()[script.steps().size() - script.unusedSteps()];
    std::cerr << "korvane dialog: the dialog ended before " << script.unusedSteps()
              << " step(s), from line " << first.line << ", which were not played\n";
  }
  if (!out.failure.empty()) {
    std::cout << "failed: " << out.failure << "; nothing was written\n";
    return krv::tools::kExitFailed;
  }
  if (!out.writeFailure.ok()) {
    std::cerr << "korvane dialog: writing failed: " << out.writeFailure.text() << "\n";
    return krv::tools::kExitOutput;
  }
  if (out.recordWritten) {
    std::cout << "confirmed: the record was written to " << shellQuoted(o.record) << "\n";
    for (const fs::path& p : out.alsoWritten)
      std::cout << "also written: " << shellQuoted(p) << "\n";
  } else {
    std::cout << "cancelled: nothing was written\n";
  }
  return krv::tools::kExitOk;
}

}  // namespace

KRV_COMMAND([](CLI::App& app) {
  auto o = std::make_shared<Options>();
  auto* sub = app.add_subcommand(
      "dialog", "Run a dialog of the module on a record file, driven by a person script");
  sub->add_option("launcher", o->launcher, "the launcher (" + launcherNames() + ")")->required();
  sub->add_option("--record", o->record, "the record file the dialog is run on (written on OK)")
      ->required();
  sub->add_option("--script", o->script,
                  "the person script: one action a line (click, type, replace, choose, check, "
                  "key, answer, files, wait, picture, ...); without one the dialog is cancelled");
  sub->add_option("--picture", o->picture,
                  "save a picture (PNG) of the first dialog when it shows");
  sub->add_option("--library", o->library,
                  "the library folder of the run (default: examples/library)");
  sub->callback([o] { krv::tools::setExitCode(runDialog(*o)); });
});
