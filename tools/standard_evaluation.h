#pragma once
// The evaluation of a connection standard for a macro, as the product's
// modules run it (through StartDlgStandardsSS): the macro's values are read
// through the standard's mapping for the caller's key (or by direct names
// for a module group), the standard's equations are evaluated, and the
// outputs are written into the macro. The report goes to `out`: the inputs,
// every variable cell with its value before and after, the messages the
// engine raised, optionally the trace of each equation and the engine's
// timers, and the result line; refusals of the inputs go to `err`. The
// macro file is left untouched when the evaluation fails.
//
// A standard given by name is read from the library's "Connection
// Standards" folder, with its mapping file there; a standard given as the
// path of a sheet file has its mapping file beside it (same base name,
// extension .map).
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace krv::tools {

struct EvaluateOptions {
  std::string standard;              // a name below "Connection Standards" or a sheet file's path
  std::string macro;                 // the macro file read and written
  std::string caller;                // the mapping file's key (default: the macro's name)
  std::string moduleGroup;           // evaluate for a module group by direct names instead
  std::string library;               // the library folder (default: examples/library)
  std::vector<std::string> genVars;  // NAME=VALUE, replacing the macro's values
  std::string out;                   // write the changed macro here instead of into `macro`
  bool trace = false;                // report each equation as it is evaluated
  bool timers = false;               // report the engine's timers
};

// Runs the evaluation and gives the exit code (tools/exit_codes.h). Without
// standard and macro it evaluates the sample standard "EndPlate" for the
// library's sample macro and writes the result to a temporary file. The
// module is loaded for the run and unloaded after it, unless it was loaded
// already (then it stays loaded).
int evaluateStandard(EvaluateOptions options, std::ostream& out, std::ostream& err);

// The library folder: as given; else "examples/library" below the current
// folder or two folders above the program (a build tree in the checkout).
std::filesystem::path libraryFolder(const std::string& given);

}  // namespace krv::tools
