#pragma once
// A list for the formula window's list output (CFormula mode 3), as a
// record file:
//
//   {"format": "korvane list output", "version": 1,
//    "title": "Bill of material",
//    "columns": [{"name": "Profile", "kind": "text"},
//                {"name": "Count", "kind": "integer"},
//                {"name": "Mass", "kind": "decimal"}],
//    "rows": [{"kind": "merged", "cells": ["Columns"]},
//             {"cells": ["HEA 200", "2", "190.4"]},
//             {"kind": "total", "cells": ["Total"]}],
//    "template": "../install/list_template.vts",
//    "output": "bill.vts"}
//
// A column's "kind" is "text", "integer", "decimal" or "none" (default); a
// row's "regular" (default), "merged" or "total". "title", "template" (the
// template sheet file) and "output" (where OK saves the laid-out sheet) are
// optional; relative paths are taken from the record file's folder by the
// program that runs it.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/json_document.h"
#include "platform/base/json_io.h"
#include "spread/list_output_layout.h"

namespace krv::spread {

struct ListOutputRecord {
  enum ColumnKind { kNone = 0, kInteger = 1, kDecimal = 2, kText = 3 };  // Krv_ListColumnKind
  struct Column {
    std::string name;
    ColumnKind kind = kNone;
    bool operator==(const Column&) const = default;
  };
  struct Row {
    ListOutputRow::Kind kind = ListOutputRow::kRegular;
    std::vector<std::string> cells;
    bool operator==(const Row&) const = default;
  };
  std::string title;
  std::vector<Column> columns;
  std::vector<Row> rows;
  std::string templateFile;
  std::string output;
  bool operator==(const ListOutputRecord&) const = default;
};

const base::DocumentKind& listOutputFileKind();
void mapListOutput(base::JsonIo& io, ListOutputRecord& r);

// Reading leaves `r` unchanged on failure; errors name the file and place.
base::Status readListOutputFile(const std::filesystem::path& file, ListOutputRecord& r);
base::Status writeListOutputFile(const std::filesystem::path& file, const ListOutputRecord& r);
base::Status listOutputFromText(std::string_view text, ListOutputRecord& r);
std::string listOutputToText(const ListOutputRecord& r);

// The description the layout takes; `templateFile` is the template's path
// as the caller resolved it (empty: none).
ListOutputDescription listOutputDescription(const ListOutputRecord& r,
                                            const Krv_String& templateFile);

}  // namespace krv::spread
