// korvane library [FOLDER]: lists what a library folder holds — standards
// sheets, mapping files with their keys, data files, section tables and
// dialog designs — each with a count.
#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

#include "platform/base/display_text.h"
#include "tools/command_registry.h"
#include "tools/exit_codes.h"
#include "tools/library_scan.h"
#include "tools/shell_quote.h"

namespace {

// Names and keys come from the folder's files: shown escaped and cut.
std::string shown(const std::string& text) { return krv::base::displayText(text); }

void printSection(const std::string& title, const std::vector<std::string>& items) {
  std::cout << title << " (" << items.size() << ")\n";
  for (const auto& i : items) std::cout << "  " << shown(i) << "\n";
}

int runLibrary(const std::string& folder) {
  const auto scanned = krv::tools::scanLibrary(folder);
  if (!scanned) {
    std::cerr << "korvane library: " << scanned.status().text() << "\n";
    return krv::tools::kExitInput;
  }
  const krv::tools::LibraryContents& c = *scanned;
  std::cout << "Library folder: " << krv::tools::shellQuoted(c.root) << "\n";
  printSection("Standards sheets", c.standards);
  std::cout << "Mapping files (" << c.mappings.size() << ")\n";
  for (const auto& m : c.mappings) {
    std::cout << "  " << shown(m.name) << "  keys (" << m.keys.size() << "):";
    for (const auto& k : m.keys) std::cout << " " << shown(k);
    if (!m.error.empty()) std::cout << "  [" << m.error << "]";
    if (!m.note.empty()) std::cout << "  [" << m.note << "]";
    std::cout << "\n";
  }
  printSection("Data files", c.dataFiles);
  printSection("Section tables", c.sectionTables);
  printSection("Dialog designs", c.designs);
  return krv::tools::kExitOk;
}

KRV_COMMAND([](CLI::App& app) {
  auto* sub = app.add_subcommand("library", "List what a library folder holds");
  auto folder = std::make_shared<std::string>("examples/library");
  sub->add_option("folder", *folder, "The library folder")->capture_default_str();
  sub->callback([folder] { krv::tools::setExitCode(runLibrary(*folder)); });
});

}  // namespace
