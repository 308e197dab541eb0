#pragma once
// The general variables (VtAutoStandardsData) as a record file:
//
//   {"format": "korvane general variables", "version": 1,
//    "drawings":  [{"name": "Grade", "value": "S355", "filter": "Beam\\a.dwg"}],
//    "standards": [{"name": "BoltGrade", "value": "8.8", "override": "Endplate",
//                   "filter": ""}]}
//
// One object per general variable: entry i of the record's arrays of one
// group. "name" is required (it may be empty, as the dialog allows);
// "value", "override" and "filter" read as "" when left out and are written
// only when not empty. Both lists may be left out (no variables). A record whose arrays of one
// group differ in length is written as if the shorter ones ended in empty texts.
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/base/json_document.h"
#include "platform/base/json_io.h"
#include "platform/core/vt_auto_standards_data.h"

namespace krv::core {

inline constexpr int kGeneralVariablesFileVersion = 1;
const base::DocumentKind& generalVariablesFileKind();

// The one mapping of the record.
void mapGeneralVariables(base::JsonIo& io, VtAutoStandardsData& data);

// Reading leaves `data` unchanged on failure; errors name the file and the
// place. Writing is atomic.
base::Status readGeneralVariablesFile(const std::filesystem::path& file, VtAutoStandardsData& data);
base::Status writeGeneralVariablesFile(const std::filesystem::path& file,
                                       const VtAutoStandardsData& data);
base::Status generalVariablesFromText(std::string_view text, VtAutoStandardsData& data);
std::string generalVariablesToText(const VtAutoStandardsData& data);

}  // namespace krv::core
