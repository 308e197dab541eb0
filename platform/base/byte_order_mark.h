#pragma once
// The byte order mark at the start of a text file: the one place that
// recognises it, for every reader.
#include <cstddef>
#include <string_view>

namespace krv::base {

enum class ByteOrderMark { None, Utf8, Utf16LittleEndian, Utf16BigEndian };

// The mark `bytes` start with: EF BB BF, FF FE or FE FF.
ByteOrderMark detectByteOrderMark(std::string_view bytes);
// Its length in bytes (0 for None).
std::size_t byteOrderMarkLength(ByteOrderMark mark);
// The bytes after the mark; which mark it was in `found` when given.
std::string_view stripByteOrderMark(std::string_view bytes, ByteOrderMark* found = nullptr);

}  // namespace krv::base
