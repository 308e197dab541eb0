#pragma once
// Reading versioned JSON documents, the one way every layer does it.
//
//   {"format": "korvane sheet", "version": 1, ...}
//
// parseJson turns text into a JSON value within limits: a text larger than
// the limit is refused before it is parsed, and nesting deeper than the
// limit is refused while parsing (before anything recurses over the value).
// readDocument also checks what makes a file one of ours: an object whose
// "format" names the kind and whose "version" this program reads. Every
// refusal is a Status whose place is a JSON path ("version",
// "macro.modules[0]") and whose message quotes the file's bytes only
// escaped (control characters and bytes that are not UTF-8 as \xNN), so a
// hostile file cannot reach a terminal through a message.
//
// Objects keep the order of their members (files are written back in the
// order people keep them).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "platform/base/status.h"

namespace krv::base {

using Json = nlohmann::ordered_json;

struct JsonLimits {
  std::uintmax_t maxBytes = 256u * 1024u * 1024u;
  // Arrays and objects within each other; the document itself is level 1.
  int maxDepth = 64;
};

// What a kind of document is.
struct DocumentKind {
  std::string format;  // the text of "format", e.g. "korvane sheet"
  int version = 1;     // the newest version this program reads
  // How messages name the document: "the macro file is larger than 16 MB",
  // "not a macro file (\"format\" must be \"korvane macro\")".
  std::string what = "document";
  JsonLimits limits;
};

// The JSON value of `text` (a UTF-8 byte order mark is skipped). Errors:
// "the <what> is larger than N MB" (or "N bytes"), "the <what> is nested
// deeper than N levels", "malformed JSON: parse error at line L, column C:
// ..." with the parser's words.
Result<Json> parseJson(std::string_view text, const JsonLimits& limits,
                       std::string_view what = "document");

// parseJson, then: the value must be an object, "format" must be
// `kind.format` ("not a <what> ..."), "version" a whole number from 1 to
// `kind.version` (missing: "the member \"version\" is missing"; newer: "the
// file was written by a newer version: format version N is newer than this
// program reads (up to M)"). The version read is in `version` when given.
Result<Json> readDocument(std::string_view text, const DocumentKind& kind, int* version = nullptr);

// readFile (with the kind's size limit), the file's text as UTF-8
// (fileTextAsUtf8: a byte order mark is dropped, UTF-16 with one is
// converted) and readDocument; every error names `path`.
Result<Json> readDocumentFile(const std::filesystem::path& path, const DocumentKind& kind,
                              int* version = nullptr);

// The value with the members of every object sorted by name, the order of
// files written as plain (unordered) JSON; `value` is moved from. Members
// are moved, not copied, and objects already in order are left as they
// are, so sorting a large document before dump() costs little.
Json sortedByName(Json&& value);

// Bytes of a file made safe to quote in a message: control characters and
// bytes that are not UTF-8 become \xNN; cut to `maxChars` characters and
// "…" (0: no limit).
std::string quotable(std::string_view bytes, std::size_t maxChars = 200);

}  // namespace krv::base
