// korvane macro show FILE: prints a macro file: its general variables, base
// profiles, and per group its modules with their variables, cuts, bolt
// patterns and profile placements, then the tabs of its dialog data.
#include <iostream>
#include <string>

#include "platform/base/display_text.h"
#include "platform/core/krv_db_macro.h"
#include "platform/core/macro_data.h"
#include "platform/core/macro_file.h"
#include "tools/command_registry.h"
#include "tools/exit_codes.h"
#include "tools/shell_quote.h"

namespace {

// Names and texts of the macro file: shown escaped and cut.
std::string text(const Krv_String& s) { return krv::base::displayText(s.str()); }
std::string number(double v) { return Krv_String(v, 4, true).utf8(); }

std::string moduleKind(int type) {
  if (type == kKrvBoltModuleType) return "bolt module";
  if (type == kKrvProfModuleType) return "profile module";
  return "module type " + std::to_string(type);
}

void printModule(const Krv_Module& m) {
  std::cout << "  module " << text(m.name()) << " (" << moduleKind(m.type()) << ")\n";
  for (const auto& v : m.constrVars()) {
    std::cout << "    variable " << text(v.name) << " = " << number(v.value);
    if (!v.visible) std::cout << "  [hidden]";
    if (!v.settable) std::cout << "  [not settable]";
    std::cout << "\n";
  }
  for (const auto& c : m.cuts()) {
    std::cout << "    cut " << text(c.name) << " (type " << c.cutType << "):";
    for (int t = 0; t < kCutOffsetTypeCount; ++t)
      if (c.offsets[t] != 0.0)
        std::cout << " " << text(cutOffsetName(t)) << "=" << number(c.offsets[t]);
    std::cout << "\n";
  }
  for (const auto& p : m.patterns()) {
    std::cout << "    pattern " << text(p.name) << " (type " << p.typeCode << "): " << p.nrBolts1;
    if (p.typeCode == kKrvPatternTwoDirType) std::cout << " x " << p.nrBolts2;
    std::cout << " bolts";
    if (p.reverseStart1) std::cout << ", first direction reversed";
    if (p.reverseStart2) std::cout << ", second direction reversed";
    std::cout << "\n";
  }
  for (const auto& p : m.placements())
    std::cout << "    placement " << text(p.name) << ": " << text(p.section) << ", "
              << text(p.material) << "\n";
}

void printTab(const MacroTabData& tab) {
  std::cout << "  tab " << text(tab.mName) << " \"" << text(tab.mTitle) << "\" (kind " << tab.mKind
            << ")\n";
  if (const MacroBoltData* b = tab.getBoltData())
    std::cout << "    bolts: " << text(b->mComposition) << ", diameter " << text(b->mDiameter)
              << ", hole offset " << text(b->mHoleOffset) << "\n";
  for (const auto& name : tab.patternNames()) {
    int n1 = 0, n2 = 0;
    tab.getPatternBolts(name, n1, n2);
    std::cout << "    pattern " << text(name) << ": " << n1 << " x " << n2 << "\n";
  }
  for (const auto& name : tab.flexFixVariables()) {
    bool flexible = false, fixed = false;
    tab.getFlexFixBtnStatus(name, flexible, fixed);
    std::cout << "    " << text(name) << ": " << (fixed ? "fixed" : "flexible") << "\n";
  }
  for (const auto& name : tab.profileGroupNames()) {
    MacroProfData p;
    tab.getMergedPropsOfGroup(name, p);
    std::cout << "    profile group " << text(name) << ": member " << text(p.mMemberName) << ", "
              << text(p.mSection) << ", " << text(p.mMaterial) << "\n";
  }
  for (const auto& v : tab.mVariables)
    std::cout << "    " << text(v.name) << " = " << text(v.value)
              << (v.readOnly ? "  [read only]" : "") << "\n";
}

int showMacro(const std::string& file) {
  Krv_DbMacro db;
  MacroData data;
  std::string error;
  if (!krv::base::reportTo(krv::core::readMacroFile(Krv_String(file), db, data), error)) {
    std::cerr << "korvane macro: " << krv::tools::withQuotedPaths(error, {file}) << "\n";
    return krv::tools::kExitInput;
  }
  const Krv_Macro& macro = *db.macro();
  std::cout << "Macro " << text(macro.name()) << "\n";
  Krv_StringArray names;
  macro.getGeneralVariables(names);
  std::cout << "General variables (" << names.length() << ")\n";
  for (const auto& n : names) {
    double v = 0;
    macro.generalVariableValue(n, v);
    std::cout << "  " << text(n) << " = " << number(v) << "\n";
  }
  std::cout << "Base profiles (" << macro.baseProfiles().size() << ")\n";
  int i = 0;
  for (const auto& p : macro.baseProfiles())
    std::cout << "  Prof" << i++ << " " << text(p.name) << ": " << text(p.section) << ", "
              << text(p.material) << "\n";
  // Groups in the order of their first modules.
  Krv_StringArray groups;
  for (const auto& m : macro.modules())
    if (!groups.contains(m.groupOrName(), false)) groups.append(m.groupOrName());
  for (const auto& g : groups) {
    std::cout << "Group " << text(g) << "\n";
    for (const auto& m : macro.modules())
      if (m.groupOrName().equal(g, false)) printModule(m);
  }
  std::cout << "Dialog \"" << text(data.mCaption) << "\", tabs (" << data.mTabs.length() << ")\n";
  for (const auto& tab : data.mTabs) printTab(tab);
  return krv::tools::kExitOk;
}

KRV_COMMAND([](CLI::App& app) {
  auto* sub = app.add_subcommand("macro", "Show a connection macro file");
  sub->require_subcommand(1);
  auto* show = sub->add_subcommand(
      "show", "Print the groups, modules, variables and values of a macro file");
  auto file = std::make_shared<std::string>();
  show->add_option("file", *file, "the macro file (.json)")->required();
  show->callback([file] { krv::tools::setExitCode(showMacro(*file)); });
});

}  // namespace
