#include "platform/base/file_text.h"

#include "platform/base/byte_order_mark.h"
#include "platform/base/utf.h"

namespace krv::base {

Result<std::string> fileTextAsUtf8(std::string_view bytes) {
  ByteOrderMark mark;
  const std::string_view text = stripByteOrderMark(bytes, &mark);
  if (mark == ByteOrderMark::Utf8) return std::string(text);
  if (mark == ByteOrderMark::None) {
    if (bytes.size() >= 2 && (bytes[0] == 0) != (bytes[1] == 0))
      return Status::error(
          "the file looks like UTF-16 without a byte order mark; save it as UTF-8 or as UTF-16 "
          "with a byte order mark");
    return std::string(bytes);
  }
  const bool little = mark == ByteOrderMark::Utf16LittleEndian;
  const std::string form = little ? "UTF-16 little endian" : "UTF-16 big endian";
  if (text.size() % 2)
    return Status::error("the file is " + form + " and ends in half a character");
  const std::u16string units =
      utf16Units(text, little ? ByteOrder::LittleEndian : ByteOrder::BigEndian);
  if (const auto bad = findUnpairedSurrogate(units))
    return Status::error("the file is " + form + " and has an unpaired surrogate at byte " +
                         std::to_string(byteOrderMarkLength(mark) + 2 * *bad));
  return toUtf8(utf16ToWide(units));
}

}  // namespace krv::base
