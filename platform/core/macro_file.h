#pragma once
// Macro files: a connection macro with its dialog data as a readable,
// versioned JSON document, for the sample library, tests and tools.
//
//   { "format": "korvane macro", "version": 1,
//     "macro": { "name": ..., "generalVariables": [{"name", "value"}],
//                "baseProfiles": [{"name", "section", "material"}],
//                "modules": [{"name", "group", "type",
//                             "variables": [{"name", "value", "visible", "settable"}],
//                             "cuts": [{"name", "cutType", "offsets": {"Offset": 10, ...}}],
//                             "patterns": [{"name", "type", "nrBolts1", "nrBolts2",
//                                           "reverseStart1", "reverseStart2"}],
//                             "placements": [{"name", "section", "material"}]}] },
//     "dialog": { "caption", "tabs": [{"name", "title", "kind", "design",
//                 "variables": [{"name", "display", "value", "valueKind", "readOnly"}],
//                 "bolts": {"composition", "diameter", "holeOffset"},
//                 "patterns": [{"name", "nrBolts1", "nrBolts2"}],
//                 "flexFix": [{"variable", "fixed"}],
//                 "profileGroups": [{"name", "memberName", "section", "material"}]}] } }
//
// Only "format", "version" and "macro" are required, and within objects
// only the names; other members take their defaults. A file without a
// "dialog" gets the tabs that MacroData::buildTabsFromMacro makes. Cut
// offsets are named as cutOffsetName gives them. Reading refuses, with an
// error that names the place: files over 16 MB, nesting deeper than 32,
// malformed JSON, another format or a later version, members of the wrong
// type, duplicate module names and unknown offset names. On failure the
// outputs are unchanged. Writing is atomic.
//
// Files are kept under version control and edited by hand, so writing a
// macro back into the text it was read from (`source`) changes only what
// changed: members keep their order, numbers that did not change keep
// their spelling, members left out because they hold their default stay
// out, a file without "dialog" gets none as long as its tabs are those
// made from the macro, and new members and elements are laid out as their
// neighbours (indentation, line ends, spacing). Without a source, or when
// the source no longer fits, the document is written anew, members with
// their defaults left out.
#include <string>

#include "platform/base/status.h"
#include "platform/core/krv_db_macro.h"
#include "platform/core/macro_data.h"

namespace krv::core {

inline constexpr int kMacroFileVersion = 1;

// Errors name the file and the place in the document
// ("macro.json: macro.modules[0].variables[0].value: a number is expected").
// On success `source`, when given, receives the file's text for writing
// back.
base::Status readMacroFile(const Krv_String& path, Krv_DbMacro& macro, MacroData& data,
                           std::string* source = nullptr);
base::Status writeMacroFile(const Krv_String& path, const Krv_DbMacro& macro, const MacroData& data,
                            const std::string& source = std::string());

// The same on a text in memory.
base::Status parseMacroText(const std::string& text, Krv_DbMacro& macro, MacroData& data);
std::string macroToText(const Krv_DbMacro& macro, const MacroData& data,
                        const std::string& source = std::string());

}  // namespace krv::core
