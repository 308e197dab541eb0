#pragma once
#include <string>
#include <string_view>

// Conversions between the wide text of the system (UTF-32 in wchar_t) and
// byte encodings, and letter-case folding. None of them looks at the
// process locale.
namespace krv {

// UTF-8 bytes to wide text. Malformed sequences (bad lead or continuation
// bytes, overlong forms, surrogates, values above U+10FFFF) each become
// U+FFFD; decoding never fails.
std::wstring utf8ToWide(std::string_view bytes);

// Wide text to UTF-8. Characters that are not Unicode scalar values
// (surrogates, values above U+10FFFF) are written as U+FFFD.
std::string wideToUtf8(std::wstring_view text);

// True when bytes are well-formed UTF-8 (the empty text is).
bool isValidUtf8(std::string_view bytes);

// UTF-16 code units (already put in host order) to wide text; unpaired
// surrogates become U+FFFD.
std::wstring utf16ToWide(const std::u16string& units);

// Windows-1252 bytes to wide text and back. The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of
// the same value, as the host's conversion does. A character outside the
// code page is written as '?'.
std::wstring cp1252ToWide(std::string_view bytes);
std::string wideToCp1252(std::wstring_view text);

// Simple case folding of one character: the form in which two characters
// that differ only in letter case become equal (A and a, Σ, σ and ς, the
// Kelvin sign and k). Uses the Unicode tables of the C library's UTF-8
// locale object, never the process locale; without that locale object
// only Latin-1 letters fold.
wchar_t foldCase(wchar_t c);
std::wstring foldCase(std::wstring_view text);

// Upper and lower case of one character or text, also locale independent.
wchar_t toUpperChar(wchar_t c);
wchar_t toLowerChar(wchar_t c);
std::wstring toUpper(std::wstring_view text);
std::wstring toLower(std::wstring_view text);

}  // namespace krv
