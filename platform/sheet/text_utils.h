#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/utf8.h"

// Text helpers of the formula language. Texts are UTF-8; positions and
// lengths that formulas see count characters (code points), not bytes.
namespace krv::sheet {

// Longest text a formula may produce (characters); longer results are
// #VALUE!. kMaxTextBytes is a quick bound below which no check is needed.
inline constexpr size_t kMaxTextChars = 32767;
inline constexpr size_t kMaxTextBytes = 32767;

// Code points of a UTF-8 text; malformed bytes are taken as Latin-1.
std::u32string toCodePoints(std::string_view text);
std::string toUtf8(std::u32string_view text);
using krv::appendUtf8;
// Number of characters of a UTF-8 text.
size_t charCount(std::string_view text);

char32_t foldCase(char32_t c);   // lower case (ASCII, Latin-1, Greek, Cyrillic)
char32_t upperCase(char32_t c);
std::string lowerText(std::string_view text);
std::string upperText(std::string_view text);

// Compares ignoring letter case: <0, 0, >0.
int compareNoCase(std::string_view a, std::string_view b);
bool equalNoCase(std::string_view a, std::string_view b);

// Matches `text` against a pattern with the wildcards ? (one character),
// * (any run) and ~ (takes the next character literally), ignoring case.
bool wildcardMatch(std::u32string_view pattern, std::u32string_view text);
bool hasWildcards(std::string_view pattern);

// Windows-1252 code of a character (0 when it has none) and back.
int ansiCode(char32_t c);
char32_t ansiChar(int code);

}  // namespace krv::sheet
