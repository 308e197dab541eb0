#include "platform/sheet/formula_number_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/sheet/date_text.h"

namespace krv::sheet {

std::string formatGeneral(double v) {
  if (v == 0 || !std::isfinite(v)) return "0";
  char buf[48];
  if (std::fabs(v) < 1e15 && v == std::trunc(v)) {
    auto res = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(v));
    return std::string(buf, res.ptr);
  }
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
  std::string s(buf, res.ptr);
  size_t e = s.find('e');
  if (e != std::string::npos) {
    // 1.5e+20 -> 1.5E+20; two exponent digits at least, as shown by sheets.
    std::string mant = s.substr(0, e);
    char sign = s[e + 1];
    std::string digits = s.substr(e + 2);
    while (digits.size() > 2 && digits[0] == '0') digits.erase(0, 1);
    s = mant + "E" + sign + digits;
  }
  return s;
}

namespace {

// The power of ten of the first significant digit of a plain number text
// such as "-0.0012e5" (-3 + 5 = 2); 0 for zero.
long long decimalMagnitude(std::string_view clean) {
  size_t i = (!clean.empty() && (clean[0] == '+' || clean[0] == '-')) ? 1 : 0;
  const size_t mantissaEnd = std::min(clean.find('e'), clean.size());
  const size_t point = std::min(clean.find('.'), mantissaEnd);
  while (i < mantissaEnd && (clean[i] == '0' || clean[i] == '.')) ++i;
  if (i == mantissaEnd) return 0;
  long long magnitude =
      i < point ? static_cast<long long>(point - i) - 1 : -static_cast<long long>(i - point);
  long long exponent = 0;
  size_t j = mantissaEnd + 1;
  const bool negative = j < clean.size() && clean[j] == '-';
  if (j < clean.size() && (clean[j] == '+' || clean[j] == '-')) ++j;
  for (; j < clean.size() && exponent < 1000000; ++j) exponent = exponent * 10 + (clean[j] - '0');
  return magnitude + (negative ? -exponent : exponent);
}

}  // namespace

std::optional<double> parseNumberText(std::string_view t) {
  size_t b = 0, e = t.size();
  while (b < e && (t[b] == ' ' || t[b] == '\t')) ++b;
  while (e > b && (t[e - 1] == ' ' || t[e - 1] == '\t')) --e;
  t = t.substr(b, e - b);
  if (t.empty()) return std::nullopt;
  bool percent = false;
  if (t.back() == '%') {
    percent = true;
    t.remove_suffix(1);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  }
  std::string clean;
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) clean.push_back(t[i++]);
  if (i < t.size() && t[i] == '$') ++i;
  if (clean.empty() && i < t.size() && (t[i] == '+' || t[i] == '-')) clean.push_back(t[i++]);
  // Integer part, optionally with thousands separators in groups of three.
  size_t intStart = i;
  int groupLen = -1;
  bool sawComma = false;
  while (i < t.size() && (std::isdigit(static_cast<unsigned char>(t[i])) || t[i] == ',')) {
    if (t[i] == ',') {
      if (i == intStart || (sawComma && groupLen != 3)) return std::nullopt;
      sawComma = true;
      groupLen = 0;
    } else {
      clean.push_back(t[i]);
      if (sawComma) ++groupLen;
    }
    ++i;
  }
  if (sawComma && groupLen != 3) return std::nullopt;
  bool digits = i > intStart;
  if (i < t.size() && t[i] == '.') {
    clean.push_back('.');
    ++i;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) {
      clean.push_back(t[i++]);
      digits = true;
    }
  }
  if (!digits) return std::nullopt;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    clean.push_back('e');
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) clean.push_back(t[i++]);
    size_t expStart = i;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) clean.push_back(t[i++]);
    if (i == expStart) return std::nullopt;
  }
  if (i != t.size()) return std::nullopt;
  double v = 0;
  const char* begin = clean.data() + (clean[0] == '+' ? 1 : 0);
  const auto res = std::from_chars(begin, clean.data() + clean.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    // Too small for a double reads as 0; too large is no number.
    if (decimalMagnitude(clean) > 0) return std::nullopt;
    v = 0;
  } else if (res.ec != std::errc() || !std::isfinite(v)) {
    return std::nullopt;
  }
  return percent ? v / 100.0 : v;
}

namespace {

// The 15 significant digits of |v| and the decimal exponent of the first.
struct Digits {
  char d[15];
  int exp10;
};

Digits decompose(double v) {
  char buf[48];
  auto res =
      std::to_chars(buf, buf + sizeof buf - 1, std::fabs(v), std::chars_format::scientific, 14);
  *res.ptr = '\0';
  Digits r;
  r.d[0] = buf[0];
  std::memcpy(r.d + 1, buf + 2, 14);
  r.exp10 = std::atoi(std::strchr(buf, 'e') + 1);
  return r;
}

}  // namespace

double roundDecimal(double v, int digits, RoundMode mode) {
  if (v == 0 || !std::isfinite(v)) return v;
  if (digits > 308) digits = 308;
  if (digits < -308) digits = -308;
  Digits d = decompose(v);
  int keep = d.exp10 + 1 + digits;  // significant digits that survive
  if (keep >= 15) return v;
  bool up = false;
  long long kept = 0;
  if (keep < 0) {
    up = (mode == RoundMode::Up);
    keep = 0;
  } else {
    for (int i = 0; i < keep; ++i) kept = kept * 10 + (d.d[i] - '0');
    if (mode == RoundMode::HalfAway) {
      up = d.d[keep] >= '5';
    } else if (mode == RoundMode::Up) {
      for (int i = keep; i < 15; ++i)
        if (d.d[i] != '0') up = true;
    }
  }
  if (up) ++kept;
  char buf[64];
  char* p = std::to_chars(buf, buf + 32, kept).ptr;
  *p++ = 'e';
  p = std::to_chars(p, buf + sizeof buf, -digits).ptr;
  double r = 0;
  std::from_chars(buf, p, r);
  if (v < 0) r = -r;
  return r == 0 ? 0.0 : r;
}

double toDisplayPrecision(double v) {
  if (v == 0 || !std::isfinite(v)) return v;
  char buf[48];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
  double r = v;
  std::from_chars(buf, res.ptr, r);
  return r;
}

namespace {

std::string groupThousands(const std::string& intDigits) {
  std::string out;
  int n = static_cast<int>(intDigits.size());
  for (int i = 0; i < n; ++i) {
    out.push_back(intDigits[i]);
    int rest = n - 1 - i;
    if (rest > 0 && rest % 3 == 0) out.push_back(',');
  }
  return out;
}

// |v| rounded to `decimals` decimals as plain digits "123.45".
std::string fixedDigits(double v, int decimals) {
  double r = std::fabs(roundDecimal(v, decimals, RoundMode::HalfAway));
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", decimals < 0 ? 0 : decimals, r);
  return buf;
}

}  // namespace

std::string formatFixedText(double v, int decimals, ThousandsSeparators separators) {
  if (decimals > 127) decimals = 127;
  std::string s = fixedDigits(v, decimals);
  double rounded = roundDecimal(v, decimals, RoundMode::HalfAway);
  size_t dot = s.find('.');
  std::string ip = dot == std::string::npos ? s : s.substr(0, dot);
  std::string fp = dot == std::string::npos ? "" : s.substr(dot);
  if (separators == ThousandsSeparators::With) ip = groupThousands(ip);
  return (rounded < 0 ? "-" : "") + ip + fp;
}

namespace {

std::vector<std::string> splitSections(std::string_view p) {
  std::vector<std::string> out(1);
  bool quoted = false;
  for (size_t i = 0; i < p.size(); ++i) {
    char c = p[i];
    if (c == '"') quoted = !quoted;
    if (!quoted && c == '\\' && i + 1 < p.size()) {
      out.back().push_back(c);
      out.back().push_back(p[++i]);
      continue;
    }
    if (!quoted && c == ';') {
      out.emplace_back();
      continue;
    }
    out.back().push_back(c);
  }
  return out;
}

// What a number section's pattern asks for, read before anything is
// written.
struct SectionLayout {
  int intZeros = 0;        // integer placeholders that show a digit even for 0 ("0", "?")
  int intDigits = 0;       // all integer placeholders
  int fracDigits = 0;      // fraction placeholders
  int fracZeros = 0;       // fraction digits always shown (up to the last "0" or "?")
  int expDigits = 0;       // exponent placeholders
  bool thousands = false;  // a comma between integer placeholders
  bool sci = false;        // an exponent "E+" or "E-"
  bool expPlus = false;    // "E+": a "+" before a positive exponent
  int percents = 0;        // each "%" multiplies by 100
  int trailingCommas = 0;  // each comma after the last integer placeholder divides by 1000
};

SectionLayout scanSection(const std::string& pat) {
  SectionLayout l;
  bool dot = false, quoted = false, anyDigit = false;
  for (size_t i = 0; i < pat.size(); ++i) {
    char c = pat[i];
    if (quoted) {
      if (c == '"') quoted = false;
      continue;
    }
    if (c == '"') {
      quoted = true;
      continue;
    }
    if (c == '\\') {
      ++i;
      continue;
    }
    if (l.sci) {
      if (c == '0' || c == '#') ++l.expDigits;
      continue;
    }
    if (c == '0' || c == '#' || c == '?') {
      anyDigit = true;
      l.trailingCommas = 0;
      if (dot) {
        ++l.fracDigits;
        if (c != '#') l.fracZeros = l.fracDigits;
      } else {
        ++l.intDigits;
        if (c != '#') ++l.intZeros;
      }
    } else if (c == '.') {
      dot = true;
    } else if (c == ',') {
      if (anyDigit && !dot) {
        // A comma between digit placeholders groups thousands; commas after
        // the last digit placeholder scale by 1000 each.
        bool digitAfter = false;
        for (size_t k = i + 1; k < pat.size() && pat[k] != '.' && pat[k] != 'E' && pat[k] != 'e';
             ++k)
          if (pat[k] == '0' || pat[k] == '#' || pat[k] == '?') digitAfter = true;
        if (digitAfter)
          l.thousands = true;
        else
          ++l.trailingCommas;
      }
    } else if (c == '%') {
      ++l.percents;
    } else if ((c == 'E' || c == 'e') && i + 1 < pat.size() &&
               (pat[i + 1] == '+' || pat[i + 1] == '-')) {
      l.sci = true;
      l.expPlus = pat[i + 1] == '+';
      ++i;
    }
  }
  return l;
}

// The digits of |v| as a layout shows them: the integer part (grouped,
// padded to its zeros, empty for 0), the fraction digits and the exponent.
struct SectionDigits {
  std::string ip, fp;
  int exponent = 0;
  bool isZero = false;  // the shown number is 0 (no minus sign)
};

SectionDigits sectionDigits(double v, const SectionLayout& l) {
  SectionDigits d;
  double x = std::fabs(v);
  for (int k = 0; k < l.percents; ++k) x *= 100;
  for (int k = 0; k < l.trailingCommas; ++k) x /= 1000;
  if (l.sci && x != 0) {
    int intPlaces = l.intDigits > 0 ? l.intDigits : 1;
    d.exponent = static_cast<int>(std::floor(std::log10(x)));
    d.exponent -= (intPlaces - 1);
    x /= std::pow(10.0, d.exponent);
    double chk = roundDecimal(x, l.fracDigits, RoundMode::HalfAway);
    if (chk >= std::pow(10.0, intPlaces)) {
      d.exponent += intPlaces;
      x /= std::pow(10.0, intPlaces);
    }
  }
  std::string digits = fixedDigits(x, l.fracDigits);
  size_t dp = digits.find('.');
  d.ip = dp == std::string::npos ? digits : digits.substr(0, dp);
  d.fp = dp == std::string::npos ? "" : digits.substr(dp + 1);
  if (d.ip == "0") d.ip.clear();
  while (static_cast<int>(d.ip.size()) < l.intZeros) d.ip.insert(d.ip.begin(), '0');
  while (static_cast<int>(d.fp.size()) > l.fracZeros && !d.fp.empty() && d.fp.back() == '0')
    d.fp.pop_back();
  if (l.thousands) d.ip = groupThousands(d.ip);
  d.isZero = roundDecimal(x, l.fracDigits, RoundMode::HalfAway) == 0;
  return d;
}

// Writes the pattern's literals and the number. The integer digits go
// where the first integer placeholder is; the fraction where the dot is.
std::string renderSection(const std::string& pat, const SectionLayout& l, const SectionDigits& d,
                          bool negSign) {
  std::string out;
  if (negSign && !d.isZero) out.push_back('-');
  bool intWritten = false, expWritten = false;
  bool quoted = false;
  bool inSci = false;
  size_t fracPos = 0;
  for (size_t i = 0; i < pat.size(); ++i) {
    char c = pat[i];
    if (quoted) {
      if (c == '"')
        quoted = false;
      else
        out.push_back(c);
      continue;
    }
    if (c == '"') {
      quoted = true;
      continue;
    }
    if (c == '\\' && i + 1 < pat.size()) {
      out.push_back(pat[++i]);
      continue;
    }
    if (inSci) {
      if ((c == '0' || c == '#') && !expWritten) {
        expWritten = true;
        char eb[32];
        std::snprintf(eb, sizeof eb, "%0*d", std::min(l.expDigits, 8), std::abs(d.exponent));
        out += eb;
      } else if (c != '0' && c != '#') {
        out.push_back(c);
      }
      continue;
    }
    if (c == '0' || c == '#' || c == '?') {
      bool inFrac = false;
      for (size_t k = 0; k < i; ++k)
        if (pat[k] == '.') inFrac = true;
      if (!inFrac) {
        if (!intWritten) {
          out += d.ip;
          intWritten = true;
        }
      } else {
        if (fracPos < d.fp.size())
          out.push_back(d.fp[fracPos]);
        else if (c == '?')
          out.push_back(' ');
        ++fracPos;
      }
      continue;
    }
    if (c == '.') {
      if (!intWritten) {
        out += d.ip;
        intWritten = true;
      }
      out.push_back('.');
      continue;
    }
    if (c == ',') continue;
    if ((c == 'E' || c == 'e') && l.sci && i + 1 < pat.size() &&
        (pat[i + 1] == '+' || pat[i + 1] == '-')) {
      out.push_back('E');
      if (d.exponent < 0)
        out.push_back('-');
      else if (l.expPlus)
        out.push_back('+');
      ++i;
      inSci = true;
      continue;
    }
    out.push_back(c);
  }
  return out;
}

// Formats |v| with one section: scans the pattern, computes the digits,
// then writes them into the pattern. `negSign` puts a "-" in front.
std::optional<std::string> formatSection(double v, const std::string& pat, bool negSign) {
  const SectionLayout layout = scanSection(pat);
  if (layout.percents > 3) return std::nullopt;
  return renderSection(pat, layout, sectionDigits(v, layout), negSign);
}

}  // namespace

namespace {

// One section: date and time codes format the value as a date serial
// number (a negative one only through a section of its own, without sign).
std::optional<std::string> formatAnySection(double v, const std::string& pat, bool negSign) {
  if (!isDateTimeSection(pat)) return formatSection(v, pat, negSign);
  if (negSign && v < 0) return std::nullopt;
  return formatDateTimeSection(std::fabs(v), pat);
}

}  // namespace

std::optional<std::string> formatNumberPattern(double v, std::string_view pattern) {
  if (pattern.size() > 255) return std::nullopt;
  std::vector<std::string> sections = splitSections(pattern);
  if (sections.size() > 4) return std::nullopt;
  std::string first = sections[0];
  for (char& c : first) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (first == "general" || first.empty()) return formatGeneral(v);
  if (v < 0 && sections.size() >= 2) return formatAnySection(v, sections[1], false);
  if (v == 0 && sections.size() >= 3) return formatAnySection(v, sections[2], false);
  return formatAnySection(v, sections[0], v < 0);
}

}  // namespace krv::sheet
