#pragma once
#include <string>

#include "platform/core/krv_string.h"

// The ANSI code page of the product's files: Windows-1252. VtW2A writes a
// character outside the code page as '?'; VtA2W reads every byte.
std::string VtW2A(const Krv_String& text);
Krv_String VtA2W(const std::string& bytes);
