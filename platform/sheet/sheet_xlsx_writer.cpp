#include "platform/sheet/sheet_xlsx_writer.h"

#include <unistd.h>
#include <xlsxwriter.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <map>
#include <tuple>

#include "platform/base/file_io.h"
#include "platform/base/utf.h"
#include "platform/sheet/sheet_exchange.h"

namespace krv::sheet {

using base::Result;
using base::Status;

namespace {

constexpr std::size_t kMaxCellChars = 32767;

// Characters (code points) of UTF-8 text.
std::size_t charCount(std::string_view utf8) {
  std::size_t n = 0;
  for (unsigned char ch : utf8) n += (ch & 0xC0) != 0x80;
  return n;
}

// Pieces of at most `chunk` characters, never splitting a character.
std::vector<std::string> splitText(const std::string& utf8, std::size_t chunk) {
  std::vector<std::string> pieces;
  std::size_t start = 0, chars = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) continue;
    if (chars == chunk) {
      pieces.push_back(utf8.substr(start, i - start));
      start = i;
      chars = 0;
    }
    ++chars;
  }
  pieces.push_back(utf8.substr(start));
  return pieces;
}

bool isNumberType(int type) {
  return type == kCellTypeNumber || type == kCellTypeWholeNumber ||
         (type >= kCellTypeFirstOtherNumber && type <= kCellTypeLastOtherNumber);
}

// What a workbook format shows of a cell's attributes.
using FormatKey =
    std::tuple<std::wstring, int, int, uint32_t, uint32_t, uint32_t, int, uint32_t, std::string>;

FormatKey formatKeyOf(const CellAttributes& a) {
  std::string number;
  if (isNumberType(a.type))
    number = numberFormatCode(a.type == kCellTypeWholeNumber ? 0 : a.decimals,
                              (a.style & kNumberStyleThousands) != 0);
  const bool borders = a.borderMask & 0xF;
  return {
      a.fontName,  a.fontHeight,       a.fontWeight >= 600 ? 700 : 400, a.backColor,
      a.foreColor, a.borderMask & 0xF, borders ? a.borderStyle : 0,     borders ? a.borderColor : 0,
      number};
}

class Writer {
 public:
  Writer(const ControlDocument& doc, lxw_workbook* book) : d(doc), mBook(book) {}

  Status write() {
    mSheet = workbook_add_worksheet(mBook, "Sheet1");
    mMeta = workbook_add_worksheet(mBook, kExchangeSheetName);
    if (!mSheet || !mMeta) return Status::error("the workbook cannot be made");
    worksheet_hide(mMeta);
    if (Status s = writeLines(); !s) return s;
    if (Status s = writeSpans(); !s) return s;
    if (Status s = writeCells(); !s) return s;
    return writeMeta();
  }

 private:
  lxw_format* formatOf(const CellAttributes& a) {
    const FormatKey key = formatKeyOf(a);
    if (key == formatKeyOf(CellAttributes{})) return nullptr;
    auto [it, added] = mFormats.try_emplace(key, nullptr);
    if (!added) return it->second;
    lxw_format* f = workbook_add_format(mBook);
    if (!a.fontName.empty()) format_set_font_name(f, base::toUtf8(a.fontName).c_str());
    if (a.fontHeight > 0) format_set_font_size(f, pixelsToPoints(a.fontHeight));
    if (a.fontWeight >= 600) format_set_bold(f);
    if (a.backColor != kColorDefault) {
      format_set_pattern(f, LXW_PATTERN_SOLID);
      format_set_bg_color(f, colorrefToRgb(a.backColor));
    }
    if (a.foreColor != kColorDefault) format_set_font_color(f, colorrefToRgb(a.foreColor));
    const uint8_t style = static_cast<uint8_t>(borderStyleToWorkbook(a.borderStyle));
    const lxw_color_t colour = colorrefToRgb(a.borderColor);
    if (a.borderMask & 1) {
      format_set_left(f, style);
      format_set_left_color(f, colour);
    }
    if (a.borderMask & 2) {
      format_set_right(f, style);
      format_set_right_color(f, colour);
    }
    if (a.borderMask & 4) {
      format_set_top(f, style);
      format_set_top_color(f, colour);
    }
    if (a.borderMask & 8) {
      format_set_bottom(f, style);
      format_set_bottom_color(f, colour);
    }
    if (!std::get<8>(key).empty()) format_set_num_format(f, std::get<8>(key).c_str());
    it->second = f;
    return f;
  }

  static Status check(lxw_error e, const std::string& what) {
    if (e == LXW_NO_ERROR) return {};
    return Status::error(what + ": " + lxw_strerror(e));
  }

  Status writeLines() {
    // Columns: width, format and hidden state, one entry per column that
    // has any of them.
    std::map<int32_t, bool> cols;
    for (auto& [c, w] : d.colWidths()) cols[c] = true;
    for (auto& [c, a] : d.colAttributes()) cols[c] = true;
    for (int32_t c : d.hiddenCols()) cols[c] = true;
    for (auto& [c, unused] : cols) {
      if (c < 1 || c > d.maxCols()) continue;
      lxw_row_col_options opt{};
      opt.hidden = d.isColHidden(c);
      auto a = d.colAttributes().find(c);
      lxw_format* f = a == d.colAttributes().end() ? nullptr : formatOf(a->second);
      const lxw_col_t at = static_cast<lxw_col_t>(c - 1);
      if (Status s = check(
              worksheet_set_column_opt(mSheet, at, at, pixelsToColumnChars(d.colWidth(c)), f, &opt),
              "column " + std::to_string(c));
          !s)
        return s;
    }
    std::map<int32_t, bool> rows;
    for (auto& [r, h] : d.rowHeights()) rows[r] = true;
    for (auto& [r, a] : d.rowAttributes()) rows[r] = true;
    for (int32_t r : d.hiddenRows()) rows[r] = true;
    if (d.defaultRowHeight() != ControlDocument::kDefaultRowHeight)
      worksheet_set_default_row(mSheet, pixelsToPoints(d.defaultRowHeight()), LXW_FALSE);
    for (auto& [r, unused] : rows) {
      if (r < 1 || r > d.maxRows()) continue;
      lxw_row_col_options opt{};
      opt.hidden = d.isRowHidden(r);
      auto a = d.rowAttributes().find(r);
      lxw_format* f = a == d.rowAttributes().end() ? nullptr : formatOf(a->second);
      if (Status s = check(worksheet_set_row_opt(mSheet, static_cast<lxw_row_t>(r - 1),
                                                 pixelsToPoints(d.rowHeight(r)), f, &opt),
                           "row " + std::to_string(r));
          !s)
        return s;
    }
    return {};
  }

  Status writeSpans() {
    for (const CellSpan& sp : d.spans()) {
      if (sp.numCols * sp.numRows < 2) continue;
      const Status s =
          check(worksheet_merge_range(mSheet, static_cast<lxw_row_t>(sp.row - 1),
                                      static_cast<lxw_col_t>(sp.col - 1),
                                      static_cast<lxw_row_t>(sp.row + sp.numRows - 2),
                                      static_cast<lxw_col_t>(sp.col + sp.numCols - 2), "",
                                      formatOf(d.attributes(sp.col, sp.row))),
                "the span at " + base::toUtf8(ControlDocument::cellName(sp.col, sp.row)));
      if (!s) return s;
    }
    return {};
  }

  Status writeCells() {
    const CellDocument& engine = d.engine();
    Status failed;
    auto cellName = [](int32_t c, int32_t r) {
      return base::toUtf8(ControlDocument::cellName(c, r));
    };
    auto write = [&](int32_t c, int32_t r, lxw_format* f) -> Status {
      const lxw_row_t row = static_cast<lxw_row_t>(r - 1);
      const lxw_col_t col = static_cast<lxw_col_t>(c - 1);
      const Value& v = engine.value(c, r);
      lxw_error e = LXW_NO_ERROR;
      if (engine.hasFormula(c, r)) {
        const std::string formula = engine.formulaText(c, r);
        if (v.type() == ValueType::Number)
          e = worksheet_write_formula_num(mSheet, row, col, formula.c_str(), f, v.number());
        else if (v.type() == ValueType::Text)
          e = worksheet_write_formula_str(mSheet, row, col, formula.c_str(), f, v.text().c_str());
        else if (v.type() == ValueType::Error)  // the last value, for programs that show it
          e = worksheet_write_formula_str(mSheet, row, col, formula.c_str(), f,
                                          errorText(v.error()));
        else
          e = worksheet_write_formula(mSheet, row, col, formula.c_str(), f);
      } else {
        switch (v.type()) {
          case ValueType::Number:
            e = worksheet_write_number(mSheet, row, col, v.number(), f);
            break;
          case ValueType::Text:
            if (charCount(v.text()) > kMaxCellChars)
              return Status::error("the text in " + cellName(c, r) + " is longer than the " +
                                   std::to_string(kMaxCellChars) +
                                   " characters a workbook cell holds");
            e = worksheet_write_string(mSheet, row, col, v.text().c_str(), f);
            break;
          case ValueType::Bool:
            e = worksheet_write_boolean(mSheet, row, col, v.boolean(), f);
            break;
          case ValueType::Error: {
            // An error value is written as the formula that gives it, with
            // the error as its last value for programs that show that.
            const std::string text = std::string("=") + errorText(v.error());
            e = worksheet_write_formula_str(mSheet, row, col, text.c_str(), f,
                                            errorText(v.error()));
            break;
          }
          default:
            e = worksheet_write_blank(mSheet, row, col, f);
        }
      }
      return check(e, "the cell " + cellName(c, r));
    };
    engine.grid().forEachAllocated(1, 1, d.maxCols(), d.maxRows(),
                                   [&](int32_t c, int32_t r, const Cell& cell) {
                                     if (!failed || !cell.isFilled()) return;
                                     failed = write(c, r, formatOf(d.attributes(c, r)));
                                   });
    if (!failed) return failed;
    // Empty cells with attributes of their own keep them.
    for (auto& [k, a] : d.cellAttributes()) {
      const int32_t c = ControlDocument::keyCol(k), r = ControlDocument::keyRow(k);
      if (c < 1 || r < 1 || c > d.maxCols() || r > d.maxRows()) continue;
      if (engine.grid().value(c, r).isEmpty() && !engine.hasFormula(c, r)) {
        lxw_format* f = formatOf(a);
        if (f)
          if (Status s = check(worksheet_write_blank(mSheet, static_cast<lxw_row_t>(r - 1),
                                                     static_cast<lxw_col_t>(c - 1), f),
                               "the cell " + cellName(c, r));
              !s)
            return s;
      }
    }
    return {};
  }

  // ---- the hidden worksheet ----------------------------------------------------

  void record(const char* kind, int32_t col, int32_t row) {
    mMetaCol = 0;
    worksheet_write_string(mMeta, mMetaRow, 0, kind, nullptr);
    worksheet_write_number(mMeta, mMetaRow, 1, col, nullptr);
    worksheet_write_number(mMeta, mMetaRow, 2, row, nullptr);
    mMetaCol = 3;
    ++mMetaRow;
  }
  lxw_row_t lastRow() const { return mMetaRow - 1; }
  void text(const std::wstring& t) {
    for (const std::string& piece : splitText(base::toUtf8(t), kExchangeTextChunk))
      worksheet_write_string(mMeta, lastRow(), mMetaCol++, piece.c_str(), nullptr);
  }
  void number(double v) { worksheet_write_number(mMeta, lastRow(), mMetaCol++, v, nullptr); }
  void boolean(bool v) { worksheet_write_boolean(mMeta, lastRow(), mMetaCol++, v, nullptr); }

  void typeRecord(int32_t col, int32_t row, const CellAttributes& a) {
    if (sameTypeFields(a, CellAttributes{})) return;
    record("type", col, row);
    number(a.type);
    number(a.style);
    number(a.decimals);
    number(a.minValue);
    number(a.maxValue);
    number(a.maxLength);
    boolean(a.locked);
    text(a.typeText);  // last: a long text takes the cells after it
  }

  // The look of the sheet's default, a column's or a row's attributes: the
  // workbook keeps column and row formats, but they are not always read back.
  void lookRecord(int32_t col, int32_t row, const CellAttributes& a) {
    const CellAttributes none;
    if (formatKeyOf(a) == formatKeyOf(none) && a.fontWeight == none.fontWeight) return;
    record("look", col, row);
    number(a.fontHeight);
    number(a.fontWeight);
    number(a.backColor);
    number(a.foreColor);
    number(a.borderMask);
    number(a.borderStyle);
    number(a.borderColor);
    text(a.fontName);
  }

  Status writeMeta() {
    worksheet_set_column(mMeta, 0, 0, 10, nullptr);
    record("size", d.maxCols(), d.maxRows());
    number(d.defaultColWidth());
    number(d.defaultRowHeight());
    const CellAttributes& def = d.defaultAttributes();
    lookRecord(0, 0, def);
    for (auto& [c, a] : d.colAttributes()) lookRecord(c, 0, a);
    for (auto& [r, a] : d.rowAttributes()) lookRecord(0, r, a);
    typeRecord(0, 0, def);
    for (auto& [c, a] : d.colAttributes()) typeRecord(c, 0, a);
    for (auto& [r, a] : d.rowAttributes()) typeRecord(0, r, a);
    std::map<uint64_t, const CellAttributes*> cells;  // in a stable order
    for (auto& [k, a] : d.cellAttributes()) cells[k] = &a;
    for (auto& [k, a] : cells)
      typeRecord(ControlDocument::keyCol(k), ControlDocument::keyRow(k), *a);
    for (auto& [c, t] : d.colHeaders()) {
      record("header", c, 0);
      text(t);
    }
    for (auto& [r, t] : d.rowHeaders()) {
      record("header", 0, r);
      text(t);
    }
    std::map<uint64_t, const std::wstring*> tags;
    for (auto& [k, t] : d.tags()) tags[k] = &t;
    for (auto& [k, t] : tags) {
      record("tag", ControlDocument::keyCol(k), ControlDocument::keyRow(k));
      text(*t);
    }
    for (int32_t c : d.hiddenCols()) record("hidden", c, 0);
    for (int32_t r : d.hiddenRows()) record("hidden", 0, r);
    return {};
  }

  const ControlDocument& d;
  lxw_workbook* mBook;
  lxw_worksheet* mSheet = nullptr;
  lxw_worksheet* mMeta = nullptr;
  std::map<FormatKey, lxw_format*> mFormats;
  lxw_row_t mMetaRow = 0;
  lxw_col_t mMetaCol = 0;
};

// A temporary file that is removed when it goes.
struct TempFile {
  std::filesystem::path path;
  ~TempFile() {
    std::error_code ec;
    std::filesystem::remove(path, ec);
  }
};

}  // namespace

Result<std::string> sheetToXlsx(const ControlDocument& doc) {
  static std::atomic<unsigned> counter{0};
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  if (ec) return Status::error("no temporary folder: " + ec.message());
  TempFile temp{folder / ("krv-xlsx-" + std::to_string(::getpid()) + "-" +
                          std::to_string(counter++) + ".xlsx")};
  lxw_workbook_options options{};
  std::string tmpdir = folder.string();
  options.tmpdir = tmpdir.data();
  lxw_workbook* book = workbook_new_opt(temp.path.c_str(), &options);
  if (!book) return Status::error("the workbook cannot be made in " + folder.string());
  Writer writer(doc, book);
  const Status written = writer.write();
  const lxw_error closed = workbook_close(book);  // also frees it
  if (!written) return written;
  if (closed != LXW_NO_ERROR)
    return Status::error(std::string("the workbook cannot be written: ") + lxw_strerror(closed));
  return base::readFile(temp.path, std::uintmax_t{1} << 31);
}

}  // namespace krv::sheet
