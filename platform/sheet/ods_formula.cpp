#include "platform/sheet/ods_formula.h"

#include <cctype>

namespace krv::sheet {

namespace {

// One part of a bracketed reference: ".A1", "$Sheet1.A1", "'My sheet'.A1".
std::string referencePart(std::string_view part) {
  if (part.starts_with('.')) return std::string(part.substr(1));
  // The sheet name ends at the last dot outside quotes.
  std::size_t dot = std::string_view::npos;
  bool quoted = false;
  for (std::size_t i = 0; i < part.size(); ++i) {
    if (part[i] == '\'') quoted = !quoted;
    if (part[i] == '.' && !quoted) dot = i;
  }
  if (dot == std::string_view::npos) return std::string(part);
  std::string_view sheet = part.substr(0, dot);
  if (sheet.starts_with('$')) sheet.remove_prefix(1);
  return std::string(sheet) + "!" + std::string(part.substr(dot + 1));
}

}  // namespace

std::optional<std::string> odsFormulaToA1(std::string_view f) {
  for (std::string_view ns : {"of:", "oooc:", "msoxl:"}) {
    if (f.starts_with(ns)) {
      f.remove_prefix(ns.size());
      break;
    }
  }
  std::string out;
  out.reserve(f.size());
  int braces = 0;
  for (std::size_t i = 0; i < f.size();) {
    const char ch = f[i];
    if (ch == '"') {
      const std::size_t start = i++;
      for (;;) {
        if (i >= f.size()) return std::nullopt;
        if (f[i] == '"') {
          if (i + 1 < f.size() && f[i + 1] == '"') {
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        ++i;
      }
      out.append(f.substr(start, i - start));
      continue;
    }
    if (ch == '[') {
      std::size_t close = i + 1;
      bool quoted = false;
      while (close < f.size() && (quoted || f[close] != ']')) {
        if (f[close] == '\'') quoted = !quoted;
        ++close;
      }
      if (close >= f.size()) return std::nullopt;
      std::string_view ref = f.substr(i + 1, close - i - 1);
      // "A1:B2" parts; a sheet name holds no colon outside quotes.
      std::size_t colon = std::string_view::npos;
      quoted = false;
      for (std::size_t k = 0; k < ref.size(); ++k) {
        if (ref[k] == '\'') quoted = !quoted;
        if (ref[k] == ':' && !quoted) {
          colon = k;
          break;
        }
      }
      if (colon == std::string_view::npos) {
        out += referencePart(ref);
      } else {
        out += referencePart(ref.substr(0, colon));
        out += ':';
        std::string second = referencePart(ref.substr(colon + 1));
        // "Sheet1!A1:Sheet1!B2" is "Sheet1!A1:B2".
        if (auto bang = second.rfind('!'); bang != std::string::npos) second.erase(0, bang + 1);
        out += second;
      }
      i = close + 1;
      continue;
    }
    if (ch == '{') ++braces;
    if (ch == '}' && braces > 0) --braces;
    if (ch == ';') {
      out += ',';  // argument or, in an array, column separator
      ++i;
      continue;
    }
    if (ch == '|' && braces > 0) {
      out += ';';
      ++i;
      continue;
    }
    if (ch == '\'' && braces == 0) {
      // A quoted name outside brackets is copied whole.
      const std::size_t start = i++;
      while (i < f.size() && f[i] != '\'') ++i;
      if (i >= f.size()) return std::nullopt;
      ++i;
      out.append(f.substr(start, i - start));
      continue;
    }
    // Namespaces before function names.
    bool dropped = false;
    if (out.empty() || !(std::isalnum(static_cast<unsigned char>(out.back())) ||
                         out.back() == '.' || out.back() == '_')) {
      for (std::string_view ns : {"COM.MICROSOFT.", "ORG.OPENOFFICE.", "ORG.LIBREOFFICE."}) {
        if (f.substr(i).starts_with(ns)) {
          i += ns.size();
          dropped = true;
          break;
        }
      }
    }
    if (dropped) continue;
    out += ch;
    ++i;
  }
  return out;
}

}  // namespace krv::sheet

namespace krv::sheet {

std::string upperFunctionNames(std::string_view f) {
  std::string out(f);
  auto isName = [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
  };
  char quote = 0;
  std::size_t start = std::string::npos;  // of the name being read
  for (std::size_t i = 0; i < out.size(); ++i) {
    const char c = out[i];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
      start = std::string::npos;
      continue;
    }
    if (isName(c)) {
      if (start == std::string::npos) start = i;
      continue;
    }
    if (c == '(' && start != std::string::npos)
      for (std::size_t k = start; k < i; ++k)
        out[k] = static_cast<char>(std::toupper(static_cast<unsigned char>(out[k])));
    start = std::string::npos;
  }
  return out;
}

}  // namespace krv::sheet
