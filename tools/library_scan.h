#pragma once
#include <string>
#include <vector>

#include "platform/base/status.h"

namespace krv::tools {

// One mapping file of the standards folder and the keys it holds.
struct MappingFileInfo {
  std::string name;               // path below "Connection Standards", '\' separated
  std::vector<std::string> keys;  // in file order
  std::string error;              // non-empty when the file could not be read
  std::string note;               // how the file was read when it is not UTF-8, else empty
};

// What a library folder holds. Every name is relative to the folder it lives
// in and uses '\' as separator, as library names do; lists are sorted.
struct LibraryContents {
  std::string root;
  std::vector<std::string> standards;      // *.vts below "Connection Standards"
  std::vector<MappingFileInfo> mappings;   // *.map below "Connection Standards"
  std::vector<std::string> dataFiles;      // files below "Connection Standards\Data"
  std::vector<std::string> sectionTables;  // *.pr in "prof"
  std::vector<std::string> designs;        // *.txt below "Dialog Templates\Dialog Design"
};

// Scans `folder`. Subfolders are found without regard to letter case, since
// library folders come from case-insensitive file systems. Fails with a
// message when the folder is missing, is not a folder or cannot be read; a
// mapping file that cannot be read is noted in its entry instead.
krv::base::Result<LibraryContents> scanLibrary(const std::string& folder);

}  // namespace krv::tools
