#pragma once
// Remembered dialog sizes: a dialog's window size stored under its name
// (for example "DLG_FINDREPLACE") in the registry, key
// HKEY_CURRENT_USER\Software\Korvane\Dialog Sizes, one REG_SZ value per
// name holding "<width> <height>" in pixels.
#include "platform/core/krv_string.h"

class CWnd;

// Restores the size stored under `name` (the window keeps its top-left
// corner). With `onlyGrow` a stored size smaller than the current one is not
// applied. False when nothing is stored, the stored text is malformed, or the
// window is not created.
bool ChangeDlgSize(CWnd* dialog, const Krv_String& name, bool onlyGrow = false);
// Stores the window size of `dialog` under `name`; false when the window is
// not created or the registry refuses.
bool WriteDlgSize(CWnd* dialog, const Krv_String& name);
// The stored size; false when none or malformed.
bool getDlgSize(const Krv_String& name, int& width, int& height);
