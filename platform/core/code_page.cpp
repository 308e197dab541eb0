#include "platform/core/code_page.h"

#include "platform/core/unicode_text.h"

std::string VtW2A(const Krv_String& text) { return krv::wideToCp1252(text.str()); }
Krv_String VtA2W(const std::string& bytes) { return Krv_String(krv::cp1252ToWide(bytes)); }
