#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/case_folding.h"
#include "platform/base/utf.h"
#include "platform/base/windows1252.h"

// Text helpers of the formula language. Texts are UTF-8; positions and
// lengths that formulas see count characters (code points), not bytes.
// Decoding and letter case are the system's own (platform/base/utf.h and
// case_folding.h): malformed bytes read as U+FFFD, and "ignoring case"
// means the same here as in every other comparison.
namespace krv::sheet {

// Longest text a formula may produce (characters); longer results are
// #VALUE!. kMaxTextBytes is a quick bound below which no check is needed.
inline constexpr size_t kMaxTextChars = 32767;
inline constexpr size_t kMaxTextBytes = 32767;

// Code points of a UTF-8 text.
inline std::u32string toCodePoints(std::string_view text) { return base::utf8ToUtf32(text); }
using krv::base::appendUtf8;
using krv::base::toUtf8;
// Number of characters of a UTF-8 text.
inline size_t charCount(std::string_view text) { return base::utf8Length(text); }

// Letter case of one character: the simple case folding and upper case.
using krv::base::foldCase;
inline char32_t upperCase(char32_t c) { return base::toUpper(c); }
inline std::string lowerText(std::string_view text) { return base::toLowerUtf8(text); }
inline std::string upperText(std::string_view text) { return base::toUpperUtf8(text); }

// Compares ignoring letter case: <0, 0, >0.
inline int compareNoCase(std::string_view a, std::string_view b) {
  return base::compareNoCaseUtf8(a, b);
}
inline bool equalNoCase(std::string_view a, std::string_view b) {
  return base::compareNoCaseUtf8(a, b) == 0;
}

// Matches `text` against a pattern with the wildcards ? (one character),
// * (any run) and ~ (takes the next character literally), ignoring case.
bool wildcardMatch(std::u32string_view pattern, std::u32string_view text);
bool hasWildcards(std::string_view pattern);

// Windows-1252 code of a character (0 when it has none) and back (codes
// outside 0..255 are taken as code points).
inline int ansiCode(char32_t c) {
  const int byte = base::cp1252Byte(c);
  return byte < 0 ? 0 : byte;
}
inline char32_t ansiChar(int code) {
  return code >= 0 && code <= 0xFF ? base::cp1252Char(static_cast<unsigned char>(code))
                                   : static_cast<char32_t>(code);
}

}  // namespace krv::sheet
