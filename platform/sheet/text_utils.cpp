#include "platform/sheet/text_utils.h"

namespace krv::sheet {

std::u32string toCodePoints(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (extra <= 0 || i + static_cast<size_t>(extra) >= s.size()) {
      out.push_back(c);
      ++i;
      continue;
    }
    char32_t cp = c & (0x3F >> extra);
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      unsigned char d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (d & 0x3F);
    }
    if (!ok) {
      out.push_back(c);
      ++i;
      continue;
    }
    out.push_back(cp);
    i += extra + 1;
  }
  return out;
}

std::string toUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) appendUtf8(out, c);
  return out;
}

size_t charCount(std::string_view text) {
  bool ascii = true;
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
  }
  return ascii ? text.size() : toCodePoints(text).size();
}

char32_t foldCase(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) {
    bool evenUpper = (c < 0x138) || (c > 0x149 && c < 0x178);
    if (evenUpper) return (c % 2 == 0) ? c + 1 : c;
    if (c == 0x178) return 0xFF;
    return (c % 2 == 1) ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

char32_t upperCase(char32_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) {
    bool evenUpper = (c < 0x138) || (c > 0x149 && c < 0x178);
    if (evenUpper) return (c % 2 == 1) ? c - 1 : c;
    return (c % 2 == 0 && c != 0x178) ? c - 1 : c;
  }
  if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 32;
  if (c >= 0x430 && c <= 0x44F) return c - 32;
  if (c >= 0x450 && c <= 0x45F) return c - 80;
  return c;
}

std::string lowerText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : toCodePoints(text)) appendUtf8(out, foldCase(c));
  return out;
}

std::string upperText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : toCodePoints(text)) appendUtf8(out, upperCase(c));
  return out;
}

int compareNoCase(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  size_t i = 0;
  for (; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 0x80 || y >= 0x80) break;
    x = static_cast<unsigned char>(foldCase(x));
    y = static_cast<unsigned char>(foldCase(y));
    if (x != y) return x < y ? -1 : 1;
  }
  if (i == n) return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
  std::u32string ua = toCodePoints(a.substr(i)), ub = toCodePoints(b.substr(i));
  size_t m = ua.size() < ub.size() ? ua.size() : ub.size();
  for (size_t k = 0; k < m; ++k) {
    char32_t x = foldCase(ua[k]), y = foldCase(ub[k]);
    if (x != y) return x < y ? -1 : 1;
  }
  return ua.size() == ub.size() ? 0 : (ua.size() < ub.size() ? -1 : 1);
}

bool equalNoCase(std::string_view a, std::string_view b) { return compareNoCase(a, b) == 0; }

bool hasWildcards(std::string_view p) {
  return p.find_first_of("*?~") != std::string_view::npos;
}

bool wildcardMatch(std::u32string_view p, std::u32string_view t) {
  // Iterative matcher with back-tracking to the last star: linear memory,
  // no recursion, whatever the pattern.
  size_t pi = 0, ti = 0, starP = std::u32string_view::npos, starT = 0;
  while (ti < t.size()) {
    if (pi < p.size() && p[pi] == U'*') {
      starP = ++pi;
      starT = ti;
      continue;
    }
    if (pi < p.size()) {
      char32_t pc = p[pi];
      size_t step = 1;
      bool any = false;
      if (pc == U'~' && pi + 1 < p.size() && (p[pi + 1] == U'*' || p[pi + 1] == U'?' || p[pi + 1] == U'~')) {
        pc = p[pi + 1];
        step = 2;
      } else if (pc == U'?') {
        any = true;
      }
      if (any || foldCase(pc) == foldCase(t[ti])) {
        pi += step;
        ++ti;
        continue;
      }
    }
    if (starP == std::u32string_view::npos) return false;
    pi = starP;
    ti = ++starT;
  }
  while (pi < p.size() && p[pi] == U'*') ++pi;
  return pi == p.size();
}

namespace {
// Windows-1252 codes 0x80..0x9F.
const char32_t kAnsi80[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                              0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
}  // namespace

int ansiCode(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (int i = 0; i < 32; ++i)
    if (kAnsi80[i] == c) return 0x80 + i;
  return 0;
}

char32_t ansiChar(int code) {
  if (code >= 0x80 && code < 0xA0) return kAnsi80[code - 0x80];
  return static_cast<char32_t>(code);
}

}  // namespace krv::sheet
