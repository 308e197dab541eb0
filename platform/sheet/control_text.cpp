// Conversions between the control's wide texts and the engine's UTF-8 texts.
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

std::string toUtf8Text(std::wstring_view wide) { return krv::toUtf8(wide); }

}  // namespace krv::sheet
