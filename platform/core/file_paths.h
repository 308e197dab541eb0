#pragma once
#include <filesystem>

#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"

// Paths. Texts inside the product use '\' as separator ("Beam\Endplate",
// "prof\HEA.pr"); every file operation turns such a text into an operating
// system path with krv::core::osPath. '/' is accepted as a separator everywhere.

namespace krv::core {

// The operating system path of a path text: '\' becomes '/'. When that
// path does not exist, each component is looked up ignoring letter case
// (library folders come from a case-insensitive file system), as far as
// the components exist; the rest is kept as written. So a file about to be
// created in an existing folder gets the folder's real spelling.
std::filesystem::path osPath(const Krv_String& path);
// A path text of an operating system path: '/' becomes '\'.
Krv_String fromOsPath(const std::filesystem::path& path);
// Both texts name the same path: separators normalised, letter case
// ignored, a trailing separator ignored.
bool samePath(const Krv_String& a, const Krv_String& b);
// Does name match a pattern with '*' (any run) and '?' (any one character)?
bool wildcardMatch(const Krv_String& pattern, const Krv_String& name, bool caseSensitive = false);
bool hasWildcards(const Krv_String& text);
// The text with '\' as separator and exactly one trailing '\'; an empty
// text stays empty.
Krv_String withTrailingSeparator(const Krv_String& folder);

}  // namespace krv::core

using Krv_FileTime = std::filesystem::file_time_type;

// The folder part of a path, with its trailing separator ("a\b\c.txt"
// gives "a\b\"); empty when the path has no separator.
Krv_String getPath(const Krv_String& path);
// The name without its folder ("a\b\c.txt" gives "c.txt"); false when it is
// empty.
bool getFileName(const Krv_String& path, Krv_String& name);
Krv_String getFileName(const Krv_String& path);
// Drops the extension ("a\b.c\d.txt" becomes "a\b.c\d"); a name that only
// starts with a dot (".cfg") has no extension.
void removeExtension(Krv_String& path);
// Replaces (or adds) the extension; ext is given with or without the dot
// ("map" or ".map"); an empty ext only removes it.
void changeExtension(Krv_String& path, const Krv_String& ext);
// The path without leading separators.
Krv_String ensureNoStartBSlash(const Krv_String& path);

// Does the file or folder exist? A name with wildcards (* ?) in its last
// component exists when any entry of its folder matches (ignoring case).
bool fileExists(const Krv_String& path);
bool folderExists(const Krv_String& path);
// Copies a file; the target is written atomically and replaced when it
// exists. False when the source cannot be read or the target not written.
bool copyFile(const Krv_String& from, const Krv_String& to);
// Deletes a file (not a folder); false when it did not exist or cannot be
// deleted.
bool deleteFile(const Krv_String& path);

// Fills files with every file below folder (in all subfolders) whose name
// matches pattern ignoring case ("*.txt"), as path texts: the folder text as
// given with a '\' added when missing, then the relative path with '\'
// ("lib\Beam\Endplate.txt"). Sorted, so that the order does not depend on
// the file system. False (and an empty list) when folder does not exist.
bool ObjectExportFindFilesRecursive(const Krv_String& folder, const Krv_String& pattern,
                                    Krv_StringArray& files);
// The last write time of a file; false when it does not exist.
bool ObjectExportGetFileTime(const Krv_String& path, Krv_FileTime& time);
