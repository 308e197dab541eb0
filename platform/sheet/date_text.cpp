#include "platform/sheet/date_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace krv::sheet {

namespace {

// One piece of a date and time section.
struct Token {
  enum Kind { Literal, Year, Month, Minute, Day, Hour, Second, ElapsedH, ElapsedM, ElapsedS, AmPm };
  Kind kind = Literal;
  int count = 0;     // letters of the code (mm: 2)
  int fraction = 0;  // Second: decimals of a second
  std::string text;  // Literal: the text; AmPm: the code as written
};

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool startsWithNoCase(std::string_view s, size_t at, std::string_view prefix) {
  if (s.size() - at < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (lower(s[at + i]) != prefix[i]) return false;
  return true;
}

bool isCode(const Token& t) { return t.kind != Token::Literal && t.kind != Token::AmPm; }

// Splits a section into codes and literals; false for an unclosed bracket.
bool tokenize(std::string_view p, std::vector<Token>& out) {
  auto literal = [&](std::string_view text) {
    if (out.empty() || out.back().kind != Token::Literal) out.push_back(Token{});
    out.back().text.append(text);
  };
  size_t i = 0;
  while (i < p.size()) {
    const char c = p[i];
    const char l = lower(c);
    if (c == '"') {
      const size_t end = p.find('"', i + 1);
      const size_t stop = end == std::string_view::npos ? p.size() : end;
      literal(p.substr(i + 1, stop - i - 1));
      i = stop + 1;
      continue;
    }
    if (c == '\\' && i + 1 < p.size()) {
      literal(p.substr(i + 1, 1));
      i += 2;
      continue;
    }
    if (c == '_' && i + 1 < p.size()) {  // the width of the next character
      literal(" ");
      i += 2;
      continue;
    }
    if (c == '*' && i + 1 < p.size()) {  // fill: nothing in a text result
      i += 2;
      continue;
    }
    if (c == '[') {
      const size_t end = p.find(']', i + 1);
      if (end == std::string_view::npos) return false;
      const std::string_view inner = p.substr(i + 1, end - i - 1);
      i = end + 1;
      if (inner.empty()) continue;
      const char first = lower(inner[0]);
      bool same = first == 'h' || first == 'm' || first == 's';
      for (char k : inner) same = same && lower(k) == first;
      if (!same) continue;  // a colour or a locale
      Token t;
      t.kind = first == 'h' ? Token::ElapsedH : first == 'm' ? Token::ElapsedM : Token::ElapsedS;
      t.count = static_cast<int>(inner.size());
      out.push_back(t);
      continue;
    }
    if (startsWithNoCase(p, i, "am/pm") || startsWithNoCase(p, i, "a/p")) {
      Token t;
      t.kind = Token::AmPm;
      t.text = std::string(p.substr(i, lower(p[i + 1]) == 'm' ? 5 : 3));
      i += t.text.size();
      out.push_back(t);
      continue;
    }
    if (l == 'y' || l == 'm' || l == 'd' || l == 'h' || l == 's') {
      size_t j = i;
      while (j < p.size() && lower(p[j]) == l) ++j;
      Token t;
      t.count = static_cast<int>(j - i);
      t.kind = l == 'y'   ? Token::Year
               : l == 'm' ? Token::Month
               : l == 'd' ? Token::Day
               : l == 'h' ? Token::Hour
                          : Token::Second;
      i = j;
      out.push_back(t);
      continue;
    }
    if (c == '.' && i + 1 < p.size() && p[i + 1] == '0' && !out.empty() &&
        (out.back().kind == Token::Second || out.back().kind == Token::ElapsedS)) {
      size_t j = i + 1;
      while (j < p.size() && p[j] == '0') ++j;
      out.back().fraction = static_cast<int>(std::min<size_t>(j - i - 1, 3));
      i = j;
      continue;
    }
    literal(p.substr(i, 1));
    ++i;
  }
  // m and mm are minutes right after an hour code or right before a
  // seconds code (literals between do not count).
  for (size_t k = 0; k < out.size(); ++k) {
    Token& t = out[k];
    if (t.kind != Token::Month || t.count > 2) continue;
    const Token* before = nullptr;
    const Token* after = nullptr;
    for (size_t b = k; b-- > 0;)
      if (isCode(out[b])) {
        before = &out[b];
        break;
      }
    for (size_t a = k + 1; a < out.size(); ++a)
      if (isCode(out[a])) {
        after = &out[a];
        break;
      }
    if ((before && (before->kind == Token::Hour || before->kind == Token::ElapsedH)) ||
        (after && (after->kind == Token::Second || after->kind == Token::ElapsedS)))
      t.kind = Token::Minute;
  }
  return true;
}

struct Date {
  int year, month, day;
};

// Days since 1 January 1970 to a proleptic Gregorian date.
Date civilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return Date{static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

// The date of a whole serial number in the 1900 date system.
Date dateOfSerial(int64_t days) {
  constexpr int64_t k18991231 = -25568;  // days from 1970-01-01
  if (days == 0) return Date{1900, 1, 0};
  if (days == 60) return Date{1900, 2, 29};
  // Before the invented 29 February the count starts one day later.
  return civilFromDays(k18991231 + days - (days > 60 ? 1 : 0));
}

const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};
const char* const kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};

void appendNumber(std::string& out, int64_t v, int width) {
  std::string digits = std::to_string(v);
  if (static_cast<int>(digits.size()) < width) out.append(width - digits.size(), '0');
  out += digits;
}

constexpr double kLastSerial = 2958465;  // 31 December 9999

}  // namespace

bool isDateTimeSection(std::string_view section) {
  std::vector<Token> tokens;
  if (!tokenize(section, tokens)) return false;
  for (const Token& t : tokens)
    if (t.kind != Token::Literal) return true;
  return false;
}

std::optional<std::string> formatDateTimeSection(double serial, std::string_view section) {
  if (!(serial >= 0) || serial >= kLastSerial + 1) return std::nullopt;
  std::vector<Token> tokens;
  if (!tokenize(section, tokens)) return std::nullopt;
  int fraction = 0;
  bool twelveHours = false;
  for (const Token& t : tokens) {
    if (t.kind == Token::Second || t.kind == Token::ElapsedS)
      fraction = std::max(fraction, t.fraction);
    if (t.kind == Token::AmPm) twelveHours = true;
  }
  int64_t scale = 1;
  for (int k = 0; k < fraction; ++k) scale *= 10;
  // The whole value in the finest unit shown, so that rounding carries up.
  const int64_t perDay = 86400 * scale;
  const auto units = static_cast<int64_t>(std::llround(serial * static_cast<double>(perDay)));
  const int64_t days = units / perDay;
  if (days > static_cast<int64_t>(kLastSerial)) return std::nullopt;
  const int64_t inDay = units % perDay;
  const int64_t hour = inDay / (3600 * scale);
  const int64_t minute = inDay / (60 * scale) % 60;
  const int64_t second = inDay / scale % 60;
  const int64_t part = inDay % scale;
  const Date date = dateOfSerial(days);

  std::string out;
  for (const Token& t : tokens) {
    switch (t.kind) {
      case Token::Literal:
        out += t.text;
        break;
      case Token::Year:
        if (t.count <= 2)
          appendNumber(out, date.year % 100, 2);
        else
          appendNumber(out, date.year, 4);
        break;
      case Token::Month:
        if (t.count <= 2)
          appendNumber(out, date.month, t.count);
        else if (t.count == 3)
          out.append(kMonths[date.month - 1], 3);
        else if (t.count == 5)
          out.push_back(kMonths[date.month - 1][0]);
        else
          out += kMonths[date.month - 1];
        break;
      case Token::Day:
        if (t.count <= 2) {
          appendNumber(out, date.day, t.count);
        } else {
          // Serial 1 is a Sunday in this date system.
          const char* name = kWeekdays[(days + 6) % 7];
          if (t.count == 3)
            out.append(name, 3);
          else
            out += name;
        }
        break;
      case Token::Hour: {
        int64_t h = hour;
        if (twelveHours) h = h % 12 == 0 ? 12 : h % 12;
        appendNumber(out, h, std::min(t.count, 2));
        break;
      }
      case Token::Minute:
        appendNumber(out, minute, std::min(t.count, 2));
        break;
      case Token::Second:
      case Token::ElapsedS:
        if (t.kind == Token::Second)
          appendNumber(out, second, std::min(t.count, 2));
        else
          appendNumber(out, units / scale, t.count);
        if (t.fraction > 0) {
          out.push_back('.');
          int64_t shown = part;
          for (int k = t.fraction; k < fraction; ++k) shown /= 10;
          appendNumber(out, shown, t.fraction);
        }
        break;
      case Token::ElapsedH:
        appendNumber(out, units / (3600 * scale), t.count);
        break;
      case Token::ElapsedM:
        appendNumber(out, units / (60 * scale), t.count);
        break;
      case Token::AmPm: {
        const bool pm = hour >= 12;
        if (t.text.size() == 5)
          out += t.text.substr(pm ? 3 : 0, 2);
        else
          out.push_back(t.text[pm ? 2 : 0]);
        break;
      }
    }
  }
  return out;
}

}  // namespace krv::sheet
