#include "platform/base/utf.h"

namespace krv::base {
namespace {

unsigned char byteAt(std::string_view bytes, std::size_t i) {
  return static_cast<unsigned char>(bytes[i]);
}

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

Utf8Step decodeUtf8At(std::string_view bytes, std::size_t at) {
  const unsigned char lead = byteAt(bytes, at);
  if (lead < 0x80) return {lead, 1, true};
  std::size_t length;
  char32_t c;
  // The range of the second byte that keeps the sequence well-formed: it
  // excludes overlong forms, surrogates and values above U+10FFFF, so that
  // an ill-formed subpart ends where the first byte leaves the range.
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    c = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    c = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {kReplacementChar, 1, false};
  }
  std::size_t k = 1;
  for (; k < length && at + k < bytes.size(); ++k) {
    const unsigned char b = byteAt(bytes, at + k);
    if (k == 1 ? (b < low || b > high) : !isContinuation(b)) break;
    c = (c << 6) | (b & 0x3F);
  }
  if (k < length) return {kReplacementChar, k, false};
  return {c, length, true};
}

std::size_t utf8SequenceAt(std::string_view bytes, std::size_t at, char32_t& c) {
  if (at >= bytes.size()) return 0;
  const Utf8Step step = decodeUtf8At(bytes, at);
  if (!step.valid) return 0;
  c = step.c;
  return step.length;
}

bool isValidUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    if (byteAt(bytes, i) < 0x80) {
      ++i;
      continue;
    }
    const Utf8Step step = decodeUtf8At(bytes, i);
    if (!step.valid) return false;
    i += step.length;
  }
  return true;
}

std::size_t utf8Length(std::string_view bytes) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < bytes.size(); ++n)
    i += byteAt(bytes, i) < 0x80 ? 1 : decodeUtf8At(bytes, i).length;
  return n;
}

namespace {
template <class String>
String decodeUtf8(std::string_view bytes) {
  String out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const Utf8Step step = decodeUtf8At(bytes, i);
    out += static_cast<typename String::value_type>(step.c);
    i += step.length;
  }
  return out;
}
}  // namespace

std::u32string utf8ToUtf32(std::string_view bytes) { return decodeUtf8<std::u32string>(bytes); }
std::wstring utf8ToWide(std::string_view bytes) { return decodeUtf8<std::wstring>(bytes); }

void appendUtf8(std::string& out, char32_t c) {
  if (!isScalarValue(c)) c = kReplacementChar;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string toUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) appendUtf8(out, c);
  return out;
}

std::string toUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t w : text) appendUtf8(out, static_cast<char32_t>(w));
  return out;
}

namespace {
bool isHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }
}  // namespace

std::wstring utf16ToWide(std::u16string_view units) {
  std::wstring out;
  out.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char32_t u = units[i];
    if (isHighSurrogate(u) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
      out += static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      out += static_cast<wchar_t>(kReplacementChar);
    } else {
      out += static_cast<wchar_t>(u);
    }
  }
  return out;
}

std::u16string wideToUtf16(std::wstring_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (wchar_t w : text) {
    char32_t c = static_cast<char32_t>(w);
    if (!isScalarValue(c)) c = kReplacementChar;
    if (c < 0x10000) {
      out += static_cast<char16_t>(c);
    } else {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
  }
  return out;
}

std::optional<std::size_t> findUnpairedSurrogate(std::u16string_view units) {
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (isHighSurrogate(units[i]) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
      ++i;
    } else if (units[i] >= 0xD800 && units[i] <= 0xDFFF) {
      return i;
    }
  }
  return std::nullopt;
}

std::u16string utf16Units(std::string_view bytes, ByteOrder order) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  const bool little = order == ByteOrder::LittleEndian;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const unsigned first = byteAt(bytes, i), second = byteAt(bytes, i + 1);
    units += static_cast<char16_t>(little ? first | (second << 8) : (first << 8) | second);
  }
  return units;
}

}  // namespace krv::base
