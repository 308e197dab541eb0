// korvane mapping show STANDARD [KEY] [--library DIR] [--macro FILE]: prints
// the couplings stored in a standard's mapping file, one per line: the key,
// the sheet variable, its value type and the display text of the macro
// object. With a macro file each coupling also shows the value that the
// standard would receive from that macro.
#include <iostream>
#include <string>
#include <vector>

#include "platform/base/display_text.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/core/macro_file.h"
#include "platform/core/text_file.h"
#include "platform/core/text_functions.h"
#include "standards/vt_dlg_standards_data.h"
#include "standards/vt_ss_mapping.h"
#include "tools/command_registry.h"
#include "tools/exit_codes.h"
#include "tools/shell_quote.h"

namespace {

// Texts of the mapping and macro files: shown escaped and cut.
std::string shown(const Krv_String& text) { return krv::base::displayText(text.str()); }
std::string shown(const std::string& text) { return krv::base::displayText(text); }

struct Options {
  std::string standard;
  std::string key;
  std::string library = "examples/library";
  std::string macro;
};

int showMapping(const Options& o) {
  Krv_Settings::setLibDir(krv::core::fromOsPath(std::filesystem::absolute(o.library)) + L"\\");
  const Krv_String path = VtSSMapping::mappingFilePath(Krv_String(o.standard));
  Krv_StringArray lines;
  if (!ObjectExportReadFile(path, lines)) {
    std::cerr << "korvane mapping: no mapping file "
              << krv::tools::shellQuoted(krv::core::osPath(path)) << "\n";
    return krv::tools::kExitInput;
  }
  Krv_StringArray keys;
  std::vector<int> entryCounts;  // per key: the entries its line holds
  for (int i = 0; i < lines.length(); ++i) {
    Krv_String key, rest;
    if (i == 0 && hasSubString(lines[i], L"Mapping", false) &&
        hasSubString(lines[i], L"version", false))
      continue;
    if (!splitString(lines[i], L"=", key, rest, false)) continue;
    Krv_StringArray entries;
    splitStringAtSymbol(rest, L'\u00BF', entries, true);
    int count = 0;
    for (const auto& e : entries) count += e.isEmpty() ? 0 : 1;
    keys.append(key);
    entryCounts.push_back(count);
  }
  if (!o.key.empty()) {
    const int at = keys.find(Krv_String(o.key), true);
    if (at < 0) {
      std::cerr << "korvane mapping: the mapping file of " << shown(o.standard) << " has no key "
                << shown(o.key) << "\n";
      return krv::tools::kExitInput;
    }
    keys = Krv_StringArray{Krv_String(o.key)};
    entryCounts = {entryCounts[static_cast<size_t>(at)]};
  }

  Krv_DbMacro db;
  MacroData data;
  if (!o.macro.empty()) {
    std::string error;
    if (!krv::base::reportTo(krv::core::readMacroFile(Krv_String(o.macro), db, data), error)) {
      std::cerr << "korvane mapping: " << krv::tools::withQuotedPaths(error, {o.macro}) << "\n";
      return krv::tools::kExitInput;
    }
  }
  for (int k = 0; k < keys.length(); ++k) {
    const Krv_String& key = keys[k];
    VtSSMapping mapping;
    if (mapping.getMappingFromFile(Krv_String(o.standard), key) != Acad::eOk) {
      std::cerr << "korvane mapping: cannot read the mapping of key " << shown(key) << "\n";
      return krv::tools::kExitInput;
    }
    const int couplings = mapping.mappedObjects().length();
    std::cout << shown(key) << " (" << couplings << " couplings)\n";
    // Entries the engine skips (no sheet variable, an unknown kind word) are
    // said, not passed over in silence.
    if (const int skipped = entryCounts[static_cast<size_t>(k)] - couplings; skipped > 0)
      std::cout << "  (" << skipped << (skipped == 1 ? " entry" : " entries")
                << " of this line could not be read)\n";
    VtDlgStandardsData record;
    record.initialize(&db, Krv_String(o.standard), key, &data);
    for (auto object : mapping.mappedObjects()) {
      VtValueType type = String;
      krv::standards::mapKindValueType(object.kind(), type);
      std::cout << "  " << shown(object.ssVariable()) << " ("
                << krv::standards::valueTypeWord(type).utf8()
                << ") = " << shown(object.displayText());
      if (!o.macro.empty()) {
        Krv_String value;
        if (mapping.getMacroVarValue(object.ssVariable(), type, value, record) == Acad::eOk)
          std::cout << "  -> " << shown(value);
        else
          std::cout << "  -> (not found in the macro)";
      }
      std::cout << "\n";
    }
  }
  return krv::tools::kExitOk;
}

KRV_COMMAND([](CLI::App& app) {
  auto* sub = app.add_subcommand("mapping", "Show the mapping files of connection standards");
  sub->require_subcommand(1);
  auto* show = sub->add_subcommand("show", "Print the couplings stored for a standard");
  auto o = std::make_shared<Options>();
  show->add_option("standard", o->standard,
                   "the standard's name below \"Connection Standards\", or the path of its sheet "
                   "file (the mapping file beside it is read)")
      ->required();
  show->add_option("key", o->key, "only the mapping of this key (a macro's caller name)");
  show->add_option("--library", o->library, "the library folder")->capture_default_str();
  show->add_option("--macro", o->macro, "a macro file whose values are shown beside the couplings");
  show->callback([o] { krv::tools::setExitCode(showMapping(*o)); });
});

}  // namespace
