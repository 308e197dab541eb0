#pragma once
// UTF-8 encoding of wide texts, shared by every layer of the system (this is
// the lowest one). Characters that are no Unicode scalar value (surrogates,
// values above U+10FFFF) are written as U+FFFD, so the output is always
// valid UTF-8.
#include <string>
#include <string_view>

namespace krv {

// Appends the UTF-8 bytes of one character.
void appendUtf8(std::string& out, char32_t c);
// The UTF-8 form of a wide text.
std::string toUtf8(std::wstring_view text);

}  // namespace krv
