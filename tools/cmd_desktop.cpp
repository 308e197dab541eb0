// korvane desktop [--library DIR] [--records DIR] [--script FILE] [SHEET]
//
// The desktop: a main window standing in for the CAD program, where a
// person uses the module's dialogs with the mouse and keyboard (see
// tools/desktop_window.h). Needs a display; without one it says how to get
// one and fails. With --script the steps of the file are done after the
// start (tools/desktop_script.h). A sheet file given opens in the
// spreadsheet editor at the start.
#include <QApplication>
#include <QTimer>
#include <iostream>
#include <memory>

#include "frame/exported_functions.h"
#include "frame/module_entry.h"
#include "frame/ss_dlgs_mgr.h"
#include "platform/acad/acad_frame.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_sheet_printer.h"
#include "platform/qt/qt_user_interface.h"
#include "platform/qt/real_clock.h"
#include "platform/win/dialog.h"
#include "tools/command_registry.h"
#include "tools/desktop_run.h"
#include "tools/desktop_script.h"
#include "tools/desktop_user_interface.h"
#include "tools/desktop_window.h"
#include "tools/exit_codes.h"
#include "tools/sample_folders.h"
#include "tools/standard_evaluation.h"

namespace krv::tools {

namespace fs = std::filesystem;

int runDesktop(const DesktopRunOptions& o, const std::string& program) {
  if (!o.sheet.empty() && !fs::is_regular_file(o.sheet)) {
    std::cerr << program << ": there is no sheet file " << fs::path(o.sheet) << "\n";
    return krv::tools::kExitInput;
  }
  if (!krv::qt::displayAvailable()) {
    std::cerr << program << ": " << krv::qt::noDisplayAdvice() << "\n";
    return krv::tools::kExitFailed;
  }
  const fs::path library = krv::tools::libraryFolder(o.library);
  if (!fs::is_directory(library)) {
    std::cerr << program << ": no library folder " << library << "\n";
    return krv::tools::kExitInput;
  }
  std::vector<krv::tools::DesktopStep> steps;
  if (!o.script.empty()) {
    auto read = krv::tools::readDesktopScript(o.script);
    if (!read) {
      std::cerr << program << ": " << read.status().message() << "\n";
      return krv::tools::kExitInput;
    }
    steps = std::move(*read);
  }
  if (!krv::qt::ensureApplication(krv::qt::Display::Screen)) {
    std::cerr << program << ": " << krv::qt::noDisplayAdvice() << "\n";
    return krv::tools::kExitFailed;
  }
  Krv_Settings::setLibDir(krv::core::fromOsPath(library) + L"\\");

  // The host loads the module and starts it, as the CAD program does.
  const bool loaded = krv::frame::loadModule(krv::frame::moduleResourceFolder()) != nullptr;
  if (loaded) acrxEntryPoint(AcRx::kInitAppMsg, nullptr);

  krv::tools::DesktopUserInterface ui;
  krv::win::ScopedUserInterface useUi(ui);
  krv::qt::RealClock clock;
  clock.start();
  // The module's windows print sheets through the host's printer.
  krv::qt::QtSheetPrinter sheetPrinter;
  krv::sheet::setSheetPrinter(&sheetPrinter);

  int code = krv::tools::kExitOk;
  {
    krv::tools::DesktopOptions options;
    options.library = library;
    options.records = o.records.empty() ? krv::tools::checkoutFolder("examples/records")
                                        : fs::absolute(o.records);
    krv::tools::DesktopWindow desktop(options);
    ui.takeAnswersFrom([&desktop] { return desktop.takeFileAnswer(); });
    desktop.show();
    std::unique_ptr<krv::tools::DesktopScriptRunner> runner;
    int scriptCode = krv::tools::kExitOk;
    if (!steps.empty()) {
      runner = std::make_unique<krv::tools::DesktopScriptRunner>(
          desktop, std::move(steps), o.script, [&desktop, &scriptCode](int exitCode) {
            scriptCode = exitCode;
            desktop.close();
            QCoreApplication::exit(exitCode);
          });
      runner->start();
    }
    if (!o.sheet.empty()) {
      // Once the desktop runs; the editor keeps its own event loop until it
      // is closed.
      const fs::path sheet = fs::absolute(o.sheet);
      QTimer::singleShot(0, &desktop, [&desktop, sheet] { desktop.openSheetEditor(sheet); });
    }
    code = QApplication::exec();
    if (code == 0) code = scriptCode;

    ui.takeAnswersFrom(nullptr);
    // The module closes its windows while the desktop still mirrors them.
    if (loaded) acrxEntryPoint(AcRx::kUnloadAppMsg, nullptr);
    EndModelessDlgSheetsMgr();
    gSSDlgsMgr.destroyAll();
  }
  acad::destroyHostFrame();
  if (loaded) krv::frame::unloadModule();
  krv::sheet::setSheetPrinter(nullptr);
  return code;
}

}  // namespace krv::tools

KRV_COMMAND([](CLI::App& app) {
  auto o = std::make_shared<krv::tools::DesktopRunOptions>();
  auto* sub = app.add_subcommand(
      "desktop",
      "Open the desktop: a main window where the module's dialogs are used with the mouse and "
      "keyboard (needs a display; `xvfb-run -a` gives one)");
  sub->add_option("--library", o->library, "the library folder (default: examples/library)");
  sub->add_option("--records", o->records,
                  "where record file choices start (default: examples/records)");
  sub->add_option("--script", o->script,
                  "do the steps of this file after the start (menu, files, click, type, key, "
                  "wait, resize, screenshot, quit)");
  sub->add_option("sheet", o->sheet,
                  "a sheet file to open in the spreadsheet editor at the start (.vts, .csv, .tsv, "
                  ".xlsx, .ods)");
  sub->callback([o] { krv::tools::setExitCode(krv::tools::runDesktop(*o)); });
});
