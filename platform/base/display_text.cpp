#include "platform/base/display_text.h"

#include <cstdio>

#include "platform/base/utf.h"

namespace krv::base {
namespace {

bool isHiddenLayoutChar(char32_t c) {
  return c == 0x2028 || c == 0x2029 || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

std::string hexEscape(unsigned value) {
  char buffer[12];
  std::snprintf(buffer, sizeof buffer, "\\x%02X", value & 0xFFu);
  return buffer;
}

}  // namespace

std::string displayText(std::string_view bytes, std::size_t maxChars) {
  std::string out;
  std::size_t chars = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t c = 0;
    const std::size_t length = utf8SequenceAt(bytes, i, c);
    std::string piece;
    if (length == 0) {
      piece = hexEscape(static_cast<unsigned char>(bytes[i]));
    } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F)) {
      piece = hexEscape(static_cast<unsigned>(c));
    } else if (isHiddenLayoutChar(c)) {
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, "\\u{%04X}", static_cast<unsigned>(c));
      piece = buffer;
    } else {
      piece.assign(bytes.substr(i, length));
    }
    // An escape is ASCII, one character per byte; a kept character is one.
    const bool escaped = length == 0 || piece.size() != length;
    const std::size_t pieceChars = escaped ? piece.size() : 1;
    if (maxChars && chars + pieceChars > maxChars) {
      out += "…";
      return out;
    }
    out += piece;
    chars += pieceChars;
    i += length ? length : 1;
  }
  return out;
}

std::string displayText(std::wstring_view text, std::size_t maxChars) {
  return displayText(std::string_view(toUtf8(text)), maxChars);
}

}  // namespace krv::base
