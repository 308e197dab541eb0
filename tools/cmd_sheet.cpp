// korvane sheet show FILE [--formulas]: prints the cells of a sheet file as
// an aligned table of value texts (with --formulas, a formula cell shows
// its formula), of the rows and columns that hold something.
// korvane sheet convert IN OUT: converts between the native format (.vts
// and other extensions), CSV (.csv), tab-separated text (.tsv, .txt) and
// the workbooks of the common spreadsheet programs (.xlsx read and written,
// .ods read).
// korvane sheet print FILE --out FILE.pdf [--png-pages DIR] [--no-headers]
// [--fit | --no-fit] [--header-picture FILE] [--footer-picture FILE]: prints the used part of a
// sheet file to an A4 PDF, without a display; --png-pages also paints the pages into PNG images.
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
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_sheet_printer.h"
#include "platform/sheet/cell_address.h"
#include "platform/sheet/cell_grid.h"
#include "platform/sheet/sheet_file.h"
#include "platform/sheet/sheet_printer.h"
#include "platform/sheet/text_utils.h"
#include "spread/vt_ss_property_list.h"
#include "spread/vt_ss_settings.h"
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

// The print settings of a document: its own settings, kept in the tag of
// its corner cell; the defaults where it has none.
krv::sheet::PrintSettings documentPrintSettings(const ControlDocument& doc) {
  VtSSPropertyList list;
  list.addFromWideText(doc.tag(0, 0).value_or(std::wstring()));
  VtSSSettings settings;
  settings.takeProperties(list);
  return settings.printSettings();
}

struct PrintOptions {
  std::string file, out, pngPages, headerPicture, footerPicture;
  bool noHeaders = false, fit = false, noFit = false;
};

int printSheetFile(const PrintOptions& o) {
  ControlDocument doc;
  std::string error;
  if (!krv::base::reportTo(krv::sheet::loadSheetFile(doc, o.file), error)) {
    std::cerr << "korvane sheet: " << krv::tools::withQuotedPaths(error, {o.file}) << "\n";
    return krv::tools::kExitInput;
  }
  krv::sheet::PrintSettings settings = documentPrintSettings(doc);
  if (o.noHeaders) settings.colHeader = settings.rowHeader = false;
  if (o.fit) settings.smartPrint = true;
  if (o.noFit) settings.smartPrint = false;
  if (!o.headerPicture.empty()) settings.headerFile = krv::base::utf8ToWide(o.headerPicture);
  if (!o.footerPicture.empty()) settings.footerFile = krv::base::utf8ToWide(o.footerPicture);
  if (settings.title.empty())
    settings.title = krv::base::utf8ToWide(std::filesystem::path(o.file).filename().string());
  if (!krv::qt::ensureApplication(krv::qt::Display::Offscreen)) {
    std::cerr << "korvane sheet: no drawing is possible here\n";
    return krv::tools::kExitFailed;
  }
  if (!o.pngPages.empty()) {
    if (!std::filesystem::is_directory(o.pngPages)) {
      std::cerr << "korvane sheet: no folder " << krv::tools::shellQuoted(o.pngPages) << "\n";
      return krv::tools::kExitOutput;
    }
    auto pages = krv::qt::QtSheetPrinter::savePagePictures(doc, settings, o.pngPages);
    if (!pages) {
      std::cerr << "korvane sheet: "
                << krv::tools::withQuotedPaths(pages.status().text(), {o.pngPages}) << "\n";
      return pages.status().path().empty() ? krv::tools::kExitFailed : krv::tools::kExitOutput;
    }
  }
  krv::qt::QtSheetPrinter printer;
  krv::sheet::setSheetPrinter(&printer);
  const krv::base::Status printed =
      krv::sheet::printSheet(doc, settings, krv::sheet::PrintTarget::PdfFile, o.out);
  krv::sheet::setSheetPrinter(nullptr);
  if (!printed.ok()) {
    std::cerr << "korvane sheet: " << krv::tools::withQuotedPaths(printed.text(), {o.out}) << "\n";
    // A failed write names the file; a sheet that cannot be laid out does not.
    return printed.path().empty() ? krv::tools::kExitFailed : krv::tools::kExitOutput;
  }
  return krv::tools::kExitOk;
}

}  // namespace

KRV_COMMAND([](CLI::App& app) {
  auto* sub = app.add_subcommand("sheet", "Show, convert or edit sheet files");
  sub->require_subcommand(1);

  auto* show = sub->add_subcommand(
      "show", "Print the rows and columns of a sheet file that hold something, as a table");
  auto file = std::make_shared<std::string>();
  auto formulas = std::make_shared<bool>(false);
  show->add_option("file", *file, "the sheet file (.vts/.json native, .csv, .tsv, .xlsx, .ods)")
      ->required();
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
  convert->add_option("in", *in, "the file to read (.vts/.json native, .csv, .tsv, .xlsx, .ods)")
      ->required();
  convert
      ->add_option("out", *out,
                   "the file to write, replaced atomically (.vts/.json native, .csv, .tsv, .xlsx)")
      ->required();
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

  auto* print = sub->add_subcommand(
      "print", "Print the used part of a sheet file to an A4 PDF (no display needed)");
  auto po = std::make_shared<PrintOptions>();
  print->add_option("file", po->file, "the sheet file (.vts/.json native, .csv, .tsv)")->required();
  print->add_option("--out", po->out, "the PDF file to write (replaced atomically)")->required();
  print->add_option("--png-pages", po->pngPages,
                    "also paint the pages into DIR/page-N.png (the folder must exist)");
  print->add_option("--header-picture", po->headerPicture,
                    "a picture printed at the top of every page (instead of the document's)");
  print->add_option("--footer-picture", po->footerPicture,
                    "a picture printed at the bottom of every page (instead of the document's)");
  print->add_flag("--no-headers", po->noHeaders, "leave out the column and row headers");
  auto* fit = print->add_flag("--fit", po->fit, "scale the columns down to the page width");
  print->add_flag("--no-fit", po->noFit, "print the columns at their size, across pages")
      ->excludes(fit);
  print->callback([po] { krv::tools::setExitCode(printSheetFile(*po)); });

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
