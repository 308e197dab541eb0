#include "tools/shell_quote.h"

#include <algorithm>
#include <vector>

namespace krv::tools {

namespace {

bool needsNoQuotes(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  switch (c) {
    case '@':
    case '%':
    case '+':
    case '=':
    case ':':
    case ',':
    case '.':
    case '/':
    case '_':
    case '-':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string shellQuoted(std::string_view text) {
  if (!text.empty() && std::all_of(text.begin(), text.end(), needsNoQuotes))
    return std::string(text);
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  quoted += '\'';
  return quoted;
}

std::string shellQuoted(const std::filesystem::path& path) { return shellQuoted(path.string()); }

std::string withQuotedPaths(std::string message, std::initializer_list<std::string> paths) {
  std::vector<std::string> sorted(paths);
  std::sort(sorted.begin(), sorted.end(),
            [](const auto& a, const auto& b) { return a.size() > b.size(); });
  for (const std::string& path : sorted) {
    if (path.empty()) continue;
    const std::string quoted = shellQuoted(path);
    if (quoted == path) continue;
    for (size_t at = message.find(path); at != std::string::npos; at = message.find(path, at)) {
      if (at > 0 && (message[at - 1] == '\'' || message[at - 1] == '"')) {
        at += path.size();
        continue;
      }
      message.replace(at, path.size(), quoted);
      at += quoted.size();
    }
  }
  return message;
}

}  // namespace krv::tools
