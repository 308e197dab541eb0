// libFuzzer target: any bytes as a formula, in both reference styles, set
// into a small sheet with values around it, then a full recalculation.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/sheet/cell_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  krv::sheet::CellDocument doc(64, 200);
  doc.setCellText(1, 1, "3");
  doc.setCellText(1, 2, "text");
  doc.setCellText(2, 1, "TRUE");
  doc.setFormula(2, 2, "=A1*2");
  doc.setAutoCalc(size % 2 == 0);
  doc.setReferenceStyle(size % 3 == 0 ? krv::sheet::ReferenceStyle::R1C1 : krv::sheet::ReferenceStyle::A1);
  if (doc.setFormula(3, 3, text)) {
    (void)doc.valueText(3, 3);
    doc.setFormula(4, 4, text);
    doc.setCellText(1, 1, "4");
    doc.recalcAll();
    (void)doc.valueText(4, 4);
  }
  return 0;
}
