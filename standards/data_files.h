#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"

// The data files read by the standards functions: look-up tables
// (GETCELL, GETPROFCELL) and standard sizes files (the tolerance
// functions).

namespace krv::standards {

// Resolves a data file's name: the name itself; else the library folder,
// "Connection Standards\Data\" and the name; else the library folder,
// "Connection Standards\" and the name; else the library folder and the
// name. The first that is an existing file (not a folder) is given in
// path. False for an empty name, or when none exists. The library
// candidates are skipped while no library folder is configured.
bool findDataFile(const Krv_String& name, Krv_String& path);

// A look-up table: the rows of a data file and the position of the first
// row for each key.
struct LookupTable {
  // One row per line that is not empty once its "//" comment is cut,
  // split at tab characters; the first cell is the key, the second the
  // value.
  Krv_StringTable rows;
  // Case-folded key to the index of the first row with that key; so a
  // look-up here finds the row Krv_StringArray::find(key, false) finds in
  // the key column.
  std::unordered_map<std::wstring, int> firstRowOfKey;

  // The row index of the key (ignoring case), -1 when absent.
  int findKey(const Krv_String& key) const;
};

// Reads and parses a look-up table file (path as resolved by
// findDataFile). Null when the file cannot be read.
std::shared_ptr<const LookupTable> readLookupTable(const Krv_String& path);

// The two parallel lists of a standard sizes file.
struct StdSizes {
  Krv_Array<double> widths;       // W of every size line, in line order
  Krv_Array<double> thicknesses;  // T of every size line (0 when absent)
};

// Reads a standard sizes file: resolves fileName as findDataFile does,
// then per line removes "/*" ... "*/" comments and the "//" comment; a
// line that still holds more than blanks is "WxT" (two numbers joined by
// a lower-case x) or "W" (T is 0); the numbers read by _wtof rules, so
// text that is no number gives 0. A missing or unreadable file gives
// false and empty lists.
bool readStdSizes(const Krv_String& fileName, Krv_Array<double>& widths,
                  Krv_Array<double>& thicknesses);

// Parsed data files are kept between calls and reused only while the file
// is unchanged: same device, inode, size, modification and change time,
// checked on every call. A file modified within the last two seconds is
// never kept, so a change within the file system's timestamp granularity
// cannot go unseen. Results are identical with or without the cache.
// On by default; off parses on every call.
void setDataFileCacheEnabled(bool on);
bool dataFileCacheEnabled();
// Forgets every kept file.
void clearDataFileCache();
// The clock that tells how long ago a file changed, in nanoseconds since
// 1970 UTC (the time base of file times); null restores the system clock.
// Tests set one to age a file without waiting.
using DataFileClock = std::int64_t (*)();
void setDataFileClock(DataFileClock clock);

// Parsing of the two forms from lines already read (no cache).
void parseLookupLines(const Krv_StringArray& lines, LookupTable& table);
void parseStdSizeLines(const Krv_StringArray& lines, StdSizes& sizes);

}  // namespace krv::standards
