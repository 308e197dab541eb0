#include "platform/win/text_bytes.h"

#include <cstdio>

#include "platform/win/utf8.h"

namespace krv {
namespace {

unsigned char byteAt(std::string_view bytes, std::size_t i) {
  return static_cast<unsigned char>(bytes[i]);
}

bool isHiddenLayoutChar(char32_t c) {
  return c == 0x2028 || c == 0x2029 || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

std::string hexEscape(unsigned value) {
  char buffer[12];
  std::snprintf(buffer, sizeof buffer, "\\x%02X", value & 0xFFu);
  return buffer;
}

}  // namespace

std::size_t utf8SequenceAt(std::string_view bytes, std::size_t at, char32_t& c) {
  if (at >= bytes.size()) return 0;
  const unsigned char lead = byteAt(bytes, at);
  std::size_t length;
  char32_t min;
  if (lead < 0x80) {
    c = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    min = 0x80;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    min = 0x800;
    c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    min = 0x10000;
    c = lead & 0x07;
  } else {
    return 0;
  }
  if (bytes.size() - at < length) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const unsigned char b = byteAt(bytes, at + k);
    if ((b & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return length;
}

bool fileTextAsUtf8(std::string_view bytes, std::string& utf8, std::string& error) {
  utf8.clear();
  if (bytes.size() >= 3 && byteAt(bytes, 0) == 0xEF && byteAt(bytes, 1) == 0xBB &&
      byteAt(bytes, 2) == 0xBF) {
    utf8.assign(bytes.substr(3));
    return true;
  }
  const bool little = bytes.size() >= 2 && byteAt(bytes, 0) == 0xFF && byteAt(bytes, 1) == 0xFE;
  const bool big = bytes.size() >= 2 && byteAt(bytes, 0) == 0xFE && byteAt(bytes, 1) == 0xFF;
  if (!little && !big) {
    if (bytes.size() >= 2 && (byteAt(bytes, 0) == 0) != (byteAt(bytes, 1) == 0)) {
      error =
          "the file looks like UTF-16 without a byte order mark; save it as UTF-8 or as UTF-16 "
          "with a byte order mark";
      return false;
    }
    utf8.assign(bytes);
    return true;
  }
  const char* form = little ? "UTF-16 little endian" : "UTF-16 big endian";
  if (bytes.size() % 2) {
    error = std::string("the file is ") + form + " and ends in half a character";
    return false;
  }
  auto unit = [&](std::size_t i) -> char32_t {
    return little ? byteAt(bytes, i) | (byteAt(bytes, i + 1) << 8)
                  : (byteAt(bytes, i) << 8) | byteAt(bytes, i + 1);
  };
  utf8.reserve(bytes.size() / 2);
  for (std::size_t i = 2; i < bytes.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    if (c >= 0xD800 && c <= 0xDFFF) {
      error = std::string("the file is ") + form + " and has an unpaired surrogate at byte " +
              std::to_string(i);
      utf8.clear();
      return false;
    }
    appendUtf8(utf8, c);
  }
  return true;
}

std::string displayText(std::string_view bytes, std::size_t maxChars) {
  std::string out;
  std::size_t chars = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t c = 0;
    const std::size_t length = utf8SequenceAt(bytes, i, c);
    std::string piece;
    if (length == 0) {
      piece = hexEscape(byteAt(bytes, i));
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

}  // namespace krv
