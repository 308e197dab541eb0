#include "spread/list_output_record.h"

#include "platform/base/record_file.h"

namespace krv::spread {

using base::JsonIo;
using base::Record;
using R = ListOutputRecord;

namespace {

void mapColumn(JsonIo& io, R::Column& c) {
  io.optional("name", c.name, std::string());
  io.optional("kind", c.kind, R::kNone,
              base::EnumText<R::ColumnKind>{{{R::kNone, "none"},
                                             {R::kInteger, "integer"},
                                             {R::kDecimal, "decimal"},
                                             {R::kText, "text"}}});
}

void mapRow(JsonIo& io, R::Row& row) {
  using K = ListOutputRow::Kind;
  io.optional(
      "kind", row.kind, K::kRegular,
      base::EnumText<K>{{{K::kRegular, "regular"}, {K::kMerged, "merged"}, {K::kTotal, "total"}}});
  io.list("cells", row.cells, base::Text{});
}

}  // namespace

const base::DocumentKind& listOutputFileKind() {
  static const base::DocumentKind kind = [] {
    base::DocumentKind k;
    k.format = "korvane list output";
    k.version = 1;
    k.what = "list output file";
    k.limits.maxBytes = 64u * 1024u * 1024u;
    k.limits.maxDepth = 6;
    return k;
  }();
  return kind;
}

void mapListOutput(JsonIo& io, R& r) {
  io.optional("title", r.title, std::string());
  io.list("columns", r.columns, Record<R::Column>{mapColumn});
  io.list("rows", r.rows, Record<R::Row>{mapRow});
  io.optional("template", r.templateFile, std::string());
  io.optional("output", r.output, std::string());
}

base::Status listOutputFromText(std::string_view text, R& r) {
  R fresh;
  base::Status s = base::readRecordText(text, listOutputFileKind(),
                                        [&](JsonIo& io) { mapListOutput(io, fresh); });
  if (s) r = fresh;
  return s;
}

base::Status readListOutputFile(const std::filesystem::path& file, R& r) {
  R fresh;
  base::Status s = base::readRecordFile(file, listOutputFileKind(),
                                        [&](JsonIo& io) { mapListOutput(io, fresh); });
  if (s) r = fresh;
  return s;
}

std::string listOutputToText(const R& r) {
  R copy = r;
  return base::recordText(listOutputFileKind(), [&](JsonIo& io) { mapListOutput(io, copy); });
}

base::Status writeListOutputFile(const std::filesystem::path& file, const R& r) {
  R copy = r;
  return base::writeRecordFile(file, listOutputFileKind(),
                               [&](JsonIo& io) { mapListOutput(io, copy); });
}

ListOutputDescription listOutputDescription(const R& r, const Krv_String& templateFile) {
  ListOutputDescription d;
  d.title = Krv_String::fromUtf8(r.title);
  d.columnCount = static_cast<int>(r.columns.size());
  for (const R::Column& c : r.columns) {
    d.headers.append(Krv_String::fromUtf8(c.name));
    d.columnKinds.append(static_cast<int>(c.kind));
  }
  for (const R::Row& row : r.rows) {
    ListOutputRow out;
    out.kind = row.kind;
    for (const std::string& cell : row.cells) out.cells.append(Krv_String::fromUtf8(cell));
    d.rows.push_back(std::move(out));
  }
  d.templateFile = templateFile;
  return d;
}

}  // namespace krv::spread
