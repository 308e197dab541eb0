#pragma once
// The spreadsheet editor's language as a record file, for running the
// language dialog (CDlgSSSettings) on a file instead of the registry:
//
//   {"format": "korvane editor language", "version": 1, "language": "EN"}
//
// "language" is one of the dialog's language codes "NL", "EN", "FR"
// (default "EN"); another text is refused. OK writes the chosen code back.
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/base/json_document.h"
#include "platform/base/json_io.h"

namespace krv::spread {

struct EditorLanguageRecord {
  enum Language { kNL = 0, kEN = 1, kFR = 2 };  // the dialog's entries
  Language language = kEN;
  bool operator==(const EditorLanguageRecord&) const = default;
};

const base::DocumentKind& editorLanguageFileKind();
void mapEditorLanguage(base::JsonIo& io, EditorLanguageRecord& r);

// Reading leaves `r` unchanged on failure; errors name the file and place.
base::Status readEditorLanguageFile(const std::filesystem::path& file, EditorLanguageRecord& r);
base::Status writeEditorLanguageFile(const std::filesystem::path& file,
                                     const EditorLanguageRecord& r);
base::Status editorLanguageFromText(std::string_view text, EditorLanguageRecord& r);
std::string editorLanguageToText(const EditorLanguageRecord& r);

}  // namespace krv::spread
