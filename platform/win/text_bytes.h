#pragma once
// The bytes of text files and of texts shown in messages, shared by every
// layer (this is the lowest one).
#include <cstddef>
#include <string>
#include <string_view>

namespace krv {

// The length (1 to 4) of the well-formed UTF-8 sequence that starts at
// bytes[at], with its character in `c`; 0 when the byte there does not start
// one (a stray continuation byte, a bad lead byte, a cut, overlong or
// surrogate sequence, a value above U+10FFFF).
std::size_t utf8SequenceAt(std::string_view bytes, std::size_t at, char32_t& c);

// The text of a file as UTF-8, for readers of formats that are UTF-8 (JSON
// documents, delimited text): a UTF-8 byte order mark is dropped, UTF-16
// little or big endian with a byte order mark is converted. False with a
// message in `error` for UTF-16 that cannot be converted (half a character
// at the end, an unpaired surrogate) and for text that looks like UTF-16
// without a byte order mark (a zero byte beside a non-zero one at the start),
// which no reader can tell from binary data.
bool fileTextAsUtf8(std::string_view bytes, std::string& utf8, std::string& error);

// Text read from a file, made safe to print in a message: valid UTF-8
// characters are kept, control characters (C0, DEL, C1) and bytes that are
// not valid UTF-8 are written \xNN, the invisible characters that change the
// direction or the lines of what follows (U+2028, U+2029, U+202A to U+202E,
// U+2066 to U+2069) are written \u{NNNN}. When the result would be longer
// than `maxChars` characters it is cut to that many and "…" is appended; 0
// means no limit.
std::string displayText(std::string_view bytes, std::size_t maxChars = 80);
std::string displayText(std::wstring_view text, std::size_t maxChars = 80);

}  // namespace krv
