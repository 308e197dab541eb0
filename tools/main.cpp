// korvane: the command-line program of the module. Subcommands register
// themselves (see command_registry.h).
#include <csignal>
#include <iostream>
#include <mutex>
#include <set>

#include "platform/core/text_file.h"
#include "platform/win/text_bytes.h"
#include "tools/command_registry.h"

namespace {

// Says once per file that it was read in the fallback code page, and why.
void noteTextDecoding(const std::filesystem::path& path, const std::string& note) {
  static std::mutex mutex;
  static std::set<std::filesystem::path> told;
  std::lock_guard<std::mutex> lock(mutex);
  if (!told.insert(path).second) return;
  std::cerr << "korvane: note: " << krv::displayText(path.string(), 0) << " " << note << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  // A write beyond the file-size limit fails and is reported like any other
  // failed write (the writers remove their temporary files), instead of
  // ending the program half-way.
  std::signal(SIGXFSZ, SIG_IGN);
  krv::setTextDecodingNotice(noteTextDecoding);
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
