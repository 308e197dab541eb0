// Feeds arbitrary bytes to the xlsx reader: it must refuse or load, never
// crash, hang, run out of memory or leave a half-loaded sheet; what loaded
// must write as xlsx and read back. Input that starts with "<" is taken as
// the text of the first worksheet inside an intact package (the container
// check refuses most changed containers before the parser sees their XML).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/sheet/sheet_import.h"
#include "platform/sheet/sheet_xlsx_writer.h"
#include "platform/sheet/zip_container.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string wrapped;
  if (size > 0 && data[0] == '<') {
    wrapped = krv::sheet::storedZip(
        {{"[Content_Types].xml",
          R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/><Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/></Types>)"},
         {"_rels/.rels",
          R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)"},
         {"xl/workbook.xml",
          R"(<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>)"},
         {"xl/_rels/workbook.xml.rels",
          R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/></Relationships>)"},
         {"xl/worksheets/sheet1.xml", std::string(bytes)}});
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
