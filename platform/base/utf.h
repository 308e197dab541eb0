#pragma once
// Conversions between the Unicode encoding forms the system meets: UTF-8
// (files, the formula engine), UTF-32 in wchar_t or char32_t (the wide text
// of the interface and the core) and UTF-16 (files with a byte order mark,
// the host's interfaces). None of them looks at the process locale.
//
// The one policy for malformed input:
// - Decoding never fails. Each maximal ill-formed subpart becomes one
//   U+FFFD: the longest start of a sequence that could still have been
//   well-formed, or else a single byte. So "\xE2\x82" (a cut three-byte
//   sequence) gives one U+FFFD, "\xC0\xAF" (an overlong form) two, since
//   0xC0 can start no sequence, "\xED\xA0\x80" (a surrogate) three.
//   In UTF-16 an unpaired surrogate becomes U+FFFD.
// - Encoding writes each value that is no Unicode scalar value
//   (surrogates, values above U+10FFFF) as U+FFFD, so the output is always
//   well-formed.
// Callers that must refuse malformed input check it first (isValidUtf8,
// findUnpairedSurrogate).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace krv::base {

inline constexpr char32_t kReplacementChar = 0xFFFD;

// Whether `c` is a Unicode scalar value: at most U+10FFFF, no surrogate.
constexpr bool isScalarValue(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

// One step of UTF-8 decoding at a position.
struct Utf8Step {
  char32_t c = 0;          // the character; U+FFFD when !valid
  std::size_t length = 0;  // bytes taken: the sequence or the ill-formed subpart
  bool valid = false;
};
// Decodes at bytes[at] (at < bytes.size()): a well-formed sequence, or the
// maximal ill-formed subpart that starts there.
Utf8Step decodeUtf8At(std::string_view bytes, std::size_t at);

// The length (1 to 4) of the well-formed sequence at bytes[at], with its
// character in `c`; 0 when none starts there (a stray continuation byte, a
// bad lead byte, a cut, overlong or surrogate sequence, a value above
// U+10FFFF, or `at` past the end).
std::size_t utf8SequenceAt(std::string_view bytes, std::size_t at, char32_t& c);

// True when `bytes` are well-formed UTF-8 (the empty text is).
bool isValidUtf8(std::string_view bytes);

// The number of characters of UTF-8 text, counted as the decoders count
// them (each ill-formed subpart is one).
std::size_t utf8Length(std::string_view bytes);

// UTF-8 to UTF-32 (see the policy above).
std::u32string utf8ToUtf32(std::string_view bytes);
std::wstring utf8ToWide(std::string_view bytes);

// Appends the UTF-8 bytes of one character (U+FFFD for a non-scalar value).
void appendUtf8(std::string& out, char32_t c);
// UTF-32 to UTF-8 (see the policy above).
std::string toUtf8(std::u32string_view text);
std::string toUtf8(std::wstring_view text);

// UTF-16 code units (in host order) to wide text and back. Unpaired
// surrogates become U+FFFD; characters above U+FFFF become pairs.
std::wstring utf16ToWide(std::u16string_view units);
std::u16string wideToUtf16(std::wstring_view text);
// The index of the first surrogate that is not part of a pair, if any.
std::optional<std::size_t> findUnpairedSurrogate(std::u16string_view units);

// The code units of UTF-16 bytes in the given byte order; an odd byte at
// the end is left out.
enum class ByteOrder { LittleEndian, BigEndian };
std::u16string utf16Units(std::string_view bytes, ByteOrder order);

}  // namespace krv::base
