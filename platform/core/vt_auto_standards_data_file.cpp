#include "platform/core/vt_auto_standards_data_file.h"

#include <algorithm>
#include <vector>

#include "platform/base/record_file.h"

namespace krv::core {
namespace {

using base::JsonIo;
using base::Record;

// One general variable: entry i of its group's arrays.
struct Row {
  std::string name, value, override_, filter;
};

void mapDrawingRow(JsonIo& io, Row& r) {
  io.field("name", r.name);
  io.optional("value", r.value, std::string());
  io.optional("filter", r.filter, std::string());
}

void mapStandardsRow(JsonIo& io, Row& r) {
  io.field("name", r.name);
  io.optional("value", r.value, std::string());
  io.optional("override", r.override_, std::string());
  io.optional("filter", r.filter, std::string());
}

std::string textAt(const Krv_StringArray& a, int i) { return i < a.length() ? a[i].utf8() : ""; }

// The rows of a group; `override` is null for the drawings.
std::vector<Row> rowsOf(const Krv_StringArray& names, const Krv_StringArray& values,
                        const Krv_StringArray* overrides, const Krv_StringArray& filters) {
  int count = std::max(
      {names.length(), values.length(), filters.length(), overrides ? overrides->length() : 0});
  std::vector<Row> rows(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    Row& r = rows[static_cast<std::size_t>(i)];
    r.name = textAt(names, i);
    r.value = textAt(values, i);
    if (overrides) r.override_ = textAt(*overrides, i);
    r.filter = textAt(filters, i);
  }
  return rows;
}

void setGroup(const std::vector<Row>& rows, Krv_StringArray& names, Krv_StringArray& values,
              Krv_StringArray* overrides, Krv_StringArray& filters) {
  names.removeAll();
  values.removeAll();
  filters.removeAll();
  if (overrides) overrides->removeAll();
  for (const Row& r : rows) {
    names.append(Krv_String::fromUtf8(r.name));
    values.append(Krv_String::fromUtf8(r.value));
    if (overrides) overrides->append(Krv_String::fromUtf8(r.override_));
    filters.append(Krv_String::fromUtf8(r.filter));
  }
}

}  // namespace

const base::DocumentKind& generalVariablesFileKind() {
  static const base::DocumentKind kind = [] {
    base::DocumentKind k;
    k.format = "korvane general variables";
    k.version = kGeneralVariablesFileVersion;
    k.what = "general variables file";
    k.limits.maxBytes = 16u * 1024u * 1024u;
    k.limits.maxDepth = 8;
    return k;
  }();
  return kind;
}

void mapGeneralVariables(JsonIo& io, VtAutoStandardsData& d) {
  std::vector<Row> drawings = rowsOf(d.dwgGenVars(), d.dwgGenValues(), nullptr, d.dwgGenFilters());
  std::vector<Row> standards =
      rowsOf(d.stdGenVars(), d.stdGenValues(), &d.stdGenOverrides(), d.stdGenFilters());
  io.list("drawings", drawings, Record<Row>{mapDrawingRow});
  io.list("standards", standards, Record<Row>{mapStandardsRow});
  if (!io.reading() || !io.ok()) return;
  setGroup(drawings, d.dwgGenVars(), d.dwgGenValues(), nullptr, d.dwgGenFilters());
  setGroup(standards, d.stdGenVars(), d.stdGenValues(), &d.stdGenOverrides(), d.stdGenFilters());
}

base::Status generalVariablesFromText(std::string_view text, VtAutoStandardsData& data) {
  VtAutoStandardsData fresh;
  base::Status s = base::readRecordText(text, generalVariablesFileKind(),
                                        [&](JsonIo& io) { mapGeneralVariables(io, fresh); });
  if (s) data = fresh;
  return s;
}

base::Status readGeneralVariablesFile(const std::filesystem::path& file,
                                      VtAutoStandardsData& data) {
  VtAutoStandardsData fresh;
  base::Status s = base::readRecordFile(file, generalVariablesFileKind(),
                                        [&](JsonIo& io) { mapGeneralVariables(io, fresh); });
  if (s) data = fresh;
  return s;
}

std::string generalVariablesToText(const VtAutoStandardsData& data) {
  return base::recordText(generalVariablesFileKind(), [&](JsonIo& io) {
    mapGeneralVariables(io, const_cast<VtAutoStandardsData&>(data));  // writing leaves it alone
  });
}

base::Status writeGeneralVariablesFile(const std::filesystem::path& file,
                                       const VtAutoStandardsData& data) {
  return base::writeRecordFile(file, generalVariablesFileKind(), [&](JsonIo& io) {
    mapGeneralVariables(io, const_cast<VtAutoStandardsData&>(data));
  });
}

}  // namespace krv::core
