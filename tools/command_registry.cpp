// The list of subcommands that register themselves.
#include "tools/command_registry.h"

namespace krv::tools {

std::vector<CommandSetup>& commandRegistry() {
  static std::vector<CommandSetup> r;
  return r;
}

namespace {
int gExitCode = 0;
}
void setExitCode(int code) { gExitCode = code; }
int exitCode() { return gExitCode; }

}  // namespace krv::tools
