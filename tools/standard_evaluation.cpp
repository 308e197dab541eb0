// The evaluation of a connection standard for a macro, shared by `korvane
// evaluate` and the desktop's "Evaluate standard" entry.
#include "tools/standard_evaluation.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iomanip>
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
#include "tools/exit_codes.h"
#include "tools/shell_quote.h"

namespace krv::tools {

namespace fs = std::filesystem;

// The library folder: as given; else "examples/library" below the current
// folder or two folders above the program (a build tree in the checkout).
std::filesystem::path libraryFolder(const std::string& given) {
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

namespace {

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

const char* kindName(const VtVarCell& c) {
  return c.isInput() ? "Input" : c.isOutput() ? "Output" : "Local";
}
const char* typeName(VtValueType t) { return t == Int ? "Int" : t == Double ? "Double" : "String"; }

void printTrace(std::ostream& out, const krv::standards::CalcTraceEvent& e) {
  const std::string indent(2 + 4 * e.depth, ' ');
  switch (e.kind) {
    case krv::standards::CalcTraceEvent::ChildStart:
      out << indent << "-> child " << quotedPath(e.file) << "\n";
      break;
    case krv::standards::CalcTraceEvent::ChildEnd:
      out << indent << "<- child " << (e.ok ? "done" : "FAILED: " + narrow(e.result)) << "\n";
      break;
    case krv::standards::CalcTraceEvent::Equation:
      out << indent << "row " << std::setw(3) << e.row << "  ";
      if (!e.target.isEmpty()) out << narrow(e.target) << " = ";
      out << narrow(e.expression) << (e.ok ? "  ->  " : "  FAILED: ") << narrow(e.result) << "\n";
      break;
  }
}

void printTimers(std::ostream& out) {
  out << "\nTimers:\n";
  out << "  " << std::left << std::setw(32) << "timer" << std::right << std::setw(8) << "count"
      << std::setw(14) << "total ms" << std::setw(14) << "mean us"
      << "\n";
  for (const Krv_Timer* t : krv::standards::standardsTimers()) {
    out << "  " << std::left << std::setw(32) << narrow(t->name()) << std::right << std::setw(8)
        << t->count() << std::setw(14) << std::fixed << std::setprecision(3) << t->seconds() * 1e3
        << std::setw(14) << std::setprecision(2) << t->meanSeconds() * 1e6 << "\n";
  }
  out.unsetf(std::ios::fixed);
}

// Prints rows of texts as columns as wide as their longest text (counted
// in characters), two blanks apart, each line indented by two blanks.
void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
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
    out << line << "\n";
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
int resolveInputs(EvaluateOptions& o, Inputs& in, std::ostream& err) {
  const bool sample = o.standard.empty() && o.macro.empty();
  const fs::path library = libraryFolder(o.library);
  if (!fs::is_directory(library)) {
    err << "korvane evaluate: no library folder " << shellQuoted(library) << "\n";
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
    err << "korvane evaluate: give a standard and --macro FILE (or no arguments for the sample)\n";
    return krv::tools::kExitUsage;
  }

  in.standard = Krv_String(o.standard);
  in.sheetPath = krv::standards::standardSheetPath(in.standard);
  if (!fileExists(in.sheetPath)) {
    err << "korvane evaluate: no standard " << o.standard << " (looked for "
        << quotedPath(in.sheetPath) << ")\n";
    return krv::tools::kExitInput;
  }

  std::string error;
  if (!krv::base::reportTo(
          krv::core::readMacroFile(Krv_String(o.macro), in.db, in.macroData, &in.macroSource),
          error)) {
    err << "korvane evaluate: " << krv::tools::withQuotedPaths(error, {o.macro}) << "\n";
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
int buildRecord(const EvaluateOptions& o, Inputs& in, VtDlgStandardsData& record,
                std::ostream& err) {
  if (record.initialize(&in.db, in.standard, in.caller, &in.macroData) != Acad::eOk) {
    err << "korvane evaluate: the macro file holds no macro\n";
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
      err << "korvane evaluate: --genvar needs NAME=VALUE, not " << g << "\n";
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

void printInputs(std::ostream& out, const EvaluateOptions& o, const Inputs& in,
                 const VtDlgStandardsData& record, const std::string& mappingProblem) {
  out << "Standard : " << quotedPath(in.sheetPath) << "\n";
  out << "Macro    : " << shellQuoted(o.macro) << "  ("
      << (record.hasModuleGroup() ? "module group " + narrow(record.mModuleGroup)
                                  : "caller key " + narrow(in.caller))
      << ")\n";
  if (!record.mGenVarNames.isEmpty()) {
    out << "General variables:";
    for (int i = 0; i < record.mGenVarNames.length(); ++i)
      out << (i ? ", " : " ") << narrow(record.mGenVarNames[i]) << "="
          << narrow(record.mGenVarValues[i]);
    out << "\n";
  }
  if (!mappingProblem.empty())
    out << "Warning  : " << mappingProblem << "; no macro values can be read or written\n";
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
RunOutcome runEngine(const EvaluateOptions& o, VtDlgStandardsData& record, std::ostream& out) {
  RunOutcome run;
  RecordingUserInterface ui;
  krv::win::ScopedUserInterface useUi(ui);
  const fs::path resources = krv::frame::moduleResourceFolder();
  // A module loaded already (the desktop keeps it loaded) stays loaded.
  const bool loadedHere = krv::frame::loadModule(resources) != nullptr;
  krv::standards::resetStandardsTimers();
  krv::standards::CalcTraceSink previous;
  if (o.trace) {
    out << "\nEvaluation:\n";
    previous = krv::standards::setCalcTraceSink(
        [&out](const krv::standards::CalcTraceEvent& e) { printTrace(out, e); });
  }
  const auto t0 = std::chrono::steady_clock::now();
  run.ok = StartDlgStandardsSS(record);
  run.failure = krv::standards::lastCalcFailure().isEmpty() ? Krv_String(L"no reason given")
                                                            : krv::standards::lastCalcFailure();
  const auto t1 = std::chrono::steady_clock::now();
  run.milliseconds = std::chrono::duration<double, std::milli>(t1 - t0).count();
  if (o.trace) krv::standards::setCalcTraceSink(previous);
  gSSDlgsMgr.destroyAll();
  if (loadedHere) krv::frame::unloadModule();
  run.messages = std::move(ui.messages);
  return run;
}

// The variables table: every variable cell with its value before (read
// through the mapping from the untouched macro) and after.
void printVariables(std::ostream& out, Inputs& in, const VtDlgStandardsData& record, bool mappingOk,
                    bool runOk) {
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
  out << "\nVariables:\n";
  printTable(out, table);
  if (!runOk) out << "  (the evaluation failed; the variables are those passed in)\n";
  if (!mappingOk) out << "  (no values were read from the macro or written into it)\n";
}

void printMessages(std::ostream& out, const RunOutcome& run) {
  out << "\nMessages (" << run.messages.size() << "):\n";
  for (const auto& [caption, text] : run.messages) {
    std::string body = narrow(Krv_String(text));
    std::string line;
    std::istringstream lines(body);
    bool first = true;
    while (std::getline(lines, line)) {
      out << (first ? "  - " : "    ") << krv::base::displayText(line, 0) << "\n";
      first = false;
    }
  }
}

// The result line; writes the changed macro when the run succeeded and its
// values reached the macro. Gives the exit code.
int writeResult(std::ostream& out, const EvaluateOptions& o, Inputs& in, const RunOutcome& run,
                const std::string& mappingProblem) {
  if (!run.ok) {
    const std::string sheetFile = krv::core::osPath(in.sheetPath).string();
    out << "Result   : the evaluation failed: "
        << krv::tools::withQuotedPaths(narrow(run.failure), {sheetFile})
        << "\n           the macro file was not changed\n";
    return krv::tools::kExitFailed;
  }
  if (!mappingProblem.empty()) {
    out << "Result   : " << mappingProblem << "; the macro file was not changed\n";
    return krv::tools::kExitInput;
  }
  const std::string target = o.out.empty() ? o.macro : o.out;
  std::string error;
  if (!krv::base::reportTo(
          krv::core::writeMacroFile(Krv_String(target), in.db, in.macroData, in.macroSource),
          error)) {
    out << "Result   : evaluated, but writing " << shellQuoted(target)
        << " failed: " << krv::tools::withQuotedPaths(error, {target}) << "\n";
    return krv::tools::kExitOutput;
  }
  out << "Result   : evaluated; the macro was written to " << shellQuoted(target) << "\n";
  return krv::tools::kExitOk;
}

}  // namespace

int evaluateStandard(EvaluateOptions o, std::ostream& out, std::ostream& err) {
  Inputs in;
  if (const int code = resolveInputs(o, in, err); code != krv::tools::kExitOk) return code;
  AcTransaction transaction;
  VtDlgStandardsData record;
  if (const int code = buildRecord(o, in, record, err); code != krv::tools::kExitOk) return code;
  record.mTransaction = &transaction;
  const std::string problem = mappingProblem(in, record);
  printInputs(out, o, in, record, problem);

  const RunOutcome run = runEngine(o, record, out);

  printVariables(out, in, record, problem.empty(), run.ok);
  printMessages(out, run);
  if (o.timers) printTimers(out);
  out << "\n";
  out << "Evaluated in " << std::fixed << std::setprecision(3) << run.milliseconds << " ms\n";
  out.unsetf(std::ios::fixed);
  return writeResult(out, o, in, run, problem);
}

}  // namespace krv::tools
