// Feeds arbitrary bytes to the sheet file readers (native and CSV/TSV): they
// must refuse or load, never crash, hang or leave a half-loaded sheet.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/sheet/sheet_csv.h"
#include "platform/sheet/sheet_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  krv::sheet::ControlDocument doc;
  doc.setMaxCols(1);
  doc.setMaxRows(1);
  std::string error;
  if (!krv::base::reportTo(krv::sheet::sheetFromJson(doc, text), error)) {
    if (doc.maxRows() != 1 || doc.maxCols() != 1) __builtin_trap();
  } else {
    // What loaded must save and load again.
    std::string again = krv::sheet::sheetToJson(doc);
    krv::sheet::ControlDocument copy;
    if (!krv::base::reportTo(krv::sheet::sheetFromJson(copy, again), error)) __builtin_trap();
  }
  krv::sheet::ControlDocument csv;
  krv::sheet::sheetFromDelimited(csv, text.substr(0, 4096), ',').ignore();
  return 0;
}
