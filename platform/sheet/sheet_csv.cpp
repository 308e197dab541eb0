#include "platform/sheet/sheet_csv.h"

#include <algorithm>
#include <vector>

#include "platform/base/byte_order_mark.h"
#include "platform/base/utf.h"
#include "platform/sheet/cell_grid.h"
#include "platform/sheet/text_utils.h"

namespace krv::sheet {

namespace {

void appendField(std::string& out, const std::string& field, char sep) {
  bool quote = field.find_first_of(std::string{sep, '"', '\n', '\r'}) != std::string::npos;
  if (!quote) {
    out += field;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

std::string normalizeTextEncoding(std::string_view bytes) {
  base::ByteOrderMark mark;
  const std::string_view text = base::stripByteOrderMark(bytes, &mark);
  if (mark != base::ByteOrderMark::Utf16LittleEndian && mark != base::ByteOrderMark::Utf16BigEndian)
    return std::string(text);
  const base::ByteOrder order = mark == base::ByteOrderMark::Utf16LittleEndian
                                    ? base::ByteOrder::LittleEndian
                                    : base::ByteOrder::BigEndian;
  return base::toUtf8(base::utf16ToWide(base::utf16Units(text, order)));
}

krv::base::Result<std::string> sheetToDelimited(const ControlDocument& doc, char separator,
                                                std::uintmax_t maxBytes) {
  // The fields of the filled cells in reading order, and the used range.
  struct Field {
    int32_t col, row;
    std::string text;
  };
  std::vector<Field> fields;
  int32_t cols = 0, rows = 0;
  std::uintmax_t fieldBytes = 0;
  const CellDocument& engine = doc.engine();
  FilledCellWalk walk(engine.grid(), 1, 1, doc.maxCols(), doc.maxRows());
  for (int32_t c = 0, r = 0; walk.next(c, r);) {
    std::string field;
    if (engine.hasFormula(c, r)) {
      field = engine.formulaText(c, r);
    } else {
      field = base::toUtf8(*doc.data(c, r));
      if (!field.empty() && (field[0] == '=' || field[0] == '\''))
        field.insert(field.begin(), '\'');
    }
    std::string quotedField;
    appendField(quotedField, field, separator);
    fieldBytes += quotedField.size();
    fields.push_back({c, r, std::move(quotedField)});
    cols = std::max(cols, c);
    rows = r;
  }
  // Every row has a line end and a separator between each two columns.
  const std::uintmax_t bytes =
      fieldBytes + static_cast<std::uintmax_t>(rows) * static_cast<std::uintmax_t>(cols);
  if (bytes > maxBytes) {
    return krv::base::Status::error(
        "the used range of " + std::to_string(cols) + " columns and " + std::to_string(rows) +
        " rows is too large for separated text (" + std::to_string(bytes) + " bytes; at most " +
        std::to_string(maxBytes) + ")");
  }
  std::string text;
  text.reserve(static_cast<size_t>(bytes));
  size_t next = 0;
  for (int32_t r = 1; r <= rows; ++r) {
    int32_t at = 1;
    for (; next < fields.size() && fields[next].row == r; ++next) {
      text.append(static_cast<size_t>(fields[next].col - at), separator);
      text += fields[next].text;
      at = fields[next].col;
    }
    text.append(static_cast<size_t>(cols - at), separator);
    text += '\n';
  }
  return text;
}

krv::base::Status sheetFromDelimited(ControlDocument& doc, std::string_view input, char separator) {
  std::string text = normalizeTextEncoding(input);
  // Split into records of fields first, so that the size is known.
  struct Field {
    int32_t col, row;
    std::string text;
  };
  std::vector<Field> fields;
  int32_t row = 1, col = 1, maxCol = 0, rows = 0;
  std::string cur;
  size_t i = 0, n = text.size();
  bool lineOpen = false;
  auto endField = [&] {
    if (col > kControlMaxCols) return false;
    if (!cur.empty()) fields.push_back({col, row, std::move(cur)});
    cur.clear();
    if (col > maxCol) maxCol = col;
    return true;
  };
  while (i < n) {
    char c = text[i];
    lineOpen = true;
    if (c == '"' && cur.empty()) {
      size_t start = i;
      ++i;
      bool closed = false;
      while (i < n) {
        if (text[i] == '"') {
          if (i + 1 < n && text[i + 1] == '"') {
            cur += '"';
            i += 2;
            continue;
          }
          closed = true;
          ++i;
          break;
        }
        cur += text[i++];
      }
      if (!closed) {
        return krv::base::Status::error("line " + std::to_string(row) +
                                        ": a quoted field that starts at byte " +
                                        std::to_string(start) + " is not closed");
      }
      continue;
    }
    if (c == separator) {
      if (!endField()) break;
      ++col;
      ++i;
      continue;
    }
    if (c == '\r' || c == '\n') {
      if (!endField()) break;
      if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
      ++i;
      rows = row;
      if (row >= kControlMaxRows && i < n) {
        return krv::base::Status::error("the text has more than " +
                                        std::to_string(kControlMaxRows) + " lines");
      }
      ++row;
      col = 1;
      lineOpen = false;
      continue;
    }
    cur += c;
    ++i;
  }
  if (col > kControlMaxCols) {
    return krv::base::Status::error("line " + std::to_string(row) + " has more than " +
                                    std::to_string(kControlMaxCols) + " fields");
  }
  if (lineOpen) {
    endField();
    rows = row;
  }
  ControlDocument fresh;
  fresh.engine().customFunctions() = doc.engine().customFunctions();
  fresh.setMaxCols(maxCol);
  fresh.setMaxRows(rows);
  for (const Field& f : fields) {
    if (f.text.size() > 1 && f.text[0] == '=') continue;
    std::wstring w = base::utf8ToWide(f.text[0] == '\'' ? std::string_view(f.text).substr(1)
                                                        : std::string_view(f.text));
    fresh.setData(f.col, f.row, w);
  }
  for (const Field& f : fields) {
    if (!(f.text.size() > 1 && f.text[0] == '=')) continue;
    if (krv::base::Status set = fresh.engine().setFormula(f.col, f.row, f.text); !set) {
      return krv::base::Status::error("line " + std::to_string(f.row) + ", field " +
                                      std::to_string(f.col) + ": formula " + f.text +
                                      " is refused: " + set.message());
    }
  }
  doc.swapContents(fresh);
  return {};
}

}  // namespace krv::sheet
