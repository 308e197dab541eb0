#pragma once
// Windows-1252, the code page of the files of older versions and of the
// formula functions CHAR and CODE.
#include <string>
#include <string_view>

namespace krv::base {

// The character of one byte. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) give the C1 controls of the same value, as
// the host's conversion does, so every byte reads and writes back.
char32_t cp1252Char(unsigned char byte);
// The byte of a character; -1 when the code page has none.
int cp1252Byte(char32_t c);

// Bytes to wide text (never fails) and back; a character outside the code
// page is written as '?'.
std::wstring cp1252ToWide(std::string_view bytes);
std::string wideToCp1252(std::wstring_view text);

}  // namespace krv::base
