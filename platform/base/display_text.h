#pragma once
// Texts from files or users made safe to print in a message.
#include <cstddef>
#include <string>
#include <string_view>

namespace krv::base {

// Valid UTF-8 characters are kept; control characters (C0, DEL, C1) and
// bytes that are not valid UTF-8 are written \xNN, the invisible characters
// that change the direction or the lines of what follows (U+2028, U+2029,
// U+202A to U+202E, U+2066 to U+2069) are written \u{NNNN}. When the result
// would be longer than `maxChars` characters it is cut to that many and "…"
// is appended; 0 means no limit.
std::string displayText(std::string_view bytes, std::size_t maxChars = 80);
std::string displayText(std::wstring_view text, std::size_t maxChars = 80);

}  // namespace krv::base
