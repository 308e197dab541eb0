#pragma once
// What the find and replace dialog (CDlgFindReplace) is opened on, as a
// record file:
//
//   {"format": "korvane find and replace", "version": 1,
//    "sheet": "sections.vts", "find": "HEA", "replace": "HEB"}
//
// "sheet" is the sheet file searched (a relative path is taken from the
// record file's folder by the program that runs it); "find" and "replace"
// (default "") are the texts the dialog opens with, and hold those it was
// closed with when the record is written back.
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/base/json_document.h"
#include "platform/base/json_io.h"

namespace krv::spread {

struct FindReplaceRecord {
  std::string sheet;
  std::string find;
  std::string replace;
  bool operator==(const FindReplaceRecord&) const = default;
};

const base::DocumentKind& findReplaceFileKind();
void mapFindReplace(base::JsonIo& io, FindReplaceRecord& r);

// Reading leaves `r` unchanged on failure; errors name the file and place.
base::Status readFindReplaceFile(const std::filesystem::path& file, FindReplaceRecord& r);
base::Status writeFindReplaceFile(const std::filesystem::path& file, const FindReplaceRecord& r);
base::Status findReplaceFromText(std::string_view text, FindReplaceRecord& r);
std::string findReplaceToText(const FindReplaceRecord& r);

}  // namespace krv::spread
