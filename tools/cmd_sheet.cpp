// korvane sheet show FILE [--formulas]: prints the cells of a sheet file as
// an aligned table of value texts (with --formulas, a formula cell shows
// its formula), of the rows and columns that hold something.
// korvane sheet convert IN OUT: converts between the native format (.vts
// and other extensions) and CSV (.csv) or tab-separated text (.tsv, .txt).
// korvane sheet edit FILE [--script FILE]: the desktop with the spreadsheet
// editor open on FILE (needs a display).
#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/display_text.h"
#include "platform/base/utf.h"
#include "platform/sheet/cell_address.h"
#include "platform/sheet/cell_grid.h"
#include "platform/sheet/sheet_file.h"
#include "platform/sheet/text_utils.h"
#include "tools/command_registry.h"
#include "tools/desktop_run.h"
#include "tools/exit_codes.h"
#include "tools/shell_quote.h"

namespace {

using krv::sheet::ControlDocument;

// Rows or columns beyond this many table cells are listed cell by cell.
constexpr size_t kMaxTableCells = 1000000;

std::string cellText(const ControlDocument& doc, int32_t c, int32_t r, bool formulas) {
  std::wstring t;
  if (formulas && c > 0 && r > 0) t = *doc.formula(c, r);
  if (t.empty()) t = *doc.valueText(c, r);
  for (auto& ch : t) {
    if (ch == L'\n' || ch == L'\r' || ch == L'\t') ch = L' ';
  }
  // Other control characters and stray bytes of a hostile file are escaped.
  return krv::base::displayText(krv::base::toUtf8(t), 0);
}

// The rows and columns that hold a value or a formula, with their header
// labels: a sheet may declare 16384 x 1048576 cells and fill a few, so the
// work follows the filled cells. When those rows and columns would still
// make a table of more than kMaxTableCells, the cells are listed one a line.
void printTable(const ControlDocument& doc, bool formulas, std::ostream& out) {
  out << "sheet of " << doc.maxCols() << " columns and " << doc.maxRows() << " rows\n";
  std::vector<std::pair<int32_t, int32_t>> filled;  // (col, row) in reading order
  krv::sheet::FilledCellWalk walk(doc.engine().grid(), 1, 1, doc.maxCols(), doc.maxRows());
  for (int32_t c = 0, r = 0; walk.next(c, r);) filled.emplace_back(c, r);
  if (filled.empty()) return;
  std::vector<int32_t> rows{0}, cols{0};  // header row and column first
  for (const auto& [c, r] : filled) {
    if (rows.back() != r) rows.push_back(r);
    cols.push_back(c);
  }
  std::sort(cols.begin() + 1, cols.end());
  cols.erase(std::unique(cols.begin(), cols.end()), cols.end());

  if (rows.size() * cols.size() > kMaxTableCells) {
    out << filled.size() << " filled cells, one a line (a table would be " << cols.size() - 1
        << " columns by " << rows.size() - 1 << " rows)\n";
    for (const auto& [c, r] : filled)
      out << krv::sheet::columnLetters(c) << r << " | " << cellText(doc, c, r, formulas) << "\n";
    return;
  }
  std::vector<std::vector<std::string>> table(rows.size(), std::vector<std::string>(cols.size()));
  for (size_t i = 0; i < rows.size(); ++i)
    for (size_t j = 0; j < cols.size(); ++j)
      table[i][j] = cellText(doc, cols[j], rows[i], formulas);
  std::vector<size_t> width(cols.size(), 0);
  for (auto& row : table) {
    for (size_t c = 0; c < row.size(); ++c)
      width[c] = std::max(width[c], krv::sheet::charCount(row[c]));
  }
  for (auto& row : table) {
    std::string line;
    for (size_t c = 0; c < row.size(); ++c) {
      if (c > 0) line += " | ";
      line += row[c];
      if (c + 1 < row.size()) line.append(width[c] - krv::sheet::charCount(row[c]), ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << "\n";
  }
}

}  // namespace

KRV_COMMAND([](CLI::App& app) {
  auto* sub = app.add_subcommand("sheet", "Show, convert or edit sheet files");
  sub->require_subcommand(1);

  auto* show = sub->add_subcommand(
      "show", "Print the rows and columns of a sheet file that hold something, as a table");
  auto file = std::make_shared<std::string>();
  auto formulas = std::make_shared<bool>(false);
  show->add_option("file", *file, "the sheet file (.vts/.json native, .csv, .tsv)")->required();
  show->add_flag("--formulas", *formulas, "show formulas instead of their values");
  show->callback([=] {
    ControlDocument doc;
    std::string error;
    if (!krv::base::reportTo(krv::sheet::loadSheetFile(doc, *file), error)) {
      std::cerr << "korvane sheet: " << krv::tools::withQuotedPaths(error, {*file}) << "\n";
      return krv::tools::setExitCode(krv::tools::kExitInput);
    }
    printTable(doc, *formulas, std::cout);
    krv::tools::setExitCode(krv::tools::kExitOk);
  });

  auto* convert =
      sub->add_subcommand("convert", "Convert a sheet file to another format by extension");
  auto in = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  convert->add_option("in", *in, "the file to read")->required();
  convert->add_option("out", *out, "the file to write (replaced atomically)")->required();
  convert->callback([=] {
    ControlDocument doc;
    std::string error;
    if (!krv::base::reportTo(krv::sheet::loadSheetFile(doc, *in), error)) {
      std::cerr << "korvane sheet: " << krv::tools::withQuotedPaths(error, {*in}) << "\n";
      return krv::tools::setExitCode(krv::tools::kExitInput);
    }
    if (!krv::base::reportTo(krv::sheet::saveSheetFile(doc, *out), error)) {
      std::cerr << "korvane sheet: " << krv::tools::withQuotedPaths(error, {*out}) << "\n";
      return krv::tools::setExitCode(krv::tools::kExitOutput);
    }
    krv::tools::setExitCode(krv::tools::kExitOk);
  });

  // The spreadsheet editor on a file, in the desktop.
  auto* edit = sub->add_subcommand(
      "edit",
      "Open a sheet file in the spreadsheet editor, in the desktop (needs a display; "
      "`xvfb-run -a` gives one)");
  auto editOptions = std::make_shared<krv::tools::DesktopRunOptions>();
  edit->add_option("file", editOptions->sheet, "the sheet file (.vts, .csv, .tsv, .xlsx, .ods)")
      ->required();
  edit->add_option("--script", editOptions->script,
                   "do the steps of this desktop script after the start");
  edit->callback(
      [=] { krv::tools::setExitCode(krv::tools::runDesktop(*editOptions, "korvane sheet edit")); });
});
