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
#include <iostream>
#include <memory>

#include "tools/command_registry.h"
#include "tools/standard_evaluation.h"

KRV_COMMAND([](CLI::App& app) {
  auto o = std::make_shared<krv::tools::EvaluateOptions>();
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
  sub->callback(
      [o] { krv::tools::setExitCode(krv::tools::evaluateStandard(*o, std::cout, std::cerr)); });
});
