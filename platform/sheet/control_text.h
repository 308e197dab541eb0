#pragma once
// Wide texts of the control's interface and the UTF-8 texts of its engine.
#include <string>
#include <string_view>

namespace krv::sheet {

// UTF-8 to wide characters (malformed bytes are taken as Latin-1).
std::wstring toWide(std::string_view utf8);
// Wide characters to UTF-8 (characters outside Unicode become U+FFFD).
std::string toUtf8Text(std::wstring_view wide);

}  // namespace krv::sheet
