// korvane register | unregister | print-clsids: writes, removes or lists the
// COM registration of the product's property objects, on the registry file
// of the program.
//
//   --module-dir DIR  the folder of the module: where ostrel.arx is looked
//                     for and RegistryIDs.dat is written (default: the
//                     folder of this program)
//   --registry FILE   the registry file (default: the user's configuration
//                     folder, korvane/registry.json)
#include <iostream>
#include <memory>
#include <string>

#include "frame/com_registration.h"
#include "frame/module_entry_folder.h"
#include "platform/win/registry.h"
#include "tools/command_registry.h"
#include "tools/exit_codes.h"
#include "tools/shell_quote.h"

namespace {

struct RegisterOptions {
  std::string moduleDir;
  std::string registryFile;
};

enum class Action { Register, Unregister, Print };

int run(Action action, const RegisterOptions& options) {
  if (!options.moduleDir.empty()) {
    std::error_code ec;
    if (!std::filesystem::is_directory(options.moduleDir, ec)) {
      std::cerr << "korvane: module folder " << krv::tools::shellQuoted(options.moduleDir)
                << " does not exist\n";
      return krv::tools::kExitInput;
    }
    krv::frame::setModuleFolder(std::filesystem::absolute(options.moduleDir, ec));
  }
  if (action != Action::Print) {
    const std::filesystem::path file = options.registryFile.empty()
                                           ? krv::win::defaultRegistryFile()
                                           : std::filesystem::path(options.registryFile);
    std::error_code ec;
    if (!file.parent_path().empty()) std::filesystem::create_directories(file.parent_path(), ec);
    if (const krv::base::Status attached = krv::win::Registry::current().attachFile(file);
        !attached) {
      std::cerr << "korvane: " << krv::tools::withQuotedPaths(attached.text(), {file.string()})
                << "\n";
      return krv::tools::kExitInput;
    }
    // Every key in memory first, then one write of the file: a failed write
    // leaves the previous file whole instead of a part of the registration.
    krv::win::Registry::current().holdSaves(true);
  }

  Acad::ErrorStatus status = Acad::eOk;
  std::string done;  // said once the registry file is written
  switch (action) {
    case Action::Register:
      status = SSregisterOpmCLSIDs();
      if (status != Acad::eOk) {
        const std::filesystem::path server =
            krv::frame::moduleFolder() / krv::frame::kComServerFileName;
        std::error_code ec;
        if (!std::filesystem::is_regular_file(server, ec))
          std::cerr << "korvane register: " << krv::tools::shellQuoted(server)
                    << " not found; nothing registered\n";
        else
          std::cerr << "korvane register: some registry keys could not be written\n";
      } else {
        done = "Registered the type library, " + std::to_string(krv::frame::comClasses().size()) +
               " classes and " + std::to_string(krv::frame::comInterfaces().size()) +
               " interfaces.";
      }
      break;
    case Action::Unregister:
      status = SScleanupComRegistry();
      if (status != Acad::eOk)
        std::cerr << "korvane unregister: some registry keys could not be removed\n";
      else
        done = "Removed the registration.";
      break;
    case Action::Print:
      status = SSprintCLSIDs();
      std::cout << "\n";
      break;
  }
  if (action != Action::Print) {
    krv::win::Registry& registry = krv::win::Registry::current();
    const krv::base::Status saved =
        registry.hasUnsavedChanges() ? registry.save() : krv::base::Status();
    registry.holdSaves(false);
    registry.detachFile();
    if (!saved) {
      std::cerr << "korvane: registry file not saved (it is as it was): " << saved.text() << "\n";
      return krv::tools::kExitOutput;
    }
  }
  if (!done.empty()) std::cout << done << "\n";
  return status == Acad::eOk ? krv::tools::kExitOk : krv::tools::kExitFailed;
}

void addCommand(CLI::App& app, const char* name, const char* description, Action action) {
  auto options = std::make_shared<RegisterOptions>();
  auto* sub = app.add_subcommand(name, description);
  sub->add_option(
      "--module-dir", options->moduleDir,
      "The module's folder (ostrel.arx, RegistryIDs.dat); default: the program's folder");
  if (action != Action::Print)
    sub->add_option(
        "--registry", options->registryFile,
        "The registry file; default: korvane/registry.json in the user's configuration folder");
  sub->callback([options, action] { krv::tools::setExitCode(run(action, *options)); });
}

KRV_COMMAND([](CLI::App& app) {
  addCommand(app, "register", "Register the property objects served by ostrel.arx",
             Action::Register);
  addCommand(app, "unregister", "Remove the registration of the property objects",
             Action::Unregister);
  addCommand(app, "print-clsids", "List the class identifiers and write RegistryIDs.dat",
             Action::Print);
});

}  // namespace
