#include "platform/core/code_page.h"

#include "platform/base/windows1252.h"

std::string VtW2A(const Krv_String& text) { return krv::base::wideToCp1252(text.str()); }
Krv_String VtA2W(const std::string& bytes) { return Krv_String(krv::base::cp1252ToWide(bytes)); }
