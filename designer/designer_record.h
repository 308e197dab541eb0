#pragma once
// A dialog design to open in the designer window, as a record file for
// running the designer from the program:
//
//   {"format": "korvane dialog design", "version": 1,
//    "design": "EndPlate\\General.txt"}
//
// "design" is the design file relative to the designer root folder (empty
// or left out: a new design). The designer saves designs itself; the
// record is never written back by a run.
#include <filesystem>
#include <string>

#include "platform/base/json_document.h"
#include "platform/base/json_io.h"

namespace krv::designer {

struct DesignerRecord {
  std::string design;  // UTF-8, relative to the designer root folder
  bool operator==(const DesignerRecord&) const = default;
};

const base::DocumentKind& designerRecordKind();
void mapDesignerRecord(base::JsonIo& io, DesignerRecord& r);
// Reading leaves `r` unchanged on failure; errors name the file and place.
base::Status readDesignerRecordFile(const std::filesystem::path& file, DesignerRecord& r);

}  // namespace krv::designer
