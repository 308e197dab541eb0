#include "spread/editor_language_record.h"

#include "platform/base/record_file.h"

namespace krv::spread {

using base::JsonIo;

const base::DocumentKind& editorLanguageFileKind() {
  static const base::DocumentKind kind = [] {
    base::DocumentKind k;
    k.format = "korvane editor language";
    k.version = 1;
    k.what = "editor language file";
    k.limits.maxBytes = 1u << 16;
    k.limits.maxDepth = 2;
    return k;
  }();
  return kind;
}

void mapEditorLanguage(JsonIo& io, EditorLanguageRecord& r) {
  using L = EditorLanguageRecord::Language;
  io.optional("language", r.language, L::kEN,
              base::EnumText<L>{{{L::kNL, "NL"}, {L::kEN, "EN"}, {L::kFR, "FR"}}});
}

base::Status editorLanguageFromText(std::string_view text, EditorLanguageRecord& r) {
  EditorLanguageRecord fresh;
  base::Status s = base::readRecordText(text, editorLanguageFileKind(),
                                        [&](JsonIo& io) { mapEditorLanguage(io, fresh); });
  if (s) r = fresh;
  return s;
}

base::Status readEditorLanguageFile(const std::filesystem::path& file, EditorLanguageRecord& r) {
  EditorLanguageRecord fresh;
  base::Status s = base::readRecordFile(file, editorLanguageFileKind(),
                                        [&](JsonIo& io) { mapEditorLanguage(io, fresh); });
  if (s) r = fresh;
  return s;
}

std::string editorLanguageToText(const EditorLanguageRecord& r) {
  EditorLanguageRecord copy = r;
  return base::recordText(editorLanguageFileKind(),
                          [&](JsonIo& io) { mapEditorLanguage(io, copy); });
}

base::Status writeEditorLanguageFile(const std::filesystem::path& file,
                                     const EditorLanguageRecord& r) {
  EditorLanguageRecord copy = r;
  return base::writeRecordFile(file, editorLanguageFileKind(),
                               [&](JsonIo& io) { mapEditorLanguage(io, copy); });
}

}  // namespace krv::spread
