#pragma once
#include <string>

// The exit codes of the program, the same for every subcommand. The help
// text and the README list them from here.
namespace krv::tools {

// The job was done.
inline constexpr int kExitOk = 0;
// The job ran and failed: an evaluation failed, a formula was refused, a
// registration was left incomplete.
inline constexpr int kExitFailed = 1;
// Bad usage: an unknown subcommand or option, a missing, surplus or
// malformed argument, options that exclude each other.
inline constexpr int kExitUsage = 2;
// An input cannot be used: a file or folder is missing, unreadable or
// malformed, or lacks what the job needs (a mapping file or key).
inline constexpr int kExitInput = 3;
// A result could not be written; the previous file is left whole.
inline constexpr int kExitOutput = 4;

// The table of the codes for --help.
std::string exitCodeHelp();

}  // namespace krv::tools
