#pragma once
// DlgOpenMulti: the core module's selection of several files and folders.
#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"

class CWnd;

// Lets the person choose any number of files and folders, starting in
// `rootFolder`. The dialog lists the files of one type, described by
// `typeDescription` ("Drawing") with `extension` ("dwg", without the dot),
// and shows `prompt` as its title. The person may leave the root folder.
//
// False when the person cancelled or chose nothing; `paths` is then empty.
// Otherwise true with the chosen paths as path texts ('\' separators), in
// the order chosen; empty answers are dropped.
bool DlgOpenMulti(const Krv_String& rootFolder, const Krv_String& typeDescription,
                  const Krv_String& extension, const Krv_String& prompt, Krv_StringArray& paths,
                  CWnd* owner = nullptr);
