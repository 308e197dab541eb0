// libFuzzer target: any bytes as a formula, in both reference styles, set
// into a small sheet with values around it, then a full recalculation; the
// formula's references are also converted to the other style and moved by
// inserted, deleted and exchanged rows and columns.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/sheet/cell_document.h"
#include "platform/sheet/formula_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using krv::sheet::LineShift;
  using krv::sheet::ReferenceStyle;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  krv::sheet::CellDocument doc(64, 200);
  doc.setCellText(1, 1, "3").ignore();
  doc.setCellText(1, 2, "text").ignore();
  doc.setCellText(2, 1, "TRUE").ignore();
  doc.setFormula(2, 2, "=A1*2").ignore();
  doc.setAutoCalc(size % 2 == 0);
  const ReferenceStyle style = size % 3 == 0 ? ReferenceStyle::R1C1 : ReferenceStyle::A1;
  doc.setReferenceStyle(style);
  if (doc.setFormula(3, 3, text)) {
    (void)doc.valueText(3, 3);
    doc.setFormula(4, 4, text).ignore();
    doc.setCellText(1, 1, "4").ignore();
    doc.recalcAll();
    (void)doc.valueText(4, 4);

    const ReferenceStyle other =
        style == ReferenceStyle::R1C1 ? ReferenceStyle::A1 : ReferenceStyle::R1C1;
    (void)krv::sheet::convertReferenceStyle(text, style, other, 3, 3);
    const int32_t at = 1 + static_cast<int32_t>(size % 5);
    for (const LineShift& shift : {LineShift::insert(true, at, 2), LineShift::remove(false, at, 1),
                                   LineShift::swap(true, at, at + 1)}) {
      (void)krv::sheet::readdressReferences(text, style, 3, 3, shift);
      doc.moveLines(shift);
    }
    (void)doc.valueText(3, 3);
  }
  return 0;
}
