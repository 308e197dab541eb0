// korvane evaluate [STANDARD --macro FILE] [--caller KEY | --module-group GROUP]
//                  [--library DIR] [--genvar NAME=VALUE ...] [--out FILE]
//                  [--trace] [--timers]
//
// Evaluates a connection standard for a macro as the product's modules do
// (through StartDlgStandardsSS): the macro's values are read through the
// standard's mapping for the caller's key (or by direct names for a module
// group), the standard's equations are evaluated, and the outputs are
// written into the macro. Prints every variable cell with its value before
// and after, the messages the engine raised, and writes the changed macro
// back (or to --out). The macro file is left untouched when the evaluation
// fails. Without arguments it evaluates the sample standard "EndPlate" for
// the sample macro of the library and writes the result to a temporary file.
//
// A standard given by name is read from the library's "Connection
// Standards" folder, with its mapping file there; a standard given as the
// path of a sheet file has its mapping file beside it (same base name,
// extension .map).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "frame/exported_functions.h"
#include "frame/module_entry.h"
#include "frame/ss_dlgs_mgr.h"
#include "platform/base/display_text.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/core/macro_file.h"
#include "platform/win/console_user_interface.h"
#include "platform/win/user_interface.h"
#include "standards/calc_timers.h"
#include "standards/standard_files.h"
#include "standards/vt_calc_ss.h"
#include "standards/vt_dlg_standards_data.h"
#include "standards/vt_ss_mapping.h"
#include "tools/command_registry.h"
#include "tools/exit_codes.h"
#include "tools/shell_quote.h"

namespace {

namespace fs = std::filesystem;

struct Options {
  std::string standard;
  std::string macro;
  std::string caller;
  std::string moduleGroup;
  std::string library;
  std::vector<std::string> genVars;
  std::string out;
  bool trace = false;
  bool timers = false;
};

const char* const kSampleStandard = "EndPlate";
const char* const kSampleMacro = "Macros/EndPlateBeam.json";

using krv::tools::shellQuoted;

std::string narrow(const Krv_String& s) { return s.utf8(); }
std::string quotedPath(const Krv_String& path) { return shellQuoted(krv::core::osPath(path)); }

// Message boxes are collected for the report and answered with their
// default button; dialogs are run as on the console.
class RecordingUserInterface : public krv::win::ConsoleUserInterface {
 public:
  int messageBox(HWND, const std::wstring& text, const std::wstring& caption, UINT type) override {
    messages.push_back({caption, text});
    return krv::win::defaultMessageBoxAnswer(type);
  }
  std::vector<std::pair<std::wstring, std::wstring>> messages;
};

// The library folder: as given; else "examples/library" below the current
// folder or two folders above the program (a build tree in the checkout).
fs::path libraryFolder(const std::string& given) {
  if (!given.empty()) return fs::absolute(given);
  if (fs::is_directory("examples/library")) return fs::absolute("examples/library");
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const fs::path candidate =
        exe.parent_path().parent_path().parent_path() / "examples" / "library";
    if (fs::is_directory(candidate)) return candidate;
  }
  return fs::absolute("examples/library");
}

const char* kindName(const VtVarCell& c) {
  return c.isInput() ? "Input" : c.isOutput() ? "Output" : "Local";
}
const char* typeName(VtValueType t) { return t == Int ? "Int" : t == Double ? "Double" : "String"; }

void printTrace(const krv::standards::CalcTraceEvent& e) {
  const std::string indent(2 + 4 * e.depth, ' ');
  switch (e.kind) {
    case krv::standards::CalcTraceEvent::ChildStart:
      std::cout << indent << "-> child " << quotedPath(e.file) << "\n";
      break;
    case krv::standards::CalcTraceEvent::ChildEnd:
      std::cout << indent << "<- child " << (e.ok ? "done" : "FAILED: " + narrow(e.result)) << "\n";
      break;
    case krv::standards::CalcTraceEvent::Equation:
      std::cout << indent << "row " << std::setw(3) << e.row << "  ";
      if (!e.target.isEmpty()) std::cout << narrow(e.target) << " = ";
      std::cout << narrow(e.expression) << (e.ok ? "  ->  " : "  FAILED: ") << narrow(e.result)
                << "\n";
      break;
  }
}

void printTimers() {
  std::cout << "\nTimers:\n";
  std::cout << "  " << std::left << std::setw(32) << "timer" << std::right << std::setw(8)
            << "count" << std::setw(14) << "total ms" << std::setw(14) << "mean us"
            << "\n";
  for (const Krv_Timer* t : krv::standards::standardsTimers()) {
    std::cout << "  " << std::left << std::setw(32) << narrow(t->name()) << std::right
              << std::setw(8) << t->count() << std::setw(14) << std::fixed << std::setprecision(3)
              << t->seconds() * 1e3 << std::setw(14) << std::setprecision(2)
              << t->meanSeconds() * 1e6 << "\n";
  }
  std::cout.unsetf(std::ios::fixed);
}

// Prints rows of texts as columns as wide as their longest text (counted
// in characters), two blanks apart, each line indented by two blanks.
void printTable(const std::vector<std::vector<std::string>>& rows) {
  const auto chars = [](const std::string& text) {
    return static_cast<size_t>(Krv_String(text).length());
  };
  std::vector<size_t> width;
  for (const auto& row : rows)
    for (size_t c = 0; c < row.size(); ++c) {
      if (width.size() <= c) width.push_back(0);
      width[c] = std::max(width[c], chars(row[c]));
    }
  for (const auto& row : rows) {
    std::string line = "  ";
    for (size_t c = 0; c < row.size(); ++c) {
      line += row[c];
      if (c + 1 < row.size()) line.append(width[c] - chars(row[c]) + 2, ' ');
    }
    std::cout << line << "\n";
  }
}

// The inputs of one evaluation, resolved from the options. The record of
// the run points into db and macroData, so an Inputs never moves.
struct Inputs {
  Inputs() = default;
  Inputs(const Inputs&) = delete;
  Inputs& operator=(const Inputs&) = delete;

  Krv_String standard;   // as given (a name or a path)
  Krv_String sheetPath;  // the sheet the engine loads
  Krv_DbMacro db;
  MacroData macroData;
  std::string macroSource;  // written back with only the changed values changed
  Krv_DbMacro original;     // the macro as read, for the values before
  MacroData originalData;
  Krv_String caller;
};

// Fills in the sample's defaults, the library folder, the standard's sheet
// and the macro. Gives kExitOk, or the exit code after telling why not.
int resolveInputs(Options& o, Inputs& in) {
  const bool sample = o.standard.empty() && o.macro.empty();
  const fs::path library = libraryFolder(o.library);
  if (!fs::is_directory(library)) {
    std::cerr << "korvane evaluate: no library folder " << shellQuoted(library) << "\n";
    return krv::tools::kExitInput;
  }
  Krv_Settings::setLibDir(krv::core::fromOsPath(library) + L"\\");
  if (sample) {
    o.standard = kSampleStandard;
    o.macro = (library / kSampleMacro).string();
    if (o.genVars.empty()) o.genVars = {"gen_edge_margin=10", "gen_bolt_set=M20 8.8"};
    if (o.out.empty()) {
      // One result file, replaced by every run, so that runs of the sample
      // leave nothing else behind.
      o.out = (fs::temp_directory_path() / "korvane-sample-result.json").string();
    }
  }
  if (o.standard.empty() || o.macro.empty()) {
    std::cerr
        << "korvane evaluate: give a standard and --macro FILE (or no arguments for the sample)\n";
    return krv::tools::kExitUsage;
  }

  in.standard = Krv_String(o.standard);
  in.sheetPath = krv::standards::standardSheetPath(in.standard);
  if (!fileExists(in.sheetPath)) {
    std::cerr << "korvane evaluate: no standard " << o.standard << " (looked for "
              << quotedPath(in.sheetPath) << ")\n";
    return krv::tools::kExitInput;
  }

  std::string error;
  if (!krv::base::reportTo(
          krv::core::readMacroFile(Krv_String(o.macro), in.db, in.macroData, &in.macroSource),
          error)) {
    std::cerr << "korvane evaluate: " << krv::tools::withQuotedPaths(error, {o.macro}) << "\n";
    return krv::tools::kExitInput;
  }
  in.original = in.db;
  in.originalData = in.macroData;

  if (!o.moduleGroup.empty())
    in.caller = Krv_String(L"Module.") + Krv_String(o.moduleGroup);
  else if (!o.caller.empty())
    in.caller = Krv_String(o.caller);
  else
    in.caller = in.db.macro() ? in.db.macro()->name() : Krv_String();
  return krv::tools::kExitOk;
}

// Sets up the record the engine evaluates: the macro, the caller and the
// general variables, the macro's first and then those of the command line
// (which replace a macro value of the same name).
int buildRecord(const Options& o, Inputs& in, VtDlgStandardsData& record) {
  if (record.initialize(&in.db, in.standard, in.caller, &in.macroData) != Acad::eOk) {
    std::cerr << "korvane evaluate: the macro file holds no macro\n";
    return krv::tools::kExitInput;
  }
  if (const Krv_Macro* m = in.db.macro()) {
    Krv_StringArray names;
    m->getGeneralVariables(names);
    for (int i = 0; i < names.length(); ++i) {
      double v = 0;
      m->generalVariableValue(names[i], v);
      record.mGenVarNames.append(names[i]);
      record.mGenVarValues.append(Krv_String(v, 6, true));
    }
  }
  for (const std::string& g : o.genVars) {
    const auto eq = g.find('=');
    if (eq == std::string::npos || eq == 0) {
      std::cerr << "korvane evaluate: --genvar needs NAME=VALUE, not " << g << "\n";
      return krv::tools::kExitUsage;
    }
    const Krv_String name(g.substr(0, eq)), value(g.substr(eq + 1));
    const int at = record.mGenVarNames.find(name, false);
    if (at >= 0) {
      record.mGenVarValues.setAt(at, value);
    } else {
      record.mGenVarNames.append(name);
      record.mGenVarValues.append(value);
    }
  }
  return krv::tools::kExitOk;
}

// Empty when the macro's values can be read and written: the record names a
// module group, or the standard's mapping file holds the caller's key.
// Otherwise why not.
std::string mappingProblem(const Inputs& in, const VtDlgStandardsData& record) {
  if (record.hasModuleGroup()) return {};
  const auto check = krv::standards::checkMappingKey(in.standard, in.caller);
  switch (check.outcome) {
    case krv::standards::MappingKeyCheck::kFound:
      return {};
    case krv::standards::MappingKeyCheck::kNoFile:
      return "no mapping file " + quotedPath(check.mappingFile);
    case krv::standards::MappingKeyCheck::kNoKey:
      break;
  }
  return "the mapping file " + quotedPath(check.mappingFile) + " has no key " + narrow(in.caller);
}

void printInputs(const Options& o, const Inputs& in, const VtDlgStandardsData& record,
                 const std::string& mappingProblem) {
  std::cout << "Standard : " << quotedPath(in.sheetPath) << "\n";
  std::cout << "Macro    : " << shellQuoted(o.macro) << "  ("
            << (record.hasModuleGroup() ? "module group " + narrow(record.mModuleGroup)
                                        : "caller key " + narrow(in.caller))
            << ")\n";
  if (!record.mGenVarNames.isEmpty()) {
    std::cout << "General variables:";
    for (int i = 0; i < record.mGenVarNames.length(); ++i)
      std::cout << (i ? ", " : " ") << narrow(record.mGenVarNames[i]) << "="
                << narrow(record.mGenVarValues[i]);
    std::cout << "\n";
  }
  if (!mappingProblem.empty())
    std::cout << "Warning  : " << mappingProblem << "; no macro values can be read or written\n";
}

// What a run of the engine gave.
struct RunOutcome {
  bool ok = false;
  Krv_String failure;  // why it failed, in words
  double milliseconds = 0;
  std::vector<std::pair<std::wstring, std::wstring>> messages;  // caption, text
};

// Runs the engine on the record as the product's modules do, with the
// module loaded from its resource folder and message boxes recorded.
RunOutcome runEngine(const Options& o, VtDlgStandardsData& record) {
  RunOutcome run;
  RecordingUserInterface ui;
  krv::win::ScopedUserInterface useUi(ui);
  const fs::path resources = krv::frame::moduleResourceFolder();
  krv::frame::loadModule(resources);
  krv::standards::resetStandardsTimers();
  krv::standards::CalcTraceSink previous;
  if (o.trace) {
    std::cout << "\nEvaluation:\n";
    previous = krv::standards::setCalcTraceSink(printTrace);
  }
  const auto t0 = std::chrono::steady_clock::now();
  run.ok = StartDlgStandardsSS(record);
  run.failure = krv::standards::lastCalcFailure().isEmpty() ? Krv_String(L"no reason given")
                                                            : krv::standards::lastCalcFailure();
  const auto t1 = std::chrono::steady_clock::now();
  run.milliseconds = std::chrono::duration<double, std::milli>(t1 - t0).count();
  if (o.trace) krv::standards::setCalcTraceSink(previous);
  gSSDlgsMgr.destroyAll();
  krv::frame::unloadModule();
  run.messages = std::move(ui.messages);
  return run;
}

// The variables table: every variable cell with its value before (read
// through the mapping from the untouched macro) and after.
void printVariables(Inputs& in, const VtDlgStandardsData& record, bool mappingOk, bool runOk) {
  Krv_DbMacro before = in.original;
  VtDlgStandardsData beforeRecord = record;
  beforeRecord.mDbMacro = &before;
  beforeRecord.mMacroData = &in.originalData;
  VtSSMapping mapping = record.mVarCells.mapping();

  // Without the macro's values there is nothing to show before, and the
  // values computed from the sheet's own texts were never written.
  std::vector<std::vector<std::string>> table;
  if (mappingOk)
    table.push_back({"kind", "type", "name", "before", "after"});
  else
    table.push_back({"kind", "type", "name"});
  for (int i = 0; i < record.mVarCells.length(); ++i) {
    const VtVarCell& c = record.mVarCells[i];
    // Names and values come from files: shown escaped, whole.
    std::vector<std::string> row = {kindName(c), typeName(c.valueType()),
                                    krv::base::displayText(narrow(c.name()), 0)};
    if (mappingOk) {
      Krv_String was;
      if (!c.isLocal()) {
        VtValueType type = c.valueType();
        if (mapping.getMacroVarValue(c.name(), type, was, beforeRecord) != Acad::eOk) was = L"?";
      }
      row.push_back(krv::base::displayText(narrow(was), 0));
      row.push_back(krv::base::displayText(narrow(c.value()), 0));
    }
    table.push_back(std::move(row));
  }
  std::cout << "\nVariables:\n";
  printTable(table);
  if (!runOk) std::cout << "  (the evaluation failed; the variables are those passed in)\n";
  if (!mappingOk) std::cout << "  (no values were read from the macro or written into it)\n";
}

void printMessages(const RunOutcome& run) {
  std::cout << "\nMessages (" << run.messages.size() << "):\n";
  for (const auto& [caption, text] : run.messages) {
    std::string body = narrow(Krv_String(text));
    std::string line;
    std::istringstream lines(body);
    bool first = true;
    while (std::getline(lines, line)) {
      std::cout << (first ? "  - " : "    ") << krv::base::displayText(line, 0) << "\n";
      first = false;
    }
  }
}

// The result line; writes the changed macro when the run succeeded and its
// values reached the macro. Gives the exit code.
int writeResult(const Options& o, Inputs& in, const RunOutcome& run,
                const std::string& mappingProblem) {
  if (!run.ok) {
    const std::string sheetFile = krv::core::osPath(in.sheetPath).string();
    std::cout << "Result   : the evaluation failed: "
              << krv::tools::withQuotedPaths(narrow(run.failure), {sheetFile})
              << "\n           the macro file was not changed\n";
    return krv::tools::kExitFailed;
  }
  if (!mappingProblem.empty()) {
    std::cout << "Result   : " << mappingProblem << "; the macro file was not changed\n";
    return krv::tools::kExitInput;
  }
  const std::string target = o.out.empty() ? o.macro : o.out;
  std::string error;
  if (!krv::base::reportTo(
          krv::core::writeMacroFile(Krv_String(target), in.db, in.macroData, in.macroSource),
          error)) {
    std::cout << "Result   : evaluated, but writing " << shellQuoted(target)
              << " failed: " << krv::tools::withQuotedPaths(error, {target}) << "\n";
    return krv::tools::kExitOutput;
  }
  std::cout << "Result   : evaluated; the macro was written to " << shellQuoted(target) << "\n";
  return krv::tools::kExitOk;
}

int evaluate(Options o) {
  Inputs in;
  if (const int code = resolveInputs(o, in); code != krv::tools::kExitOk) return code;
  AcTransaction transaction;
  VtDlgStandardsData record;
  if (const int code = buildRecord(o, in, record); code != krv::tools::kExitOk) return code;
  record.mTransaction = &transaction;
  const std::string problem = mappingProblem(in, record);
  printInputs(o, in, record, problem);

  const RunOutcome run = runEngine(o, record);

  printVariables(in, record, problem.empty(), run.ok);
  printMessages(run);
  if (o.timers) printTimers();
  std::cout << "\n";
  std::cout << "Evaluated in " << std::fixed << std::setprecision(3) << run.milliseconds << " ms\n";
  std::cout.unsetf(std::ios::fixed);
  return writeResult(o, in, run, problem);
}

}  // namespace

KRV_COMMAND([](CLI::App& app) {
  auto o = std::make_shared<Options>();
  auto* sub = app.add_subcommand("evaluate",
                                 "Evaluate a connection standard for a macro (without arguments: "
                                 "the sample end plate standard)");
  sub->add_option("standard", o->standard,
                  "the standard: a name below 'Connection Standards' or the path of a .vts file "
                  "(its mapping file lies beside it: same name, extension .map)");
  sub->add_option("--macro", o->macro, "the macro file (JSON) read and written");
  auto* caller = sub->add_option("--caller", o->caller,
                                 "the key of the mapping file (default: the macro's name)");
  sub->add_option("--module-group", o->moduleGroup, "evaluate for a module group by direct names")
      ->excludes(caller);
  sub->add_option("--library", o->library, "the library folder (default: examples/library)");
  sub->add_option("--genvar", o->genVars, "a general variable NAME=VALUE (repeatable)");
  sub->add_option("--out", o->out, "write the changed macro here instead of back into --macro");
  sub->add_flag("--trace", o->trace,
                "print each equation cell as it is evaluated, and why a child call failed");
  sub->add_flag("--timers", o->timers, "print the engine's timers");
  sub->callback([o] { krv::tools::setExitCode(evaluate(*o)); });
});
