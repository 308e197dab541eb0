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
#include <string>

#include "platform/core/krv_db_macro.h"
#include "platform/core/macro_data.h"

namespace krv {

inline constexpr int kMacroFileVersion = 1;

bool readMacroFile(const Krv_String& path, Krv_DbMacro& macro, MacroData& data, std::string& error);
bool writeMacroFile(const Krv_String& path, const Krv_DbMacro& macro, const MacroData& data, std::string& error);

// The same on a text in memory.
bool parseMacroText(const std::string& text, Krv_DbMacro& macro, MacroData& data, std::string& error);
std::string macroToText(const Krv_DbMacro& macro, const MacroData& data);

}  // namespace krv
