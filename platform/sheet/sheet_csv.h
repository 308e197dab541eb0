#pragma once
// Comma- and tab-separated text of a sheet: one line per row, one field per
// column, for the used range (rows and columns 1 up to the last that hold a
// value or a formula; a declared size beyond it is not kept). A field
// holds the cell's formula when it has one, else its data text. A data text
// that begins with "=" or "'" is written with a leading "'", which reading
// removes again, so texts and formulas read back exactly. Fields holding the
// separator, a quote or a line break are quoted ("..." with "" for a quote).
// Writing costs time and memory in proportion to the filled cells and the
// text written; a text longer than the given limit is refused before it is
// built (a cell in the far corner of the largest sheet would need 17 G
// separators).
//
// Reading accepts UTF-8 with or without BOM and UTF-16 with BOM, LF and
// CRLF line ends; a final line end does not start a row. The sheet gets as
// many rows as lines and as many columns as the longest line. An
// unterminated quote, more rows or columns than the control holds, or a
// formula the engine refuses is an error; the document is then unchanged.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/base/status.h"
#include "platform/sheet/control_document.h"

namespace krv::sheet {

// The text of the used range; an error when it would be longer than
// `maxBytes`.
krv::base::Result<std::string> sheetToDelimited(const ControlDocument& doc, char separator,
                                                std::uintmax_t maxBytes);
// Replaces the document's contents by the text's fields; an error (the
// document unchanged) for an unclosed quoted field, too many lines or
// fields, or a formula the engine refuses.
krv::base::Status sheetFromDelimited(ControlDocument& doc, std::string_view text, char separator);

// Any text with BOM or UTF-16 as UTF-8 without BOM.
std::string normalizeTextEncoding(std::string_view bytes);

}  // namespace krv::sheet
