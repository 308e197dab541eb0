// korvane mapping show STANDARD [KEY] [--library DIR] [--macro FILE]: prints
// the couplings stored in a standard's mapping file, one per line: the key,
// the sheet variable, its value type and the display text of the macro
// object. With a macro file each coupling also shows the value that the
// standard would receive from that macro.
#include <iostream>
#include <string>

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

struct Options {
  std::string standard;
  std::string key;
  std::string library = "examples/library";
  std::string macro;
};

int showMapping(const Options& o) {
  Krv_Settings::setLibDir(krv::fromOsPath(std::filesystem::absolute(o.library)) + L"\\");
  const Krv_String path = VtSSMapping::mappingFilePath(Krv_String(o.standard));
  Krv_StringArray lines;
  if (!ObjectExportReadFile(path, lines)) {
    std::cerr << "korvane mapping: no mapping file " << krv::tools::shellQuoted(krv::osPath(path))
              << "\n";
    return krv::tools::kExitInput;
  }
  Krv_StringArray keys;
  for (int i = 0; i < lines.length(); ++i) {
    Krv_String key, rest;
    if (i == 0 && hasSubString(lines[i], L"Mapping", false) && hasSubString(lines[i], L"version", false)) continue;
    if (splitString(lines[i], L"=", key, rest, false)) keys.append(key);
  }
  if (!o.key.empty()) {
    if (!keys.contains(Krv_String(o.key), true)) {
      std::cerr << "korvane mapping: the mapping file of " << o.standard << " has no key " << o.key << "\n";
      return krv::tools::kExitInput;
    }
    keys = Krv_StringArray{Krv_String(o.key)};
  }

  Krv_DbMacro db;
  MacroData data;
  if (!o.macro.empty()) {
    std::string error;
    if (!krv::readMacroFile(Krv_String(o.macro), db, data, error)) {
      std::cerr << "korvane mapping: " << krv::tools::withQuotedPaths(error, {o.macro}) << "\n";
      return krv::tools::kExitInput;
    }
  }
  for (const auto& key : keys) {
    VtSSMapping mapping;
    if (mapping.getMappingFromFile(Krv_String(o.standard), key) != Acad::eOk) {
      std::cerr << "korvane mapping: cannot read the mapping of key " << key.utf8() << "\n";
      return krv::tools::kExitInput;
    }
    std::cout << key.utf8() << " (" << mapping.mappedObjects().length() << " couplings)\n";
    VtDlgStandardsData record;
    record.initialize(&db, Krv_String(o.standard), key, &data);
    for (auto object : mapping.mappedObjects()) {
      VtValueType type = String;
      mapKindValueType(object.kind(), type);
      std::cout << "  " << object.ssVariable().utf8() << " (" << valueTypeWord(type).utf8() << ") = "
                << object.displayText().utf8();
      if (!o.macro.empty()) {
        Krv_String value;
        if (mapping.getMacroVarValue(object.ssVariable(), type, value, record) == Acad::eOk)
          std::cout << "  -> " << value.utf8();
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
  show->add_option("standard", o->standard, "the standard's name below \"Connection Standards\"")->required();
  show->add_option("key", o->key, "only the mapping of this key (a macro's caller name)");
  show->add_option("--library", o->library, "the library folder")->capture_default_str();
  show->add_option("--macro", o->macro, "a macro file whose values are shown beside the couplings");
  show->callback([o] { krv::tools::setExitCode(showMapping(*o)); });
});

}  // namespace
