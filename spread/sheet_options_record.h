#pragma once
// What the sheet options dialog (CDlgSSOptions) is opened on, as a record
// file:
//
//   {"format": "korvane sheet options", "version": 1, "sheet": "sections.vts"}
//
// "sheet" is the sheet file whose options are edited (a relative path is
// taken from the record file's folder by the program that runs it). OK
// saves the changed sheet file; the record itself holds nothing else.
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/base/json_document.h"
#include "platform/base/json_io.h"

namespace krv::spread {

struct SheetOptionsRecord {
  std::string sheet;
  bool operator==(const SheetOptionsRecord&) const = default;
};

const base::DocumentKind& sheetOptionsFileKind();
void mapSheetOptions(base::JsonIo& io, SheetOptionsRecord& r);

// Reading leaves `r` unchanged on failure; errors name the file and place.
base::Status readSheetOptionsFile(const std::filesystem::path& file, SheetOptionsRecord& r);
base::Status writeSheetOptionsFile(const std::filesystem::path& file, const SheetOptionsRecord& r);
base::Status sheetOptionsFromText(std::string_view text, SheetOptionsRecord& r);
std::string sheetOptionsToText(const SheetOptionsRecord& r);

}  // namespace krv::spread
