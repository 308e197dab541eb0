#include "spread/sheet_options_record.h"

#include "platform/base/record_file.h"

namespace krv::spread {

using base::JsonIo;

const base::DocumentKind& sheetOptionsFileKind() {
  static const base::DocumentKind kind = [] {
    base::DocumentKind k;
    k.format = "korvane sheet options";
    k.version = 1;
    k.what = "sheet options file";
    k.limits.maxBytes = 1u << 20;
    k.limits.maxDepth = 4;
    return k;
  }();
  return kind;
}

void mapSheetOptions(JsonIo& io, SheetOptionsRecord& r) {
  io.field("sheet", r.sheet, base::Text{true});
}

base::Status sheetOptionsFromText(std::string_view text, SheetOptionsRecord& r) {
  SheetOptionsRecord fresh;
  base::Status s = base::readRecordText(text, sheetOptionsFileKind(),
                                        [&](JsonIo& io) { mapSheetOptions(io, fresh); });
  if (s) r = fresh;
  return s;
}

base::Status readSheetOptionsFile(const std::filesystem::path& file, SheetOptionsRecord& r) {
  SheetOptionsRecord fresh;
  base::Status s = base::readRecordFile(file, sheetOptionsFileKind(),
                                        [&](JsonIo& io) { mapSheetOptions(io, fresh); });
  if (s) r = fresh;
  return s;
}

std::string sheetOptionsToText(const SheetOptionsRecord& r) {
  SheetOptionsRecord copy = r;
  return base::recordText(sheetOptionsFileKind(), [&](JsonIo& io) { mapSheetOptions(io, copy); });
}

base::Status writeSheetOptionsFile(const std::filesystem::path& file, const SheetOptionsRecord& r) {
  SheetOptionsRecord copy = r;
  return base::writeRecordFile(file, sheetOptionsFileKind(),
                               [&](JsonIo& io) { mapSheetOptions(io, copy); });
}

}  // namespace krv::spread
