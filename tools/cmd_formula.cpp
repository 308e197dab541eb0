// korvane formula EXPRESSION [--sheet FILE] [--r1c1] [--cell REF]: evaluates
// one formula and prints the value the cell shows, or why it was refused.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "platform/sheet/cell_document.h"
#include "tools/command_registry.h"

namespace {

using krv::sheet::CellDocument;

// Splits one CSV line (fields may be quoted with "", "" inside quotes is
// a quote).
std::vector<std::string> csvFields(const std::string& line) {
  std::vector<std::string> out(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        out.back().push_back('"');
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        out.back().push_back(c);
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      out.emplace_back();
    } else {
      out.back().push_back(c);
    }
  }
  return out;
}

// Types a CSV file into the sheet from A1; returns the number of rows, or
// -1 with a message when the file cannot be read or does not fit.
int loadCsv(CellDocument& doc, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << "korvane formula: cannot read " << path << "\n";
    return -1;
  }
  std::string line;
  int row = 0;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (row == 0 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    ++row;
    auto fields = csvFields(line);
    for (size_t c = 0; c < fields.size(); ++c) {
      if (fields[c].empty()) continue;
      std::string err;
      if (!doc.setCellText(static_cast<int32_t>(c + 1), row, fields[c], &err)) {
        std::cerr << "korvane formula: " << path << " line " << row << " column " << c + 1 << ": " << err << "\n";
        return -1;
      }
    }
  }
  return row;
}

}  // namespace

KRV_COMMAND([](CLI::App& app) {
  auto* sub = app.add_subcommand("formula", "Evaluate one spreadsheet formula and print its value");
  auto expression = std::make_shared<std::string>();
  auto sheet = std::make_shared<std::string>();
  auto cell = std::make_shared<std::string>();
  auto r1c1 = std::make_shared<bool>(false);
  sub->add_option("expression", *expression, "the formula, with or without a leading '='")->required();
  sub->add_option("--sheet", *sheet, "a CSV file typed into the sheet from A1 before the formula is set");
  sub->add_option("--cell", *cell, "the cell (A1 form) that receives the formula; default: below the data");
  sub->add_flag("--r1c1", *r1c1, "read references in R1C1 style");
  sub->callback([=] {
    CellDocument doc;
    int rows = 0;
    if (!sheet->empty()) {
      rows = loadCsv(doc, *sheet);
      if (rows < 0) return krv::tools::setExitCode(1);
    }
    int32_t col = 1, row = rows + 1;
    if (!cell->empty()) {
      auto a = krv::sheet::parseA1(*cell);
      if (!a) {
        std::cerr << "korvane formula: not a cell reference: " << *cell << "\n";
        return krv::tools::setExitCode(1);
      }
      col = a->col;
      row = a->row;
    }
    if (*r1c1) doc.setReferenceStyle(krv::sheet::ReferenceStyle::R1C1);
    std::string err;
    if (!doc.setFormula(col, row, *expression, &err)) {
      std::cerr << "korvane formula: formula refused: " << err << "\n";
      return krv::tools::setExitCode(2);
    }
    std::cout << doc.valueText(col, row) << "\n";
    krv::tools::setExitCode(0);
  });
});
