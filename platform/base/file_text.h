#pragma once
// The text of files whose format is UTF-8 (JSON documents, delimited text).
#include <string>
#include <string_view>

#include "platform/base/status.h"

namespace krv::base {

// The text of a file as UTF-8: a UTF-8 byte order mark is dropped, UTF-16
// little or big endian with a byte order mark is converted; other bytes are
// returned as they are (the format's reader checks them). An error for
// UTF-16 that cannot be converted (half a character at the end, an
// unpaired surrogate) and for text that looks like UTF-16 without a byte
// order mark (a zero byte beside a non-zero one at the start), which no
// reader can tell from binary data.
Result<std::string> fileTextAsUtf8(std::string_view bytes);

}  // namespace krv::base
