#include "platform/base/record_file.h"

#include "platform/base/file_io.h"

namespace krv::base {

namespace {
Status readFrom(const Json& root, const RecordMap& map) {
  JsonIo io = JsonIo::reader(root);
  map(io);
  return io.status();
}
}  // namespace

Status readRecordText(std::string_view text, const DocumentKind& kind, const RecordMap& map) {
  Result<Json> root = readDocument(text, kind);
  if (!root) return root.status();
  return readFrom(*root, map);
}

Status readRecordFile(const std::filesystem::path& file, const DocumentKind& kind,
                      const RecordMap& map) {
  Result<Json> root = readDocumentFile(file, kind);
  if (!root) return root.status();
  return readFrom(*root, map).inFile(file);
}

std::string recordText(const DocumentKind& kind, const RecordMap& map) {
  Json root{{"format", kind.format}, {"version", kind.version}};
  Json members;
  JsonIo io = JsonIo::writer(members);
  map(io);
  for (auto& [name, value] : members.items()) root[name] = value;
  return root.dump(2) + "\n";
}

Status writeRecordFile(const std::filesystem::path& file, const DocumentKind& kind,
                       const RecordMap& map) {
  return writeFileAtomic(file, recordText(kind, map));
}

}  // namespace krv::base
