#pragma once
// Printing a sheet document. The spreadsheet control has no printer of its
// own: a host that can draw (the desktop host, the program's `sheet print`)
// installs a SheetPrinter, and the windows that offer printing ask for it.
// Without one installed, printing fails with kNoPrinterMessage and nothing
// else happens.
//
// PrintSettings are the document settings that act on printing, in the
// units a person enters them: margins in millimetres, the text height in
// points. A header (footer) file is a picture printed at the top (bottom)
// of every page; an empty name or a file that cannot be read prints none.
#include <filesystem>
#include <string>

#include "platform/base/status.h"
#include "platform/sheet/control_document.h"

namespace krv::sheet {

struct PrintSettings {
  std::wstring headerFile;
  std::wstring footerFile;
  std::wstring fontName = L"Tahoma";  // cells without a font of their own
  int fontHeight = 13;                // points; 0 or less: the renderer's default
  int marginLeft = 9, marginRight = 5, marginTop = 5, marginBottom = 5;  // millimetres
  bool smartPrint = true;      // scale the columns down to fit the page width
  bool colors = true;          // cell colours (else black on white)
  bool colHeader = true;       // the column header row, repeated on every page
  bool rowHeader = true;       // the row header column, repeated on every page
  bool cellSeparators = true;  // grid lines between cells
  bool border = true;          // a frame around the printed cells of each page
  std::wstring title;          // the document's title (print job name)
  bool operator==(const PrintSettings&) const = default;
};

enum class PrintTarget {
  PdfFile,  // write `pdfFile` (atomically)
  Printer,  // ask the person for a printer and print there
  Preview,  // show the pages in a preview where the person may print them
};

inline constexpr char kNoPrinterMessage[] = "Printing is not available in this program";

class SheetPrinter {
 public:
  virtual ~SheetPrinter() = default;
  // Prints the used part of `doc` (up to the last filled row and column).
  // A person who cancels the printer choice or the preview gets success.
  virtual base::Status print(const ControlDocument& doc, const PrintSettings& settings,
                             PrintTarget target, const std::filesystem::path& pdfFile) = 0;
};

// The installed printer, or null. The caller keeps ownership; install null
// before the printer goes away.
SheetPrinter* sheetPrinter();
void setSheetPrinter(SheetPrinter* printer);

// Prints through the installed printer; kNoPrinterMessage when none is.
base::Status printSheet(const ControlDocument& doc, const PrintSettings& settings,
                        PrintTarget target, const std::filesystem::path& pdfFile = {});

}  // namespace krv::sheet
