#pragma once
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"

// Text files. Readers read regular files only, up to a size limit, and
// accept UTF-8 with or without byte order mark, UTF-16 little or big endian
// with byte order mark, and (for files from older versions) Windows-1252
// when the bytes are not valid UTF-8 (see TextDecoding); lines end with LF
// or CR LF. Writers write UTF-8 without byte order mark, lines ended by LF
// (or by CR LF when the file they replace ends its first line so, as
// files people keep under version control on other systems do), and
// always atomically: a temporary file in the target's folder is
// written, flushed to disk and renamed over the target. When any step
// fails the temporary file is removed, the previous file stays whole and
// the writer returns false. Reading and writing go through
// platform/base/file_io.h.

namespace krv::core {

// Files larger than this are refused by the readers.
constexpr std::uintmax_t kMaxTextFileBytes = 256u * 1024u * 1024u;

// Whether the file's first line ends with CR LF (false for a missing file
// or one without line ends).
bool endsLinesWithCrLf(const std::filesystem::path& path);

// How the bytes of a text file were decoded.
struct TextDecoding {
  enum class Form {
    Utf8,
    Utf16LittleEndian,
    Utf16BigEndian,
    // Bytes that are not valid UTF-8 and hold no (or hardly any) valid
    // UTF-8 sequence of more than one byte: a file of an older version.
    Windows1252,
    // Valid UTF-8 with a few bytes that are not: a UTF-8 file with damage.
    // The valid sequences are read as UTF-8, each other byte as
    // Windows-1252, so that one bad byte does not garble the whole file.
    Utf8WithWindows1252,
  };
  Form form = Form::Utf8;
  bool byteOrderMark = false;
  // For the two forms with Windows-1252: how many bytes are not valid
  // UTF-8, the first of them and its line (counted from 1).
  std::size_t invalidBytes = 0;
  unsigned char firstInvalidByte = 0;
  int firstInvalidLine = 0;

  bool usedWindows1252() const {
    return form == Form::Windows1252 || form == Form::Utf8WithWindows1252;
  }
  // Says how and why a file was read in Windows-1252, e.g. "read as
  // Windows-1252: byte 0xE9 at line 3 is not valid UTF-8"; empty when it
  // was not.
  std::string note() const;
};

// Decodes a file's bytes by its byte order mark (see above); `how`, when
// given, tells which form was read.
std::wstring decodeText(const std::string& bytes, TextDecoding* how = nullptr);

// Reads a file as text lines (see above); false when it is missing, no
// regular file, unreadable or too large.
bool readTextLines(const std::filesystem::path& path, Krv_StringArray& lines,
                   TextDecoding* how = nullptr);

// Told of every file that ObjectExportReadFile read in Windows-1252, with
// the note of its decoding, so that a program can say so. Returns the
// previous function; an empty function tells no one.
using TextDecodingNotice =
    std::function<void(const std::filesystem::path& path, const std::string& note)>;
TextDecodingNotice setTextDecodingNotice(TextDecodingNotice notice);
// Splits text into lines at LF and CR LF; a final line end adds no empty
// line. A lone CR stays part of its line.
void splitLines(const std::wstring& text, Krv_StringArray& lines);

}  // namespace krv::core

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

namespace krv::core {
// The escaping of the table and properties forms: backslash, tab, LF, CR.
std::wstring escapeField(const std::wstring& text);
// The reverse; an unknown escape keeps the character after the backslash,
// \e gives nothing.
std::wstring unescapeField(const std::wstring& text);
}  // namespace krv::core
