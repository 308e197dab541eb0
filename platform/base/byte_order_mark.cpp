#include "platform/base/byte_order_mark.h"

namespace krv::base {

ByteOrderMark detectByteOrderMark(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return ByteOrderMark::Utf8;
  if (bytes.starts_with("\xFF\xFE")) return ByteOrderMark::Utf16LittleEndian;
  if (bytes.starts_with("\xFE\xFF")) return ByteOrderMark::Utf16BigEndian;
  return ByteOrderMark::None;
}

std::size_t byteOrderMarkLength(ByteOrderMark mark) {
  switch (mark) {
    case ByteOrderMark::Utf8:
      return 3;
    case ByteOrderMark::Utf16LittleEndian:
    case ByteOrderMark::Utf16BigEndian:
      return 2;
    case ByteOrderMark::None:
      break;
  }
  return 0;
}

std::string_view stripByteOrderMark(std::string_view bytes, ByteOrderMark* found) {
  const ByteOrderMark mark = detectByteOrderMark(bytes);
  if (found) *found = mark;
  return bytes.substr(byteOrderMarkLength(mark));
}

}  // namespace krv::base
