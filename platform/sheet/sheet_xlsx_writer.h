#pragma once
// Writes a sheet document as an xlsx workbook (the format of the common
// spreadsheet programs): the first worksheet holds the cells, the second,
// hidden worksheet what a workbook has no place for (sheet_exchange.h).
//
// What the workbook shows: values (numbers, texts, booleans, error values),
// formulas as written (names the engine does not know stay as they are,
// with the value last calculated), number cells' decimals and thousands
// grouping as number formats, fonts (name, pixel height as points, bold
// from weight 600 on), back and fore colours, borders, spans as merged
// cells, column widths and row heights, hidden rows and columns. The hidden
// worksheet keeps header texts, tags (the corner cell's settings text too),
// cell types with their parameters, the locked state, the sheet's size and
// its default attributes. Not written: text tips, note marks, options, the
// control's look, the active cell and selection.
#include <string>

#include "platform/base/status.h"
#include "platform/sheet/control_document.h"

namespace krv::sheet {

// The workbook's bytes. An error, naming the cell, for a text longer than
// a workbook cell holds (32767 characters; header texts and tags are
// split over cells instead) or when the workbook cannot be built (the
// library works through a temporary file in the system's temp folder).
krv::base::Result<std::string> sheetToXlsx(const ControlDocument& doc);

}  // namespace krv::sheet
