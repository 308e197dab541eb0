// The installed sheet printer.
#include "platform/sheet/sheet_printer.h"

namespace krv::sheet {
namespace {
SheetPrinter* gPrinter = nullptr;
}

SheetPrinter* sheetPrinter() { return gPrinter; }
void setSheetPrinter(SheetPrinter* printer) { gPrinter = printer; }

base::Status printSheet(const ControlDocument& doc, const PrintSettings& settings,
                        PrintTarget target, const std::filesystem::path& pdfFile) {
  if (!gPrinter) return base::Status::error(kNoPrinterMessage);
  return gPrinter->print(doc, settings, target, pdfFile);
}

}  // namespace krv::sheet
