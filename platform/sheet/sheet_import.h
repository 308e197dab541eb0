#pragma once
// Reads xlsx and ods workbooks (the formats of the common spreadsheet
// programs) into a sheet document. The first worksheet that is not the
// hidden exchange worksheet (sheet_exchange.h) gives the cells; that
// worksheet, when present, gives back what sheet_xlsx_writer.h keeps in
// it. Other worksheets are not read.
//
// Read: numbers, texts, booleans (those of ods files as the formulas
// =TRUE() and =FALSE()), dates (as their serial numbers), error
// values, formulas (shared ones spread to their cells; ods formulas turned
// into the A1 form); fonts, fill colours, font colours, borders, fixed
// number formats ("0.00", "#,##0") as number cells' decimals and grouping,
// merged cells as spans, column widths, row heights, hidden rows and
// columns. A formula the engine cannot parse is kept as its text (with
// its "=") in the cell, so nothing is lost; one with names the engine does
// not know stays a formula (it gives #NAME? until the name is registered).
// A font equal to the workbook's default font reads as the control's
// default font. Function names come back upper case. An ods row repeated
// with content is read once (a limit of the reader library).
//
// Refused, with the reason (the target document is then unchanged, the
// document is built aside and swapped in whole): bytes that are no zip
// container or a damaged one, an encrypted or password-protected workbook,
// a container that unpacks to more than the limits allow, more cells than
// the limit, cells beyond the control's rows and columns, overlapping
// merged cells, and anything the workbook parser finds malformed.
#include <cstdint>
#include <string_view>

#include "platform/base/status.h"
#include "platform/sheet/control_document.h"
#include "platform/sheet/zip_container.h"

namespace krv::sheet {

struct WorkbookLimits {
  ZipLimits zip;
  // Cells of all worksheets together (values, formulas and formatted
  // empty cells).
  uint64_t maxCells = 4'000'000;
  // Parse in a child process that hands the document over as native file
  // text: the parser library stops its process with an assertion on some
  // damaged files, which then ends the child only (and the file is refused).
  // A child that has not finished after two minutes is ended, and the file
  // refused with that reason. Off, the parse runs in this process (faster; for the fuzzers, which
  // need to see the parser's coverage).
  bool apart = true;
};

enum class WorkbookKind { Xlsx, Ods };

// Replaces the document's contents by the workbook's; the custom functions
// registered in `doc` stay.
krv::base::Status sheetFromWorkbook(ControlDocument& doc, std::string_view bytes, WorkbookKind kind,
                                    const WorkbookLimits& limits = {});

}  // namespace krv::sheet
