#include "platform/sheet/control_text.h"

#include "platform/sheet/text_utils.h"

namespace krv::sheet {

std::wstring toWide(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  bool ascii = true;
  for (char c : utf8) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
  }
  if (ascii) {
    out.assign(utf8.begin(), utf8.end());
    return out;
  }
  for (char32_t c : toCodePoints(utf8)) out.push_back(static_cast<wchar_t>(c));
  return out;
}

std::string toUtf8Text(std::wstring_view wide) {
  std::string out;
  out.reserve(wide.size());
  for (wchar_t w : wide) {
    auto c = static_cast<char32_t>(w);
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      appendUtf8(out, c);
    }
  }
  return out;
}

}  // namespace krv::sheet
