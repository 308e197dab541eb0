#pragma once
// The native file format of sheet documents: a versioned, human-readable
// JSON document holding everything a ControlDocument holds.
//
//   {"format": "korvane sheet", "version": 1, "cols": 3, "rows": 10,
//    "cells": [{"col": 1, "row": 1, "values": [12.5, "text", true, null,
//                                              {"f": "=A1*2"}]}], ...}
//
// Cells are stored as runs of consecutive rows in one column: each entry of
// "values" is a number, a text, a boolean, null (an empty cell) or a
// formula {"f": "=..."}. Every other member (sizes, options, look, header
// texts, attributes, tags, spans, heights, widths, hidden rows and columns,
// active cell, selection) is optional and written only when it differs
// from the default.
//
// Loading builds the document aside and replaces the target only when the
// whole file was read: a malformed, truncated or oversized file (more
// columns or rows than the control holds, positions outside the declared
// size, nesting deeper than the format uses, a file from a newer version)
// is refused with a clear message and the target is left unchanged.
// Saving writes a temporary file beside the target and renames it over the
// target, so a failed save leaves the previous file whole.
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/base/status.h"
#include "platform/sheet/control_document.h"

namespace krv::sheet {

inline constexpr int kSheetFileVersion = 1;
inline constexpr char kSheetFileFormatName[] = "korvane sheet";
// Largest file the loader reads.
inline constexpr std::uintmax_t kMaxSheetFileBytes = 1u << 30;

// The document as native file text.
std::string sheetToJson(const ControlDocument& doc);
// Reads native file text into `doc`; on failure the error names the place
// in the document ("cells[2].values[0]") and `doc` is unchanged.
base::Status sheetFromJson(ControlDocument& doc, std::string_view text);

enum class SheetFileKind { Native, Csv, Tsv, Xlsx, Ods };
// By extension: ".csv" CSV, ".tsv" and ".txt" tab-separated, ".xlsx" and
// ".ods" workbooks of the common spreadsheet programs (sheet_import.h,
// sheet_xlsx_writer.h), anything else (".vts", ".json", ...) the native
// format.
SheetFileKind sheetFileKind(const std::filesystem::path& file);

// Loads a file of any of the kinds above (UTF-16 with a byte order mark is
// read too); the error names the file, and the document is then unchanged.
base::Status loadSheetFile(ControlDocument& doc, const std::filesystem::path& file);
// Saves in the kind of the extension, atomically (base::writeFileAtomic).
// ".ods" is read only: saving one is refused with the reason.
base::Status saveSheetFile(const ControlDocument& doc, const std::filesystem::path& file);

}  // namespace krv::sheet
