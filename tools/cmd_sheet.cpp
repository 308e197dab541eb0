// korvane sheet show FILE [--formulas]: prints the cells of a sheet file as
// an aligned table of value texts (with --formulas, a formula cell shows
// its formula).
// korvane sheet convert IN OUT: converts between the native format (.vts
// and other extensions) and CSV (.csv) or tab-separated text (.tsv, .txt).
#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/sheet/control_text.h"
#include "platform/sheet/sheet_file.h"
#include "platform/sheet/text_utils.h"
#include "tools/command_registry.h"
#include "tools/exit_codes.h"
#include "tools/shell_quote.h"

namespace {

using krv::sheet::ControlDocument;

// The filled extent of a sheet: the last column and row holding something.
void usedExtent(const ControlDocument& doc, int32_t& cols, int32_t& rows) {
  cols = rows = 0;
  doc.engine().grid().forEachAllocated(1, 1, doc.maxCols(), doc.maxRows(),
                                        [&](int32_t c, int32_t r, const krv::sheet::Cell& cell) {
                                          if (cell.value.isEmpty() && cell.formula == 0) return;
                                          cols = std::max(cols, c);
                                          rows = std::max(rows, r);
                                        });
}

void printTable(const ControlDocument& doc, bool formulas, std::ostream& out) {
  int32_t cols = 0, rows = 0;
  usedExtent(doc, cols, rows);
  out << "sheet of " << doc.maxCols() << " columns and " << doc.maxRows() << " rows\n";
  if (cols == 0) return;
  // Cell texts, header row and column first.
  std::vector<std::vector<std::string>> table(static_cast<size_t>(rows) + 1,
                                              std::vector<std::string>(static_cast<size_t>(cols) + 1));
  for (int32_t r = 0; r <= rows; ++r) {
    for (int32_t c = 0; c <= cols; ++c) {
      std::wstring t;
      if (formulas && c > 0 && r > 0) t = *doc.formula(c, r);
      if (t.empty()) t = *doc.valueText(c, r);
      for (auto& ch : t) {
        if (ch == L'\n' || ch == L'\r' || ch == L'\t') ch = L' ';
      }
      table[static_cast<size_t>(r)][static_cast<size_t>(c)] = krv::sheet::toUtf8Text(t);
    }
  }
  std::vector<size_t> width(static_cast<size_t>(cols) + 1, 0);
  for (auto& row : table) {
    for (size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], krv::sheet::charCount(row[c]));
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
  auto* sub = app.add_subcommand("sheet", "Show or convert sheet files");
  sub->require_subcommand(1);

  auto* show = sub->add_subcommand("show", "Print the cells of a sheet file as a table");
  auto file = std::make_shared<std::string>();
  auto formulas = std::make_shared<bool>(false);
  show->add_option("file", *file, "the sheet file (.vts/.json native, .csv, .tsv)")->required();
  show->add_flag("--formulas", *formulas, "show formulas instead of their values");
  show->callback([=] {
    ControlDocument doc;
    std::string error;
    if (!krv::sheet::loadSheetFile(doc, *file, error)) {
      std::cerr << "korvane sheet: " << krv::tools::withQuotedPaths(error, {*file}) << "\n";
      return krv::tools::setExitCode(krv::tools::kExitInput);
    }
    printTable(doc, *formulas, std::cout);
    krv::tools::setExitCode(krv::tools::kExitOk);
  });

  auto* convert = sub->add_subcommand("convert", "Convert a sheet file to another format by extension");
  auto in = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  convert->add_option("in", *in, "the file to read")->required();
  convert->add_option("out", *out, "the file to write (replaced atomically)")->required();
  convert->callback([=] {
    ControlDocument doc;
    std::string error;
    if (!krv::sheet::loadSheetFile(doc, *in, error)) {
      std::cerr << "korvane sheet: " << krv::tools::withQuotedPaths(error, {*in}) << "\n";
      return krv::tools::setExitCode(krv::tools::kExitInput);
    }
    if (!krv::sheet::saveSheetFile(doc, *out, error)) {
      std::cerr << "korvane sheet: " << krv::tools::withQuotedPaths(error, {*out}) << "\n";
      return krv::tools::setExitCode(krv::tools::kExitOutput);
    }
    krv::tools::setExitCode(krv::tools::kExitOk);
  });
});
