#include "platform/core/unicode_text.h"

#include <locale.h>
#include <wctype.h>

#include "platform/win/utf8.h"

namespace krv {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isScalar(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

// Decodes one character at bytes[i]; advances i past it. Returns false
// (and advances by one byte) for a malformed sequence.
bool decodeUtf8(std::string_view bytes, size_t& i, char32_t& out) {
  const auto b0 = static_cast<unsigned char>(bytes[i]);
  if (b0 < 0x80) {
    out = b0;
    ++i;
    return true;
  }
  int extra;
  char32_t c;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1, c = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2, c = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3, c = b0 & 0x07, min = 0x10000;
  } else {
    ++i;
    return false;
  }
  if (bytes.size() - i <= static_cast<size_t>(extra)) {  // sequence cut off
    ++i;
    return false;
  }
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return false;
    }
    c = (c << 6) | (b & 0x3F);
  }
  if (c < min || !isScalar(c)) {
    ++i;
    return false;
  }
  i += static_cast<size_t>(extra) + 1;
  out = c;
  return true;
}

// Windows-1252 bytes 0x80..0x9F.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The C library's Unicode case tables, through a locale object of its own
// so that the process locale never matters.
locale_t unicodeLocale() {
  static locale_t loc = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (!l) l = newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(nullptr));
    return l;
  }();
  return loc;
}

wchar_t latin1Lower(wchar_t c) {
  if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  return c;
}
wchar_t latin1Upper(wchar_t c) {
  if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
  return c;
}

}  // namespace

std::wstring utf8ToWide(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    char32_t c;
    if (decodeUtf8(bytes, i, c))
      out += static_cast<wchar_t>(c);
    else
      out += static_cast<wchar_t>(kReplacement);
  }
  return out;
}

std::string wideToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t w : text) appendUtf8(out, static_cast<char32_t>(w));
  return out;
}

bool isValidUtf8(std::string_view bytes) {
  size_t i = 0;
  char32_t c;
  while (i < bytes.size())
    if (!decodeUtf8(bytes, i, c)) return false;
  return true;
}

std::wstring utf16ToWide(const std::u16string& units) {
  std::wstring out;
  out.reserve(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      out += static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      out += static_cast<wchar_t>(kReplacement);
    } else {
      out += static_cast<wchar_t>(u);
    }
  }
  return out;
}

std::wstring cp1252ToWide(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    out += (b >= 0x80 && b < 0xA0) ? static_cast<wchar_t>(kCp1252High[b - 0x80])
                                   : static_cast<wchar_t>(b);
  }
  return out;
}

std::string wideToCp1252(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t w : text) {
    if (w < 0x80 || (w >= 0xA0 && w <= 0xFF)) {
      out += static_cast<char>(w);
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k)
      if (static_cast<wchar_t>(kCp1252High[k]) == w) {
        mapped = static_cast<char>(0x80 + k);
        break;
      }
    out += mapped;
  }
  return out;
}

wchar_t toUpperChar(wchar_t c) {
  if (c < 0x80) return (c >= L'a' && c <= L'z') ? c - 32 : c;
  if (locale_t l = unicodeLocale()) return static_cast<wchar_t>(towupper_l(static_cast<wint_t>(c), l));
  return latin1Upper(c);
}

wchar_t toLowerChar(wchar_t c) {
  if (c < 0x80) return (c >= L'A' && c <= L'Z') ? c + 32 : c;
  if (locale_t l = unicodeLocale()) return static_cast<wchar_t>(towlower_l(static_cast<wint_t>(c), l));
  return latin1Lower(c);
}

wchar_t foldCase(wchar_t c) {
  if (c < 0x80) return (c >= L'A' && c <= L'Z') ? c + 32 : c;
  // Dotted capital I and dotless small i fold only in Turkic rules; the
  // simple folding leaves them apart from i and I.
  if (c == 0x130 || c == 0x131) return c;
  // Lower of upper joins the variants of one letter (final sigma, the
  // Kelvin and Angstrom signs, long s) in one form.
  return toLowerChar(toUpperChar(c));
}

std::wstring foldCase(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out) c = foldCase(c);
  return out;
}

std::wstring toUpper(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out) c = toUpperChar(c);
  return out;
}

std::wstring toLower(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out) c = toLowerChar(c);
  return out;
}

}  // namespace krv
