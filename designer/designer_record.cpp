#include "designer/designer_record.h"

#include "platform/base/record_file.h"

namespace krv::designer {

const base::DocumentKind& designerRecordKind() {
  static const base::DocumentKind kind = [] {
    base::DocumentKind k;
    k.format = "korvane dialog design";
    k.version = 1;
    k.what = "dialog design record";
    k.limits.maxBytes = 1u << 16;
    k.limits.maxDepth = 2;
    return k;
  }();
  return kind;
}

void mapDesignerRecord(base::JsonIo& io, DesignerRecord& r) {
  io.optional("design", r.design, std::string());
}

base::Status readDesignerRecordFile(const std::filesystem::path& file, DesignerRecord& r) {
  DesignerRecord fresh;
  base::Status s = base::readRecordFile(file, designerRecordKind(),
                                        [&](base::JsonIo& io) { mapDesignerRecord(io, fresh); });
  if (s) r = fresh;
  return s;
}

}  // namespace krv::designer
