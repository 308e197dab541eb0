// Number texts in the C library's conventions (_wtof and friends), shortest round-trip doubles and
// the rounding helpers of the core.
#include "platform/core/c_number_text.h"

#include <locale.h>
#include <wchar.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <optional>

#include "platform/core/krv_string.h"

namespace krv::core {
namespace {

using Int128 = __int128;

// A decimal number mant * 10^exp.
struct Decimal {
  Int128 mant = 0;
  int exp = 0;
};

// The shortest decimal form of a finite double, exactly.
Decimal toDecimal(double v) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
  std::string_view s(buf, static_cast<size_t>(res.ptr - buf));
  Decimal d;
  bool neg = false;
  size_t i = 0;
  if (i < s.size() && s[i] == '-') neg = true, ++i;
  int fracDigits = 0;
  bool inFrac = false;
  for (; i < s.size() && s[i] != 'e'; ++i) {
    if (s[i] == '.') {
      inFrac = true;
      continue;
    }
    d.mant = d.mant * 10 + (s[i] - '0');
    if (inFrac) ++fracDigits;
  }
  int e = 0;
  if (i < s.size()) std::from_chars(s.data() + i + 1 + (s[i + 1] == '+'), s.data() + s.size(), e);
  d.exp = e - fracDigits;
  if (neg) d.mant = -d.mant;
  return d;
}

constexpr Int128 kScaleLimit =
    static_cast<Int128>(1000000000000000000LL) * 10000000000000000000ULL;  // 1e37

// Brings both numbers to the smaller exponent; false when that would leave
// the safe range of the integer arithmetic.
bool align(Decimal& a, Decimal& b) {
  Decimal* hi = a.exp > b.exp ? &a : &b;
  const int lo = std::min(a.exp, b.exp);
  while (hi->exp > lo) {
    if (hi->mant > kScaleLimit / 10 || hi->mant < -kScaleLimit / 10) return false;
    hi->mant *= 10;
    --hi->exp;
  }
  return true;
}

double fromDecimal(Int128 mant, int exp) {
  std::string digits;
  const bool neg = mant < 0;
  if (neg) mant = -mant;
  do {
    digits += static_cast<char>('0' + static_cast<int>(mant % 10));
    mant /= 10;
  } while (mant);
  if (neg) digits += '-';
  std::reverse(digits.begin(), digits.end());
  digits += 'e' + std::to_string(exp);
  double v = 0;
  const auto res = std::from_chars(digits.data(), digits.data() + digits.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    // A whole mantissa out of range is too large with a positive exponent,
    // too small with a negative one.
    v = exp > 0 ? HUGE_VAL : 0.0;
    if (neg) v = -v;
  }
  return v;
}

locale_t cLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

}  // namespace

std::wstring formatFixedDecimals(double value, int decimals, TrailingZeros zeros) {
  decimals = std::clamp(decimals, 0, 30);
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  std::string s(buf, static_cast<size_t>(res.ptr - buf));
  if (std::isfinite(value)) {
    if (zeros == TrailingZeros::Drop && s.find('.') != std::string::npos) {
      while (s.back() == '0') s.pop_back();
      if (s.back() == '.') s.pop_back();
    }
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  }
  return std::wstring(s.begin(), s.end());
}

std::string shortestDouble(double value) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, static_cast<size_t>(res.ptr - buf));
}

bool parseDouble(const std::string& text, double& value) {
  if (text.empty()) return false;
  const char* b = text.data();
  const char* e = b + text.size();
  std::chars_format fmt = std::chars_format::general;
  const char* p = b;
  bool neg = false;
  if (*p == '-') neg = true, ++p;
  if (e - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    fmt = std::chars_format::hex;
    p += 2;
  }
  double v = 0;
  auto res = std::from_chars(p, e, v, fmt);
  if (res.ec != std::errc() || res.ptr != e) return false;
  value = neg ? -v : v;
  return true;
}

}  // namespace krv::core

double _wtof(const wchar_t* text) {
  if (!text) return 0.0;
  return wcstod_l(text, nullptr, krv::core::cLocale());
}

long _wtol(const wchar_t* text) {
  if (!text) return 0;
  // wcstol_l clamps to LONG_MIN/LONG_MAX on overflow.
  return wcstol_l(text, nullptr, 10, krv::core::cLocale());
}

int _wtoi(const wchar_t* text) {
  if (!text) return 0;
  const long long v = wcstoll_l(text, nullptr, 10, krv::core::cLocale());
  return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

double _wtof(const Krv_String& text) { return _wtof(text.c_str()); }
int _wtoi(const Krv_String& text) { return _wtoi(text.c_str()); }
long _wtol(const Krv_String& text) { return _wtol(text.c_str()); }

bool isNumber(const Krv_String& text) {
  const std::wstring& s = text.str();
  size_t i = 0;
  if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) ++i;
  int digits = 0;
  bool dot = false;
  for (; i < s.size(); ++i) {
    if (s[i] >= L'0' && s[i] <= L'9') {
      ++digits;
    } else if (s[i] == L'.' && !dot) {
      dot = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == L'e' || s[i] == L'E')) {
    ++i;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) ++i;
    int expDigits = 0;
    while (i < s.size() && s[i] >= L'0' && s[i] <= L'9') ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == s.size();
}

double ObjectExportRoundTo(double value, double step) {
  step = std::fabs(step);
  if (step == 0.0 || !std::isfinite(value) || !std::isfinite(step)) return value;
  krv::core::Decimal v = krv::core::toDecimal(value), s = krv::core::toDecimal(step);
  if (!krv::core::align(v, s)) {
    // Far apart in magnitude: the decimal detail no longer matters.
    return std::round(value / step) * step;
  }
  using krv::core::Int128;
  Int128 q = v.mant / s.mant;
  const Int128 r = v.mant % s.mant;  // same sign as v
  if (r > 0 && 2 * r >= s.mant) ++q;
  if (r < 0 && -2 * r >= s.mant) --q;
  return krv::core::fromDecimal(q * s.mant, v.exp);
}

double ObjectExportRoundUp(double value, double step, double tolerance) {
  step = std::fabs(step);
  if (step == 0.0 || !std::isfinite(value) || !std::isfinite(step)) return value;
  if (!(tolerance > 0.0)) tolerance = 0.0;
  krv::core::Decimal v = krv::core::toDecimal(value), s = krv::core::toDecimal(step);
  if (!krv::core::align(v, s)) {
    const double below = std::floor(value / step) * step;
    return (value - below <= tolerance) ? below : below + step;
  }
  using krv::core::Int128;
  Int128 q = v.mant / s.mant;
  Int128 r = v.mant % s.mant;
  if (r < 0) --q, r += s.mant;  // floor division: 0 <= r < step
  if (r == 0) return krv::core::fromDecimal(q * s.mant, v.exp);
  if (krv::core::fromDecimal(r, v.exp) <= tolerance)
    return krv::core::fromDecimal(q * s.mant, v.exp);
  return krv::core::fromDecimal((q + 1) * s.mant, v.exp);
}
