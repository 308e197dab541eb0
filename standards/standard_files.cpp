#include "standards/standard_files.h"

#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/core/text_file.h"
#include "platform/core/text_functions.h"
#include "standards/vt_calc_ss.h"
#include "standards/vt_ss_mapping.h"

namespace krv::standards {

Krv_String standardSheetPath(const Krv_String& standard) {
  if (fileExists(standard)) return standard;
  return Krv_Settings::libDir() + kStandardsFolder + standard + L".vts";
}

MappingKeyCheck checkMappingKey(const Krv_String& standard, const Krv_String& key) {
  MappingKeyCheck check;
  check.mappingFile = VtSSMapping::mappingFilePath(standard);
  Krv_StringArray lines;
  if (!fileExists(check.mappingFile) || !ObjectExportReadFile(check.mappingFile, lines)) {
    check.outcome = MappingKeyCheck::kNoFile;
    return check;
  }
  check.outcome = MappingKeyCheck::kNoKey;
  for (int i = 0; i < lines.length(); ++i) {
    Krv_String left, right;
    if (splitString(lines[i], L"=", left, right, false) && left == key) {
      check.outcome = MappingKeyCheck::kFound;
      break;
    }
  }
  return check;
}

}  // namespace krv::standards
