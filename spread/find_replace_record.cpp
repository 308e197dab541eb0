#include "spread/find_replace_record.h"

#include "platform/base/record_file.h"

namespace krv::spread {

using base::JsonIo;

const base::DocumentKind& findReplaceFileKind() {
  static const base::DocumentKind kind = [] {
    base::DocumentKind k;
    k.format = "korvane find and replace";
    k.version = 1;
    k.what = "find and replace file";
    k.limits.maxBytes = 1u << 20;
    k.limits.maxDepth = 4;
    return k;
  }();
  return kind;
}

void mapFindReplace(JsonIo& io, FindReplaceRecord& r) {
  io.field("sheet", r.sheet, base::Text{true});
  io.optional("find", r.find, std::string());
  io.optional("replace", r.replace, std::string());
}

base::Status findReplaceFromText(std::string_view text, FindReplaceRecord& r) {
  FindReplaceRecord fresh;
  base::Status s = base::readRecordText(text, findReplaceFileKind(),
                                        [&](JsonIo& io) { mapFindReplace(io, fresh); });
  if (s) r = fresh;
  return s;
}

base::Status readFindReplaceFile(const std::filesystem::path& file, FindReplaceRecord& r) {
  FindReplaceRecord fresh;
  base::Status s = base::readRecordFile(file, findReplaceFileKind(),
                                        [&](JsonIo& io) { mapFindReplace(io, fresh); });
  if (s) r = fresh;
  return s;
}

std::string findReplaceToText(const FindReplaceRecord& r) {
  FindReplaceRecord copy = r;
  return base::recordText(findReplaceFileKind(), [&](JsonIo& io) { mapFindReplace(io, copy); });
}

base::Status writeFindReplaceFile(const std::filesystem::path& file, const FindReplaceRecord& r) {
  FindReplaceRecord copy = r;
  return base::writeRecordFile(file, findReplaceFileKind(),
                               [&](JsonIo& io) { mapFindReplace(io, copy); });
}

}  // namespace krv::spread
