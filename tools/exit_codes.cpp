#include "tools/exit_codes.h"

namespace krv::tools {

std::string exitCodeHelp() {
  const struct {
    int code;
    const char* meaning;
  } codes[] = {
      {kExitOk, "done"},
      {kExitFailed,
       "the job failed (an evaluation failed, a formula was refused, a registration is "
       "incomplete)"},
      {kExitUsage, "bad usage (unknown subcommand or option, missing or conflicting arguments)"},
      {kExitInput,
       "an input cannot be used (a file or folder missing, unreadable or malformed; no mapping)"},
      {kExitOutput, "a result could not be written (the previous file is left whole)"},
  };
  std::string text = "Exit codes (the same for every subcommand):\n";
  for (const auto& c : codes) text += "  " + std::to_string(c.code) + "  " + c.meaning + "\n";
  return text;
}

}  // namespace krv::tools
