#pragma once
// Runs the built korvane program as a person runs it, for the tests of its
// subcommands: in the checkout's folder, standard output and standard error
// together, with the exit code.
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace krv::tools::test {

struct ProgramRun {
  bool exited = false;  // ended by itself, not by a signal
  int exitCode = -1;    // -1 when it did not end by itself
  std::string output;   // standard output and standard error
};

// A path as one shell word.
inline std::string quoted(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

// Runs the program with `arguments` (already shell words) in the checkout's
// folder; `limits` are shell commands run before it (such as a ulimit),
// `wrapper` a command that runs it (such as a timeout).
inline ProgramRun korvane(const std::string& arguments, const std::string& limits = "",
                          const std::string& wrapper = "") {
  const std::string cmd = "cd " + quoted(KRV_SOURCE_DIR) + " && " +
                          (limits.empty() ? "" : limits + " && ") + "exec " + wrapper + " " +
                          quoted(KORVANE_EXE) + " " + arguments + " 2>&1";
  ProgramRun run;
  FILE* pipe = ::popen(cmd.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
  const int status = ::pclose(pipe);
  run.exited = WIFEXITED(status);
  run.exitCode = run.exited ? WEXITSTATUS(status) : -1;
  return run;
}

inline std::string readBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::filesystem::path& p, const std::string& bytes) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace krv::tools::test
