#pragma once
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

// Paths as the program prints them: so that a person can paste them into a
// POSIX shell and get the same path back.
namespace krv::tools {

// The text unchanged when it holds only ASCII letters, digits and the
// characters @ % + = : , . / _ -; otherwise between single quotes, each
// single quote inside written as '\''. An empty text gives ''.
std::string shellQuoted(std::string_view text);
inline std::string shellQuoted(const std::string& text) {
  return shellQuoted(std::string_view(text));
}
inline std::string shellQuoted(const char* text) { return shellQuoted(std::string_view(text)); }
std::string shellQuoted(const std::filesystem::path& path);

// A message of a lower layer that names paths as they are: every
// occurrence of one of `paths` that needs quoting is replaced by its quoted
// form (longer paths first, so that a folder inside a file's path does not
// split it). Paths already standing between quotes stay as they are.
std::string withQuotedPaths(std::string message, std::initializer_list<std::string> paths);

}  // namespace krv::tools
