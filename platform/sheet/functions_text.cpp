// Built-in functions on texts.
#include <cmath>

#include "platform/sheet/function_support.h"
#include "platform/sheet/formula_number_text.h"
#include "platform/sheet/text_utils.h"

namespace krv::sheet::fn {

#define FN(name) void name(EvalContext& ctx, Item* a, int n, Item& r)

namespace {
void setText(Item& r, std::u32string_view t) {
  if (t.size() > kMaxTextChars) return setError(r, ErrorCode::Value);
  set(r, Value::text(toUtf8(t)));
}
void setText(Item& r, std::string t) {
  if (t.size() > kMaxTextBytes && charCount(t) > kMaxTextChars) return setError(r, ErrorCode::Value);
  set(r, Value::text(std::move(t)));
}
bool chars(EvalContext& ctx, const Item& a, std::u32string& out, Item& r) {
  std::string t;
  if (!text(ctx, a, t, r)) return false;
  out = toCodePoints(t);
  return true;
}
}  // namespace

FN(fnCHAR) {
  (void)n;
  long long c;
  if (!integer(ctx, a[0], c, r)) return;
  if (c < 1 || c > 255) return setError(r, ErrorCode::Value);
  std::string out;
  appendUtf8(out, ansiChar(static_cast<int>(c)));
  set(r, Value::text(out));
}
FN(fnCODE) {
  (void)n;
  std::u32string t;
  if (!chars(ctx, a[0], t, r)) return;
  if (t.empty()) return setError(r, ErrorCode::Value);
  int code = ansiCode(t[0]);
  setNumber(r, code == 0 && t[0] != 0 ? 63 : code);
}
FN(fnCONCATENATE) {
  std::string out;
  for (int i = 0; i < n; ++i) {
    std::string t;
    if (!text(ctx, a[i], t, r)) return;
    out += t;
    if (out.size() > 4 * kMaxTextChars) return setError(r, ErrorCode::Value);
  }
  setText(r, std::move(out));
}
FN(fnEXACT) {
  (void)n;
  std::string x, y;
  if (!text(ctx, a[0], x, r) || !text(ctx, a[1], y, r)) return;
  set(r, Value::boolean(x == y));
}

namespace {
// FIND and SEARCH: 1-based position of `needle` in `hay` from `start`.
void findText(EvalContext& ctx, Item* a, int n, Item& r, bool search) {
  std::u32string needle, hay;
  if (!chars(ctx, a[0], needle, r) || !chars(ctx, a[1], hay, r)) return;
  long long start = 1;
  if (n > 2 && !integer(ctx, a[2], start, r)) return;
  if (start < 1 || start > static_cast<long long>(hay.size()) + 1) return setError(r, ErrorCode::Value);
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
      if (wildcardMatch(pattern, std::u32string_view(hay).substr(p))) return setNumber(r, static_cast<double>(p + 1));
    } else if (p + needle.size() <= hay.size()) {
      bool eq = true;
      for (size_t k = 0; k < needle.size() && eq; ++k) eq = foldCase(hay[p + k]) == foldCase(needle[k]);
      if (eq) return setNumber(r, static_cast<double>(p + 1));
    }
  }
  setError(r, ErrorCode::Value);
}
}  // namespace

FN(fnFIND) { findText(ctx, a, n, r, false); }
FN(fnSEARCH) { findText(ctx, a, n, r, true); }

FN(fnFIXED) {
  double v, d = 2;
  bool noCommas = false;
  if (!number(ctx, a[0], v, r)) return;
  if (n > 1 && a[1].kind != Item::Missing && !number(ctx, a[1], d, r)) return;
  if (n > 2 && !boolean(ctx, a[2], noCommas, r)) return;
  if (d > 127) return setError(r, ErrorCode::Value);
  setText(r, formatFixedText(v, static_cast<int>(std::trunc(std::max(d, -400.0))),
                             noCommas ? ThousandsSeparators::Without : ThousandsSeparators::With));
}
FN(fnLEFT) {
  std::u32string t;
  long long k = 1;
  if (!chars(ctx, a[0], t, r)) return;
  if (n > 1 && !integer(ctx, a[1], k, r)) return;
  if (k < 0) return setError(r, ErrorCode::Value);
  setText(r, std::u32string_view(t).substr(0, static_cast<size_t>(k)));
}
FN(fnRIGHT) {
  std::u32string t;
  long long k = 1;
  if (!chars(ctx, a[0], t, r)) return;
  if (n > 1 && !integer(ctx, a[1], k, r)) return;
  if (k < 0) return setError(r, ErrorCode::Value);
  size_t len = static_cast<size_t>(k) > t.size() ? t.size() : static_cast<size_t>(k);
  setText(r, std::u32string_view(t).substr(t.size() - len));
}
FN(fnMID) {
  (void)n;
  std::u32string t;
  long long start, k;
  if (!chars(ctx, a[0], t, r) || !integer(ctx, a[1], start, r) || !integer(ctx, a[2], k, r)) return;
  if (start < 1 || k < 0) return setError(r, ErrorCode::Value);
  if (static_cast<size_t>(start) > t.size()) return setText(r, std::string());
  setText(r, std::u32string_view(t).substr(static_cast<size_t>(start - 1), static_cast<size_t>(k)));
}
FN(fnLEN) {
  (void)n;
  std::string t;
  if (text(ctx, a[0], t, r)) setNumber(r, static_cast<double>(charCount(t)));
}
FN(fnLOWER) {
  (void)n;
  std::string t;
  if (text(ctx, a[0], t, r)) setText(r, lowerText(t));
}
FN(fnUPPER) {
  (void)n;
  std::string t;
  if (text(ctx, a[0], t, r)) setText(r, upperText(t));
}
FN(fnPROPER) {
  (void)n;
  std::u32string t;
  if (!chars(ctx, a[0], t, r)) return;
  bool prevLetter = false;
  for (char32_t& c : t) {
    bool letter = foldCase(c) != upperCase(c) || foldCase(c) != c;
    c = letter ? (prevLetter ? foldCase(c) : upperCase(c)) : c;
    prevLetter = letter;
  }
  setText(r, t);
}
FN(fnREPLACE) {
  (void)n;
  std::u32string t, repl;
  long long start, k;
  if (!chars(ctx, a[0], t, r) || !integer(ctx, a[1], start, r) || !integer(ctx, a[2], k, r) ||
      !chars(ctx, a[3], repl, r))
    return;
  if (start < 1 || k < 0) return setError(r, ErrorCode::Value);
  size_t s = std::min(static_cast<size_t>(start - 1), t.size());
  size_t len = std::min(static_cast<size_t>(k), t.size() - s);
  t.replace(s, len, repl);
  setText(r, t);
}
FN(fnREPT) {
  (void)n;
  std::string t;
  long long k;
  if (!text(ctx, a[0], t, r) || !integer(ctx, a[1], k, r)) return;
  if (k < 0) return setError(r, ErrorCode::Value);
  if (t.empty() || k == 0) return set(r, Value::text(""));
  if (static_cast<double>(charCount(t)) * static_cast<double>(k) > kMaxTextChars) return setError(r, ErrorCode::Value);
  std::string out;
  out.reserve(t.size() * static_cast<size_t>(k));
  for (long long i = 0; i < k; ++i) out += t;
  set(r, Value::text(std::move(out)));
}
FN(fnSUBSTITUTE) {
  std::string t, from, to;
  if (!text(ctx, a[0], t, r) || !text(ctx, a[1], from, r) || !text(ctx, a[2], to, r)) return;
  long long which = 0;
  if (n > 3) {
    if (!integer(ctx, a[3], which, r)) return;
    if (which < 1) return setError(r, ErrorCode::Value);
  }
  if (from.empty()) return setText(r, std::move(t));
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
FN(fnT) {
  (void)n;
  Value v = ctx.scalar(a[0]);
  if (v.isError()) return setError(r, v.error());
  set(r, Value::text(v.isText() ? v.text() : std::string()));
}
FN(fnTEXT) {
  (void)n;
  Value v = ctx.scalar(a[0]);
  std::string pattern;
  if (v.isError()) return setError(r, v.error());
  if (!text(ctx, a[1], pattern, r)) return;
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
  auto out = formatNumberPattern(d, pattern);
  if (!out) return setError(r, ErrorCode::Value);
  setText(r, std::move(*out));
}
FN(fnTRIM) {
  (void)n;
  std::string t;
  if (!text(ctx, a[0], t, r)) return;
  std::string out;
  bool space = false;
  for (char c : t) {
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
FN(fnVALUE) {
  (void)n;
  Value v = ctx.scalar(a[0]);
  if (v.isError()) return setError(r, v.error());
  if (v.isNumber()) return set(r, v);
  if (v.isEmpty()) return setNumber(r, 0);
  if (v.isBool()) return setError(r, ErrorCode::Value);
  auto p = parseNumberText(v.text());
  if (!p) return setError(r, ErrorCode::Value);
  setNumber(r, *p);
}

#undef FN
}  // namespace krv::sheet::fn
