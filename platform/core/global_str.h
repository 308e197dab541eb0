#pragma once
#include <cstdint>

#include "platform/core/krv_string.h"

// Texts handed to and from the spreadsheet control's custom functions
// travel as string handles of the control (the process-wide handle table of
// the sheet engine, texts in UTF-8). These two functions convert between
// such a handle and the product's wide text.

// Creates a handle holding text; 0 when no handle can be made. The control
// releases the handles of results it receives.
std::uint32_t setGlobalStr(const Krv_String& text);

// The text of a handle; false (text emptied) for 0, an unknown or a
// released handle.
bool getGlobalStr(std::uint32_t handle, Krv_String& text);
