// Decodes any bytes and checks the promises of the malformed-input policy:
// the result encodes to well-formed UTF-8, has as many characters as
// utf8Length counts, and reproduces the bytes exactly when they were valid.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/base/case_folding.h"
#include "platform/base/utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::u32string text = krv::base::utf8ToUtf32(bytes);
  const std::string again = krv::base::toUtf8(text);
  if (!krv::base::isValidUtf8(again)) __builtin_trap();
  if (text.size() != krv::base::utf8Length(bytes)) __builtin_trap();
  if (krv::base::isValidUtf8(bytes) != (again == bytes)) __builtin_trap();
  if (krv::base::compareNoCaseUtf8(bytes, krv::base::toLowerUtf8(bytes)) != 0) __builtin_trap();
  return 0;
}
