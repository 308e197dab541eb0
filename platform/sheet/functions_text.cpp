// Built-in functions on texts, with their family table.
#include <cmath>

#include "platform/sheet/builtin_functions.h"
#include "platform/sheet/formula_number_text.h"
#include "platform/sheet/function_support.h"
#include "platform/sheet/text_utils.h"

namespace krv::sheet {

namespace {

using namespace fn;

// A text result; #VALUE! beyond the longest text a cell holds.
void setText(Item& r, std::u32string_view t) {
  if (t.size() > kMaxTextChars) return setError(r, ErrorCode::Value);
  set(r, Value::text(toUtf8(t)));
}
void setText(Item& r, std::string t) {
  if (t.size() > kMaxTextBytes && charCount(t) > kMaxTextChars)
    return setError(r, ErrorCode::Value);
  set(r, Value::text(std::move(t)));
}

void fnCHAR(BuiltinArgs& a, Item& r) {
  long long c = a.integer(0);
  if (c < 1 || c > 255) return setError(r, ErrorCode::Value);
  std::string out;
  appendUtf8(out, ansiChar(static_cast<int>(c)));
  set(r, Value::text(out));
}
void fnCODE(BuiltinArgs& a, Item& r) {
  std::u32string t = toCodePoints(a.text(0));
  if (t.empty()) return setError(r, ErrorCode::Value);
  int code = ansiCode(t[0]);
  setNumber(r, code == 0 && t[0] != 0 ? 63 : code);
}
void fnCONCATENATE(BuiltinArgs& a, Item& r) {
  std::string out;
  for (int i = 0; i < a.count(); ++i) {
    out += a.text(i);
    if (out.size() > 4 * kMaxTextChars) return setError(r, ErrorCode::Value);
  }
  setText(r, std::move(out));
}
void fnEXACT(BuiltinArgs& a, Item& r) { set(r, Value::boolean(a.text(0) == a.text(1))); }

// FIND and SEARCH: 1-based position of the first text in the second from
// the start position; SEARCH ignores case and takes wildcards.
template <bool search>
void findText(BuiltinArgs& a, Item& r) {
  std::u32string needle = toCodePoints(a.text(0)), hay = toCodePoints(a.text(1));
  long long start = a.integer(2);
  if (start < 1 || start > static_cast<long long>(hay.size()) + 1)
    return setError(r, ErrorCode::Value);
  size_t from = static_cast<size_t>(start - 1);
  if (needle.empty()) return setNumber(r, static_cast<double>(start));
  if (!search) {
    size_t p = hay.find(needle, from);
    if (p == std::u32string::npos) return setError(r, ErrorCode::Value);
    return setNumber(r, static_cast<double>(p + 1));
  }
  std::u32string pattern = needle + U"*";
  bool wild = false;
  for (char32_t c : needle)
    if (c == U'*' || c == U'?' || c == U'~') wild = true;
  for (size_t p = from; p < hay.size(); ++p) {
    if (wild) {
      if (wildcardMatch(pattern, std::u32string_view(hay).substr(p)))
        return setNumber(r, static_cast<double>(p + 1));
    } else if (p + needle.size() <= hay.size()) {
      bool eq = true;
      for (size_t k = 0; k < needle.size() && eq; ++k)
        eq = foldCase(hay[p + k]) == foldCase(needle[k]);
      if (eq) return setNumber(r, static_cast<double>(p + 1));
    }
  }
  setError(r, ErrorCode::Value);
}

void fnFIXED(BuiltinArgs& a, Item& r) {
  double d = a.number(1);
  if (d > 127) return setError(r, ErrorCode::Value);
  setText(r,
          formatFixedText(a.number(0), static_cast<int>(std::trunc(std::max(d, -400.0))),
                          a.boolean(2) ? ThousandsSeparators::Without : ThousandsSeparators::With));
}
void fnLEFT(BuiltinArgs& a, Item& r) {
  long long k = a.integer(1);
  if (k < 0) return setError(r, ErrorCode::Value);
  std::u32string t = toCodePoints(a.text(0));
  setText(r, std::u32string_view(t).substr(0, static_cast<size_t>(k)));
}
void fnRIGHT(BuiltinArgs& a, Item& r) {
  long long k = a.integer(1);
  if (k < 0) return setError(r, ErrorCode::Value);
  std::u32string t = toCodePoints(a.text(0));
  size_t len = static_cast<size_t>(k) > t.size() ? t.size() : static_cast<size_t>(k);
  setText(r, std::u32string_view(t).substr(t.size() - len));
}
void fnMID(BuiltinArgs& a, Item& r) {
  long long start = a.integer(1), k = a.integer(2);
  if (start < 1 || k < 0) return setError(r, ErrorCode::Value);
  std::u32string t = toCodePoints(a.text(0));
  if (static_cast<size_t>(start) > t.size()) return setText(r, std::string());
  setText(r, std::u32string_view(t).substr(static_cast<size_t>(start - 1), static_cast<size_t>(k)));
}
void fnLEN(BuiltinArgs& a, Item& r) { setNumber(r, static_cast<double>(charCount(a.text(0)))); }
void fnLOWER(BuiltinArgs& a, Item& r) { setText(r, lowerText(a.text(0))); }
void fnUPPER(BuiltinArgs& a, Item& r) { setText(r, upperText(a.text(0))); }
void fnPROPER(BuiltinArgs& a, Item& r) {
  std::u32string t = toCodePoints(a.text(0));
  bool prevLetter = false;
  for (char32_t& c : t) {
    // A letter is a character with another case; after a letter it is
    // written in lower case, otherwise in upper case.
    const char32_t lower = base::toLower(c), upper = upperCase(c);
    const bool letter = lower != upper || lower != c;
    c = letter ? (prevLetter ? lower : upper) : c;
    prevLetter = letter;
  }
  setText(r, t);
}
void fnREPLACE(BuiltinArgs& a, Item& r) {
  long long start = a.integer(1), k = a.integer(2);
  if (start < 1 || k < 0) return setError(r, ErrorCode::Value);
  std::u32string t = toCodePoints(a.text(0));
  size_t s = std::min(static_cast<size_t>(start - 1), t.size());
  size_t len = std::min(static_cast<size_t>(k), t.size() - s);
  t.replace(s, len, toCodePoints(a.text(3)));
  setText(r, t);
}
void fnREPT(BuiltinArgs& a, Item& r) {
  const std::string& t = a.text(0);
  long long k = a.integer(1);
  if (k < 0) return setError(r, ErrorCode::Value);
  if (t.empty() || k == 0) return set(r, Value::text(""));
  if (static_cast<double>(charCount(t)) * static_cast<double>(k) > kMaxTextChars)
    return setError(r, ErrorCode::Value);
  std::string out;
  out.reserve(t.size() * static_cast<size_t>(k));
  for (long long i = 0; i < k; ++i) out += t;
  set(r, Value::text(std::move(out)));
}
// The fourth argument picks one occurrence; left out, every one is replaced.
void fnSUBSTITUTE(BuiltinArgs& a, Item& r) {
  const std::string &t = a.text(0), &from = a.text(1), &to = a.text(2);
  long long which = a.integer(3);
  if (a.has(3) && which < 1) return setError(r, ErrorCode::Value);
  if (from.empty()) return setText(r, t);
  std::string out;
  size_t pos = 0;
  long long count = 0;
  for (;;) {
    size_t p = t.find(from, pos);
    if (p == std::string::npos) break;
    ++count;
    out.append(t, pos, p - pos);
    out += (which == 0 || count == which) ? to : from;
    pos = p + from.size();
    if (out.size() > 4 * kMaxTextChars) return setError(r, ErrorCode::Value);
  }
  out.append(t, pos, std::string::npos);
  setText(r, std::move(out));
}
void fnT(BuiltinArgs& a, Item& r) {
  const Value& v = a.value(0);
  set(r, Value::text(v.isText() ? v.text() : std::string()));
}
// Numbers (and texts that read as numbers) in the pattern; other values
// as they are.
void fnTEXT(BuiltinArgs& a, Item& r) {
  const Value& v = a.value(0);
  double d;
  if (v.isNumber() || v.isEmpty()) {
    d = v.isNumber() ? v.number() : 0;
  } else if (v.isText()) {
    auto p = parseNumberText(v.text());
    if (!p) return set(r, v);
    d = *p;
  } else {
    return set(r, Value::text(toText(v)));
  }
  auto out = formatNumberPattern(d, a.text(1));
  if (!out) return setError(r, ErrorCode::Value);
  setText(r, std::move(*out));
}
void fnTRIM(BuiltinArgs& a, Item& r) {
  std::string out;
  bool space = false;
  for (char c : a.text(0)) {
    if (c == ' ') {
      space = true;
      continue;
    }
    if (space && !out.empty()) out.push_back(' ');
    space = false;
    out.push_back(c);
  }
  set(r, Value::text(std::move(out)));
}
void fnVALUE(BuiltinArgs& a, Item& r) {
  const Value& v = a.value(0);
  if (v.isNumber()) return set(r, v);
  if (v.isEmpty()) return setNumber(r, 0);
  if (v.isBool()) return setError(r, ErrorCode::Value);
  auto p = parseNumberText(v.text());
  if (!p) return setError(r, ErrorCode::Value);
  setNumber(r, *p);
}

constexpr ArgRule kText = arg(ArgKind::Text);
constexpr ArgRule kInteger = arg(ArgKind::Integer);
constexpr ArgRule kScalar = arg(ArgKind::Scalar);

constexpr BuiltinFunction kTextFunctions[] = {
    generalFunction("CHAR", 1, 1, {kInteger}, fnCHAR),
    generalFunction("CODE", 1, 1, {kText}, fnCODE),
    generalFunction("CONCATENATE", 1, BuiltinFunction::kMany, {kText}, fnCONCATENATE),
    generalFunction("EXACT", 2, 2, {kText, kText}, fnEXACT),
    generalFunction("FIND", 2, 3, {kText, kText, optionalIfAbsent(ArgKind::Integer, 1)},
                    findText<false>),
    generalFunction(
        "FIXED", 1, 3,
        {arg(ArgKind::Number), optional(ArgKind::Number, 2), optional(ArgKind::Boolean, 0)},
        fnFIXED),
    generalFunction("LEFT", 1, 2, {kText, optionalIfAbsent(ArgKind::Integer, 1)}, fnLEFT),
    generalFunction("LEN", 1, 1, {kText}, fnLEN),
    generalFunction("LOWER", 1, 1, {kText}, fnLOWER),
    generalFunction("MID", 3, 3, {kText, kInteger, kInteger}, fnMID),
    generalFunction("PROPER", 1, 1, {kText}, fnPROPER),
    generalFunction("REPLACE", 4, 4, {kText, kInteger, kInteger, kText}, fnREPLACE),
    generalFunction("REPT", 2, 2, {kText, kInteger}, fnREPT),
    generalFunction("RIGHT", 1, 2, {kText, optionalIfAbsent(ArgKind::Integer, 1)}, fnRIGHT),
    generalFunction("SEARCH", 2, 3, {kText, kText, optionalIfAbsent(ArgKind::Integer, 1)},
                    findText<true>),
    generalFunction("SUBSTITUTE", 3, 4,
                    {kText, kText, kText, optionalIfAbsent(ArgKind::Integer, 0)}, fnSUBSTITUTE),
    generalFunction("T", 1, 1, {kScalar}, fnT),
    generalFunction("TEXT", 2, 2, {kScalar, kText}, fnTEXT),
    generalFunction("TRIM", 1, 1, {kText}, fnTRIM),
    generalFunction("UPPER", 1, 1, {kText}, fnUPPER),
    generalFunction("VALUE", 1, 1, {kScalar}, fnVALUE),
};

}  // namespace

std::span<const BuiltinFunction> textFunctions() { return kTextFunctions; }

}  // namespace krv::sheet
