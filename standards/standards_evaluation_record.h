#pragma once
// One standards evaluation (what StartDlgStandardsSS is run on) as a record
// file, with the outcome of the last successful run:
//
//   {"format": "korvane standards evaluation", "version": 1,
//    "standard": "EndPlate", "macro": "../library/Macros/EndPlateBeam.json",
//    "caller": "EndPlateBeam", "library": "../library",
//    "generalVariables": [{"name": "gen_edge_margin", "value": "10"}],
//    "variables": [{"name": "Thick", "kind": "Output", "type": "Double",
//                   "before": "15", "after": "20"}]}
//
// "standard" (required) is a name below the library's "Connection
// Standards" folder or the path of a sheet file; "macro" (required) the
// macro file evaluated. The macro is read through the standard's mapping
// for "caller" (default: the macro's name) or, with "moduleGroup", by
// direct names for that module group; the two exclude each other.
// "library" is the library folder (default: the program's sample library).
// "generalVariables" are passed besides the macro's own (a name given here
// replaces the macro's value). Relative paths are taken from the record
// file's folder by the program that runs it. "variables" is written after
// a successful evaluation: every variable cell with the macro's value
// before and the value after; it is not read as input.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/json_document.h"
#include "platform/base/json_io.h"

namespace krv::standards {

struct StandardsEvaluationRecord {
  struct GeneralVariable {
    std::string name, value;
    bool operator==(const GeneralVariable&) const = default;
  };
  struct Variable {
    std::string name, kind, type, before, after;
    bool operator==(const Variable&) const = default;
  };
  std::string standard;
  std::string macro;
  std::string caller;
  std::string moduleGroup;
  std::string library;
  std::vector<GeneralVariable> generalVariables;
  std::vector<Variable> variables;
  bool operator==(const StandardsEvaluationRecord&) const = default;
};

const base::DocumentKind& standardsEvaluationFileKind();
void mapStandardsEvaluation(base::JsonIo& io, StandardsEvaluationRecord& r);

// Reading leaves `r` unchanged on failure; errors name the file and place.
base::Status readStandardsEvaluationFile(const std::filesystem::path& file,
                                         StandardsEvaluationRecord& r);
base::Status writeStandardsEvaluationFile(const std::filesystem::path& file,
                                          const StandardsEvaluationRecord& r);
base::Status standardsEvaluationFromText(std::string_view text, StandardsEvaluationRecord& r);
std::string standardsEvaluationToText(const StandardsEvaluationRecord& r);

}  // namespace krv::standards
