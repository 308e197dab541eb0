// korvane: the command-line program of the module. Subcommands register
// themselves (see command_registry.h). Every subcommand exits with the codes
// of exit_codes.h; a command line the parser refuses is bad usage.
#include <iostream>

#include "tools/command_registry.h"
#include "tools/exit_codes.h"

int main(int argc, char** argv) {
  CLI::App app{"korvane - connection standards, sheets and libraries of the steel-construction module"};
  app.require_subcommand(1);
  // Set before the subcommands are added, so that each of them inherits it.
  app.footer(krv::tools::exitCodeHelp());
  for (auto& setup : krv::tools::commandRegistry()) setup(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // Help and version requests print and succeed; every other refusal of
    // the command line is printed as the parser words it, with the usage code.
    const int parserCode = app.exit(e);
    return parserCode == static_cast<int>(CLI::ExitCodes::Success) ? krv::tools::kExitOk
                                                                   : krv::tools::kExitUsage;
  } catch (const std::exception& e) {
    std::cerr << "korvane: " << e.what() << "\n";
    return krv::tools::kExitFailed;
  }
  return krv::tools::exitCode();
}
