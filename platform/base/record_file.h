#pragma once
// A record kept in a versioned JSON document of its own, read and written
// through its one map function (json_io.h):
//
//   {"format": "korvane formula window", "version": 1, ...the record's members}
//
// Reading refuses what readDocument refuses (malformed JSON, another kind,
// a newer version) and what the map function refuses, with the file and the
// place ("window.json: referenceStyle: one of ... is expected"). Writing
// puts "format" and "version" first, then the members in the order the map
// function names them, and replaces the file atomically.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/base/json_document.h"
#include "platform/base/json_io.h"

namespace krv::base {

using RecordMap = std::function<void(JsonIo&)>;

// Runs `map` on a reader of the document in `text`; errors name the place.
Status readRecordText(std::string_view text, const DocumentKind& kind, const RecordMap& map);
// The same on a file; errors also name the file.
Status readRecordFile(const std::filesystem::path& file, const DocumentKind& kind,
                      const RecordMap& map);

// The document: format, version and what `map` writes, indented by two.
std::string recordText(const DocumentKind& kind, const RecordMap& map);
// Writes recordText atomically; the failure names the file.
Status writeRecordFile(const std::filesystem::path& file, const DocumentKind& kind,
                       const RecordMap& map);

}  // namespace krv::base
