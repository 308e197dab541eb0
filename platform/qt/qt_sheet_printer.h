#pragma once
// QtSheetPrinter: the SheetPrinter of the hosts that draw with Qt. It lays
// the sheet out (SheetPages) and paints its pages (SheetPrintPainter):
//
// * PdfFile: an A4 portrait PDF, made in memory and written with
//   writeFileAtomic, so a failed print leaves no file, not even a part of
//   one; the error names the file;
// * Printer: the print dialog, then the printer the person chose, on its
//   paper (a cancelled dialog is success);
// * Preview: the print preview, where the person may print the pages.
//
// A sheet with nothing filled has no pages: printing it is an error
// (kNothingToPrintMessage) and writes nothing. Needs a QApplication
// (ensureApplication) for every target.
//
// savePagePictures paints the same pages into PNG images instead, for
// looking at them without a PDF viewer.
#include <filesystem>

#include "platform/sheet/sheet_printer.h"

namespace krv::qt {

inline constexpr char kNothingToPrintMessage[] = "The sheet holds nothing to print";

class QtSheetPrinter : public krv::sheet::SheetPrinter {
 public:
  krv::base::Status print(const krv::sheet::ControlDocument& doc,
                          const krv::sheet::PrintSettings& settings, krv::sheet::PrintTarget target,
                          const std::filesystem::path& pdfFile) override;

  // The bytes of the PDF that PdfFile writes (A4 portrait, `dpi` device
  // units an inch).
  static krv::base::Result<std::string> pdfBytes(const krv::sheet::ControlDocument& doc,
                                                 const krv::sheet::PrintSettings& settings,
                                                 int dpi = 600);

  // Paints the pages on A4 paper at `dpi` into folder/page-1.png,
  // page-2.png, ... (each written atomically); returns the number of pages.
  // The folder must exist.
  static krv::base::Result<int> savePagePictures(const krv::sheet::ControlDocument& doc,
                                                 const krv::sheet::PrintSettings& settings,
                                                 const std::filesystem::path& folder, int dpi = 96);
};

}  // namespace krv::qt
