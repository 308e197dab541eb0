#pragma once
#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"

// Dialog strings: the texts of dialog labels, captions and messages by
// number, in the work language (Krv_Settings::workLanguage()).
//
// The texts live in one file per language, <resources>/strings/<code>.txt
// (UTF-8): lines "<id><TAB><text>", where the text escapes a line break as
// \n, a tab as \t and a backslash as \\; empty lines and lines starting
// with '#' are comments. <resources> is the environment variable
// KRV_RESOURCES_DIR when set, else the module's own resources folder.
//
// A number missing in the work language falls back to English; a number
// unknown in English too gives the visible text "[#<id>]".
Krv_String dialString(int id);
// The text in every language that has a strings file, English first, then
// the others by code.
Krv_StringArray dialStringAllLangs(int id);

namespace krv::core {
// The resources folder as an operating system path text (no trailing '/').
Krv_String resourcesDir();
// Language codes with a strings file, English first.
Krv_StringArray dialStringLanguages();
// Forgets the loaded files (after a change of the resources folder).
void clearDialStringCache();
}  // namespace krv::core
