// Feeds arbitrary bytes to the ods reader: it must refuse or load, never
// crash, hang, run out of memory or leave a half-loaded sheet. Input that
// starts with "<" is taken as content.xml inside an intact package.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/sheet/ods_formula.h"
#include "platform/sheet/sheet_import.h"
#include "platform/sheet/zip_container.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string wrapped;
  if (size > 0 && data[0] == '<') {
    wrapped = krv::sheet::storedZip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                                     {"content.xml", std::string(bytes)}});
    bytes = wrapped;
  }
  krv::sheet::ControlDocument doc;
  doc.setMaxCols(1);
  doc.setMaxRows(1);
  krv::sheet::WorkbookLimits limits;
  limits.zip.maxUnpackedBytes = 64u << 20;
  limits.maxCells = 200000;
  // Changed containers are parsed here, where the fuzzer sees the parser's
  // coverage; changed XML apart, as the program does (the parser stops its
  // process on some).
  limits.apart = !wrapped.empty();
  if (!krv::sheet::sheetFromWorkbook(doc, bytes, krv::sheet::WorkbookKind::Ods, limits)) {
    if (doc.maxRows() != 1 || doc.maxCols() != 1) __builtin_trap();
  }
  // The formula translation on its own, on the first bytes.
  krv::sheet::odsFormulaToA1(bytes.substr(0, 2048));
  return 0;
}
