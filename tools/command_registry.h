#pragma once
#include <CLI/CLI.hpp>
#include <functional>
#include <vector>

// Each subcommand of the program lives in its own file and registers itself
// with KRV_COMMAND; main() adds every registered command to the application.
// A command's setup function adds its subcommand and sets its callback; the
// callback reports its exit status through krv::tools::setExitCode, with
// one of the codes of tools/exit_codes.h.
namespace krv::tools {

using CommandSetup = std::function<void(CLI::App&)>;

std::vector<CommandSetup>& commandRegistry();
void setExitCode(int code);
int exitCode();

struct CommandRegistrar {
  explicit CommandRegistrar(CommandSetup setup) { commandRegistry().push_back(std::move(setup)); }
};

}  // namespace krv::tools

#define KRV_COMMAND_CONCAT2(a, b) a##b
#define KRV_COMMAND_CONCAT(a, b) KRV_COMMAND_CONCAT2(a, b)
#define KRV_COMMAND(fn) \
  static ::krv::tools::CommandRegistrar KRV_COMMAND_CONCAT(krvCommand_, __LINE__)(fn)
