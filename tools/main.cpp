// korvane: the command-line program of the module. Subcommands register
// themselves (see command_registry.h). Every subcommand exits with the codes
// of exit_codes.h; a command line the parser refuses is bad usage.
#include <csignal>
#include <iostream>
#include <mutex>
#include <set>

#include "platform/base/display_text.h"
#include "platform/core/text_file.h"
#include "tools/command_registry.h"
#include "tools/exit_codes.h"

namespace {

// Says once per file that it was read in the fallback code page, and why.
void noteTextDecoding(const std::filesystem::path& path, const std::string& note) {
  static std::mutex mutex;
  static std::set<std::filesystem::path> told;
  std::lock_guard<std::mutex> lock(mutex);
  if (!told.insert(path).second) return;
  std::cerr << "korvane: note: " << krv::base::displayText(path.string(), 0) << " " << note << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  // A write beyond the file-size limit fails and is reported like any other
  // failed write (the writers remove their temporary files), instead of
  // ending the program half-way.
  std::signal(SIGXFSZ, SIG_IGN);
  krv::core::setTextDecodingNotice(noteTextDecoding);
  CLI::App app{
      "korvane - connection standards, sheets and libraries of the steel-construction module"};
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
