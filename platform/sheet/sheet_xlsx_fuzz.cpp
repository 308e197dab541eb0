// Feeds arbitrary bytes to the xlsx reader: it must refuse or load, never
// crash, hang, run out of memory or leave a half-loaded sheet; what loaded
// must write as xlsx and read back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/sheet/sheet_import.h"
#include "platform/sheet/sheet_xlsx_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  krv::sheet::ControlDocument doc;
  doc.setMaxCols(1);
  doc.setMaxRows(1);
  krv::sheet::WorkbookLimits limits;
  limits.zip.maxUnpackedBytes = 64u << 20;
  limits.maxCells = 200000;
  if (!krv::sheet::sheetFromWorkbook(doc, bytes, krv::sheet::WorkbookKind::Xlsx, limits)) {
    if (doc.maxRows() != 1 || doc.maxCols() != 1) __builtin_trap();
    return 0;
  }
  if (doc.maxCols() <= 256 && doc.maxRows() <= 4096) {
    auto again = krv::sheet::sheetToXlsx(doc);
    if (!again) return 0;  // a text too long for a cell is refused, rightly
    krv::sheet::ControlDocument copy;
    if (!krv::sheet::sheetFromWorkbook(copy, *again, krv::sheet::WorkbookKind::Xlsx))
      __builtin_trap();
  }
  return 0;
}
