// korvane picture TEMPLATE|LAUNCHER --out FILE.png
// korvane picture --list
//
// A picture of a dialog, drawn offscreen (no display is needed). A number
// draws the dialog template of that id from the module's resources as an
// inert dialog (no handlers run). A launcher's name runs the launcher on
// its sample record in examples/records/ and takes the picture when its
// first dialog shows; the dialog is then cancelled and nothing is written.
// --list names the launchers (name, template id, title; tab-separated).
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "frame/module_entry.h"
#include "frame/resource_guard.h"
#include "platform/qt/picture.h"
#include "platform/win/dialog.h"
#include "platform/win/person_script.h"
#include "platform/win/resource_modules.h"
#include "tools/command_registry.h"
#include "tools/dialog_script.h"
#include "tools/exit_codes.h"
#include "tools/launchers.h"
#include "tools/sample_folders.h"
#include "tools/shell_quote.h"

namespace {

namespace fs = std::filesystem;
using krv::tools::shellQuoted;

struct Options {
  std::string what;
  std::string out;
  bool list = false;
};

int templatePicture(unsigned id, const fs::path& out) {
  const bool loaded = krv::frame::moduleInstance() == nullptr &&
                      krv::frame::loadModule(krv::frame::moduleResourceFolder()) != nullptr;
  int code = krv::tools::kExitOk;
  {
    krv::frame::ResourceGuard resources;
    CDialog inert(id);
    if (!inert.Create(id)) {
      std::cerr << "korvane picture: no dialog template " << id << " in "
                << shellQuoted(krv::frame::moduleResourceFolder()) << ": "
                << krv::win::lastResourceError().text() << "\n";
      code = krv::tools::kExitInput;
    } else {
      inert.ShowWindow(SW_SHOW);
      krv::tools::provideQtRuntimeFolder();
      if (const krv::base::Status s = krv::qt::savePicture(inert, out); !s) {
        std::cerr << "korvane picture: " << s.text() << "\n";
        code = krv::tools::kExitOutput;
      }
      inert.DestroyWindow();
    }
  }
  if (loaded) krv::frame::unloadModule();
  return code;
}

int launcherPicture(const krv::tools::Launcher& launcher, const fs::path& out) {
  const fs::path record = krv::tools::checkoutFolder("examples/records") / launcher.sampleRecord;
  krv::win::PersonScript script;
  krv::tools::prepareScript(script);
  (void)script.load("", "");
  script.pictureOfFirstDialog(out);
  krv::tools::LaunchOptions options;
  options.mayWrite = [] { return false; };  // a picture changes nothing
  krv::win::ScopedUserInterface use(script);
  const auto run = launcher.runWith(record, options);
  if (!run) {
    std::cerr << "korvane picture: " << run.status().text() << "\n";
    return krv::tools::kExitInput;
  }
  if (script.failed()) {
    std::cerr << "korvane picture: " << script.failure().text() << "\n";
    return krv::tools::kExitOutput;
  }
  if (script.pictures().empty()) {
    std::cerr << "korvane picture: " << launcher.name << " showed no dialog\n";
    return krv::tools::kExitFailed;
  }
  return krv::tools::kExitOk;
}

int picture(const Options& o) {
  if (o.list) {
    for (const auto& l : krv::tools::launchers())
      std::cout << l.name << "\t" << l.templateId << "\t" << l.title << "\n";
    return krv::tools::kExitOk;
  }
  if (o.what.empty() || o.out.empty()) {
    std::cerr << "korvane picture: give a template id or a launcher, and --out FILE.png\n";
    return krv::tools::kExitUsage;
  }
  const fs::path out = fs::absolute(o.out);
  const bool number =
      !o.what.empty() && o.what.find_first_not_of("0123456789") == std::string::npos;
  int code = krv::tools::kExitOk;
  if (number) {
    code = o.what.size() > 5 ? krv::tools::kExitUsage
                             : templatePicture(static_cast<unsigned>(std::stoul(o.what)), out);
    if (code == krv::tools::kExitUsage)
      std::cerr << "korvane picture: " << o.what << " is no template id\n";
  } else if (const krv::tools::Launcher* l = krv::tools::findLauncher(o.what)) {
    code = launcherPicture(*l, out);
  } else {
    std::string names;
    for (const auto& each : krv::tools::launchers())
      names += (names.empty() ? "" : ", ") + each.name;
    std::cerr << "korvane picture: " << o.what
              << " is neither a template id nor a launcher (there are " << names << ")\n";
    return krv::tools::kExitUsage;
  }
  if (code == krv::tools::kExitOk) std::cout << "picture: " << shellQuoted(out) << "\n";
  return code;
}

}  // namespace

KRV_COMMAND([](CLI::App& app) {
  auto o = std::make_shared<Options>();
  auto* sub = app.add_subcommand(
      "picture", "Draw a dialog template or a launcher's dialog into a PNG (no display needed)");
  sub->add_option("what", o->what, "a dialog template id, or a launcher's name");
  sub->add_option("--out", o->out, "the PNG file written");
  sub->add_flag("--list", o->list,
                "list the launchers instead: name, template id and title, one a line");
  sub->callback([o] { krv::tools::setExitCode(picture(*o)); });
});
