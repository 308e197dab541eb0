// korvane: the command-line program of the module. Subcommands register
// themselves (see command_registry.h).
#include <iostream>

#include "tools/command_registry.h"


int main(int argc, char** argv) {
  CLI::App app{"korvane - connection standards, sheets and libraries of the steel-construction module"};
  app.require_subcommand(1);
  for (auto& setup : krv::tools::commandRegistry()) setup(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  } catch (const std::exception& e) {
    std::cerr << "korvane: " << e.what() << "\n";
    return 1;
  }
  return krv::tools::exitCode();
}
