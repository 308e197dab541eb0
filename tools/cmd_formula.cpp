// korvane formula EXPRESSION [--sheet FILE] [--r1c1] [--cell REF]: evaluates
// one formula and prints the value the cell shows, or why it was refused.
// The sheet is a sheet file (native, or CSV/TSV by extension); the formula
// is evaluated against its cells.
#include <iostream>
#include <string>

#include "platform/base/display_text.h"
#include "platform/sheet/sheet_file.h"
#include "tools/command_registry.h"
#include "tools/exit_codes.h"
#include "tools/shell_quote.h"

KRV_COMMAND([](CLI::App& app) {
  auto* sub = app.add_subcommand("formula", "Evaluate one spreadsheet formula and print its value");
  auto expression = std::make_shared<std::string>();
  auto sheet = std::make_shared<std::string>();
  auto cell = std::make_shared<std::string>();
  auto r1c1 = std::make_shared<bool>(false);
  sub->add_option("expression", *expression, "the formula, with or without a leading '='")
      ->required();
  sub->add_option("--sheet", *sheet,
                  "a sheet file (.vts/.json native, .csv, .tsv) the formula is evaluated against");
  sub->add_option("--cell", *cell,
                  "the cell (A1 form) that receives the formula; default: below the data");
  sub->add_flag("--r1c1", *r1c1, "read references in R1C1 style");
  sub->callback([=] {
    krv::sheet::ControlDocument sheetDoc;
    sheetDoc.setMaxCols(krv::sheet::kControlMaxCols);
    sheetDoc.setMaxRows(krv::sheet::kControlMaxRows);
    int rows = 0;
    if (!sheet->empty()) {
      std::string why;
      if (!krv::base::reportTo(krv::sheet::loadSheetFile(sheetDoc, *sheet), why)) {
        std::cerr << "korvane formula: " << krv::tools::withQuotedPaths(why, {*sheet}) << "\n";
        return krv::tools::setExitCode(krv::tools::kExitInput);
      }
      rows = sheetDoc.maxRows();
    }
    krv::sheet::CellDocument& doc = sheetDoc.engine();
    int32_t col = 1, row = rows + 1;
    if (!cell->empty()) {
      auto a = krv::sheet::parseA1(*cell);
      if (!a) {
        std::cerr << "korvane formula: not a cell reference: " << *cell << "\n";
        return krv::tools::setExitCode(krv::tools::kExitUsage);
      }
      col = a->col;
      row = a->row;
    }
    // The formula's cell may lie just beyond a loaded sheet.
    if (col > sheetDoc.maxCols() && col <= krv::sheet::kControlMaxCols) sheetDoc.setMaxCols(col);
    if (row > sheetDoc.maxRows() && row <= krv::sheet::kControlMaxRows) sheetDoc.setMaxRows(row);
    if (*r1c1) doc.setReferenceStyle(krv::sheet::ReferenceStyle::R1C1);
    if (const krv::base::Status set = doc.setFormula(col, row, *expression); !set) {
      std::cerr << "korvane formula: formula refused: " << set.text() << "\n";
      return krv::tools::setExitCode(krv::tools::kExitFailed);
    }
    // The value may be a text of the sheet file: shown escaped, not cut.
    std::cout << krv::base::displayText(doc.valueText(col, row), 0) << "\n";
    krv::tools::setExitCode(krv::tools::kExitOk);
  });
});
