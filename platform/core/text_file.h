#pragma once
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"

// Text files. Readers accept UTF-8 with or without byte order mark, UTF-16
// little or big endian with byte order mark, and (for files from older
// versions) Windows-1252 when the bytes are not valid UTF-8; lines end with
// LF or CR LF. Writers write UTF-8 without byte order mark, lines ended by
// LF (or by CR LF when the file they replace ends its first line so, as
// files people keep under version control on other systems do), and
// always atomically: a temporary file in the target's folder is
// written, flushed to disk and renamed over the target. When any step
// fails the temporary file is removed, the previous file stays whole and
// the writer returns false.

namespace krv {

// Files larger than this are refused by the readers.
constexpr std::uintmax_t kMaxTextFileBytes = 256u * 1024u * 1024u;

// All bytes of a file; false when it is missing, a folder, unreadable or
// larger than maxBytes.
bool readFileBytes(const std::filesystem::path& path, std::string& bytes,
                   std::uintmax_t maxBytes = kMaxTextFileBytes);
// Writes bytes atomically (see above).
bool writeFileAtomic(const std::filesystem::path& path, const std::string& bytes);

// Whether the file's first line ends with CR LF (false for a missing file
// or one without line ends).
bool endsLinesWithCrLf(const std::filesystem::path& path);

// Decodes a file's bytes by its byte order mark (see above).
std::wstring decodeText(const std::string& bytes);
// Splits text into lines at LF and CR LF; a final line end adds no empty
// line. A lone CR stays part of its line.
void splitLines(const std::wstring& text, Krv_StringArray& lines);

// The rename step of atomic writes, replaceable so that tests can make it
// fail. Returns the previous function; an empty function restores the
// file system's own rename.
using RenameFunction = std::function<bool(const std::filesystem::path& from, const std::filesystem::path& to)>;
RenameFunction setRenameFunction(RenameFunction rename);

}  // namespace krv

// Reads a file as a list of text lines (lines is emptied first); false when
// the file is missing or cannot be read.
bool ObjectExportReadFile(const Krv_String& path, Krv_StringArray& lines);
// Writes the lines, each followed by a line end (see above for the form).
bool ObjectExportWriteFile(const Krv_String& path, const Krv_StringArray& lines);

// A table of text rows, in a text form that reads back exactly: the first
// line "Krv table version 1", then one line per row with its cells
// separated by tabs; within a cell backslash, tab, line feed and carriage
// return are written \\, \t, \n and \r. A row with no cells is an empty
// line; a row of one empty cell is written \e. A file without the version
// line is read as plain tab-separated text (no escapes), a file of a later
// version is refused.
//
// readFile empties rows and fills them, and gives in name the family name
// of the table: the file name without folder and extension. False when the
// file is missing, unreadable or of an unknown version.
bool readFile(const Krv_String& path, Krv_String& name, Krv_StringTable& rows);
bool writeFile(const Krv_String& path, const Krv_StringTable& rows);

namespace krv {
// The escaping of the table and properties forms: backslash, tab, LF, CR.
std::wstring escapeField(const std::wstring& text);
// The reverse; an unknown escape keeps the character after the backslash,
// \e gives nothing.
std::wstring unescapeField(const std::wstring& text);
}  // namespace krv
