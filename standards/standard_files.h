#pragma once
// Where the files of a connection standard are found, as the engine finds
// them when it evaluates the standard.
#include "platform/core/krv_string.h"

namespace krv::standards {

// The sheet file an evaluation of `standard` loads: `standard` itself when
// such a file exists, else "<library>\Connection Standards\<standard>.vts"
// (which need not exist; the caller checks). VtCalcSS::loadFile loads this.
Krv_String standardSheetPath(const Krv_String& standard);

// Whether the mapping file of `standard` (VtSSMapping::mappingFilePath)
// exists and has a line for `key`: a line whose text before its first "="
// is `key`, compared exactly. The path is given for every outcome.
struct MappingKeyCheck {
  enum Outcome { kFound, kNoFile, kNoKey };
  Outcome outcome = kNoFile;
  Krv_String mappingFile;
  bool found() const { return outcome == kFound; }
};
MappingKeyCheck checkMappingKey(const Krv_String& standard, const Krv_String& key);

}  // namespace krv::standards
