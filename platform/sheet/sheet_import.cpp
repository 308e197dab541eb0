#include "platform/sheet/sheet_import.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <orcus/orcus_ods.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/import_interface.hpp>
#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>
#include <set>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "platform/base/utf.h"
#include "platform/sheet/formula_parser.h"
#include "platform/sheet/ods_formula.h"
#include "platform/sheet/sheet_exchange.h"
#include "platform/sheet/sheet_file.h"

namespace krv::sheet {

using base::Status;
namespace ss = orcus::spreadsheet;
namespace iface = orcus::spreadsheet::iface;

namespace {

// Thrown from the callbacks to stop the parser with a reason.
struct Refused : std::runtime_error {
  using std::runtime_error::runtime_error;
};

uint64_t cellKey(int32_t col, int32_t row) { return ControlDocument::key(col, row); }

uint32_t rgb(ss::color_elem_t r, ss::color_elem_t g, ss::color_elem_t b) {
  return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

// ---- styles ----------------------------------------------------------------

struct Font {
  std::string name;
  double points = 0;
  bool bold = false;
  std::optional<uint32_t> rgb;
};
struct Fill {
  ss::fill_pattern_t pattern = ss::fill_pattern_t::none;
  std::optional<uint32_t> fg, bg;
};
struct Border {
  uint32_t mask = 0;
  int style = 0;
  std::optional<uint32_t> rgb;
};
struct Xf {
  std::size_t font = 0, fill = 0, border = 0, numberFormat = 0;
};

class Styles : public iface::import_styles {
 public:
  std::vector<Font> fonts;
  std::vector<Fill> fills;
  std::vector<Border> borders;
  std::vector<Xf> xfs;
  std::map<std::size_t, std::string> numberFormats{
      {1, "0"}, {2, "0.00"}, {3, "#,##0"}, {4, "#,##0.00"}};

  // The visible attributes of cell format `index` over `a`.
  void apply(std::size_t index, CellAttributes& a) const {
    const CellAttributes none;
    a.fontName = none.fontName;
    a.fontHeight = none.fontHeight;
    a.fontWeight = none.fontWeight;
    a.foreColor = none.foreColor;
    a.backColor = none.backColor;
    a.borderMask = none.borderMask;
    a.borderStyle = none.borderStyle;
    a.borderColor = none.borderColor;
    if (index >= xfs.size()) return;
    const Xf& xf = xfs[index];
    if (xf.font < fonts.size()) {
      const Font& f = fonts[xf.font];
      const Font* base = fonts.empty() ? nullptr : &fonts[0];
      if (!base || f.name != base->name) a.fontName = base::utf8ToWide(f.name);
      if ((!base || f.points != base->points) && f.points > 0)
        a.fontHeight = static_cast<int>(std::lround(pointsToPixels(f.points)));
      a.fontWeight = f.bold ? 700 : 400;
      if (f.rgb && (!base || f.rgb != base->rgb)) a.foreColor = rgbToColorref(*f.rgb);
    }
    if (xf.fill < fills.size()) {
      const Fill& f = fills[xf.fill];
      if (f.pattern == ss::fill_pattern_t::solid && (f.fg || f.bg))
        a.backColor = rgbToColorref(f.fg ? *f.fg : *f.bg);
    }
    if (xf.border < borders.size()) {
      const Border& b = borders[xf.border];
      a.borderMask = b.mask;
      if (b.mask) {
        a.borderStyle = b.style;
        a.borderColor = b.rgb ? rgbToColorref(*b.rgb) : 0;
      }
    }
  }
  // The number format code of cell format `index`; empty for General.
  std::string numberFormat(std::size_t index) const {
    if (index >= xfs.size()) return {};
    auto it = numberFormats.find(xfs[index].numberFormat);
    return it == numberFormats.end() ? std::string() : it->second;
  }

  void set_font_count(size_t) override {}
  void set_font_bold(bool b) override { mFont.bold = b; }
  void set_font_italic(bool) override {}
  void set_font_name(std::string_view s) override { mFont.name = s; }
  void set_font_size(double point) override { mFont.points = point; }
  void set_font_underline(ss::underline_t) override {}
  void set_font_underline_width(ss::underline_width_t) override {}
  void set_font_underline_mode(ss::underline_mode_t) override {}
  void set_font_underline_type(ss::underline_type_t) override {}
  void set_font_underline_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t,
                                ss::color_elem_t) override {}
  void set_font_color(ss::color_elem_t, ss::color_elem_t r, ss::color_elem_t g,
                      ss::color_elem_t b) override {
    mFont.rgb = rgb(r, g, b);
  }
  void set_strikethrough_style(ss::strikethrough_style_t) override {}
  void set_strikethrough_type(ss::strikethrough_type_t) override {}
  void set_strikethrough_width(ss::strikethrough_width_t) override {}
  void set_strikethrough_text(ss::strikethrough_text_t) override {}
  size_t commit_font() override { return commit(fonts, mFont); }

  void set_fill_count(size_t) override {}
  void set_fill_pattern_type(ss::fill_pattern_t fp) override { mFill.pattern = fp; }
  void set_fill_fg_color(ss::color_elem_t, ss::color_elem_t r, ss::color_elem_t g,
                         ss::color_elem_t b) override {
    mFill.fg = rgb(r, g, b);
  }
  void set_fill_bg_color(ss::color_elem_t, ss::color_elem_t r, ss::color_elem_t g,
                         ss::color_elem_t b) override {
    mFill.bg = rgb(r, g, b);
  }
  size_t commit_fill() override { return commit(fills, mFill); }

  void set_border_count(size_t) override {}
  void set_border_style(ss::border_direction_t dir, ss::border_style_t style) override {
    const uint32_t bit = sideBit(dir);
    if (!bit) return;
    if (style == ss::border_style_t::none || style == ss::border_style_t::unknown) {
      mBorder.mask &= ~bit;
      return;
    }
    mBorder.mask |= bit;
    mBorder.style = styleOf(style);
  }
  void set_border_color(ss::border_direction_t dir, ss::color_elem_t, ss::color_elem_t r,
                        ss::color_elem_t g, ss::color_elem_t b) override {
    if (sideBit(dir) && !mBorder.rgb) mBorder.rgb = rgb(r, g, b);
  }
  void set_border_width(ss::border_direction_t, double, orcus::length_unit_t) override {}
  size_t commit_border() override { return commit(borders, mBorder); }

  void set_cell_hidden(bool) override {}
  void set_cell_locked(bool) override {}
  void set_cell_print_content(bool) override {}
  void set_cell_formula_hidden(bool) override {}
  size_t commit_cell_protection() override { return mProtections++; }

  void set_number_format_count(size_t) override {}
  void set_number_format_identifier(size_t id) override { mNumberId = id; }
  void set_number_format_code(std::string_view s) override { mNumberCode = s; }
  size_t commit_number_format() override {
    const std::size_t id = mNumberId ? *mNumberId : mNextNumberId++;
    numberFormats[id] = mNumberCode;
    mNumberId.reset();
    mNumberCode.clear();
    return id;
  }

  void set_cell_xf_count(size_t) override {}
  void set_cell_style_xf_count(size_t) override {}
  void set_dxf_count(size_t) override {}
  void set_xf_font(size_t index) override { mXf.font = index; }
  void set_xf_fill(size_t index) override { mXf.fill = index; }
  void set_xf_border(size_t index) override { mXf.border = index; }
  void set_xf_protection(size_t) override {}
  void set_xf_number_format(size_t index) override { mXf.numberFormat = index; }
  void set_xf_style_xf(size_t) override {}
  void set_xf_apply_alignment(bool) override {}
  void set_xf_horizontal_alignment(ss::hor_alignment_t) override {}
  void set_xf_vertical_alignment(ss::ver_alignment_t) override {}
  size_t commit_cell_xf() override { return commit(xfs, mXf); }
  size_t commit_cell_style_xf() override {
    mXf = {};
    return mStyleXfs++;
  }
  size_t commit_dxf() override {
    mXf = {};
    return mDxfs++;
  }

  void set_cell_style_count(size_t) override {}
  void set_cell_style_name(std::string_view) override {}
  void set_cell_style_xf(size_t) override {}
  void set_cell_style_builtin(size_t) override {}
  void set_cell_style_parent_name(std::string_view) override {}
  size_t commit_cell_style() override { return mCellStyles++; }

 private:
  template <class T>
  static size_t commit(std::vector<T>& list, T& current) {
    if (list.size() >= 1'000'000) throw Refused("the workbook holds more than a million styles");
    list.push_back(current);
    current = T{};
    return list.size() - 1;
  }
  static uint32_t sideBit(ss::border_direction_t dir) {
    switch (dir) {
      case ss::border_direction_t::left:
        return 1;
      case ss::border_direction_t::right:
        return 2;
      case ss::border_direction_t::top:
        return 4;
      case ss::border_direction_t::bottom:
        return 8;
      default:
        return 0;
    }
  }
  static int styleOf(ss::border_style_t s) {
    switch (s) {
      case ss::border_style_t::dashed:
      case ss::border_style_t::medium_dashed:
      case ss::border_style_t::fine_dashed:
        return 1;
      case ss::border_style_t::dotted:
        return 2;
      case ss::border_style_t::dash_dot:
      case ss::border_style_t::medium_dash_dot:
      case ss::border_style_t::slant_dash_dot:
        return 3;
      case ss::border_style_t::dash_dot_dot:
      case ss::border_style_t::medium_dash_dot_dot:
        return 4;
      default:
        return 0;
    }
  }

  Font mFont;
  Fill mFill;
  Border mBorder;
  Xf mXf;
  std::optional<std::size_t> mNumberId;
  std::string mNumberCode;
  std::size_t mNextNumberId = 1'000'000, mProtections = 0, mStyleXfs = 0, mDxfs = 0,
              mCellStyles = 0;
};

// ---- shared strings -----------------------------------------------------------

class Strings : public iface::import_shared_strings {
 public:
  std::vector<std::string> list;
  uint64_t bytes = 0;

  const std::string& at(ss::string_id_t id) const {
    if (id >= list.size()) throw Refused("a cell refers to a text the workbook does not hold");
    return list[id];
  }
  size_t append(std::string_view s) override {
    bytes += s.size();
    if (bytes > (uint64_t{1} << 30)) throw Refused("the workbook's texts exceed 1 GiB");
    list.emplace_back(s);
    return list.size() - 1;
  }
  size_t add(std::string_view s) override {
    auto it = mIndex.find(std::string(s));
    if (it != mIndex.end()) return it->second;
    const size_t i = append(s);
    mIndex.emplace(list.back(), i);
    return i;
  }
  void set_segment_font(size_t) override {}
  void set_segment_bold(bool) override {}
  void set_segment_italic(bool) override {}
  void set_segment_font_name(std::string_view) override {}
  void set_segment_font_size(double) override {}
  void set_segment_font_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t,
                              ss::color_elem_t) override {}
  void append_segment(std::string_view s) override { mSegments += s; }
  size_t commit_segments() override {
    const size_t i = append(mSegments);
    mSegments.clear();
    return i;
  }

 private:
  std::unordered_map<std::string, size_t> mIndex;
  std::string mSegments;
};

// ---- worksheets -----------------------------------------------------------------

struct Counter {
  uint64_t cells = 0, max = 0;
  void count(uint64_t n = 1) {
    cells += n;
    if (cells > max)
      throw Refused("the workbook holds more than " + std::to_string(max) +
                    " cells; larger workbooks are not read");
  }
};

struct PendingFormula {
  int32_t col, row;
  std::string text;  // A1 form with "="; empty for a shared formula's follower
  std::optional<std::size_t> shared;
};

// Days from 1970-01-01 of a civil date.
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

class Workbook;

// A worksheet's cells and lines, as the parser reports them (row and
// column from 0 there, from 1 here).
class Sheet : public iface::import_sheet,
              public iface::import_sheet_properties,
              public iface::import_formula {
 public:
  // A kept worksheet's values go into `engine` when there is one (the
  // document being built), else into `values`.
  Sheet(Workbook& book, bool keep, CellDocument* engine)
      : mBook(book), mKeep(keep), mEngine(engine) {}

  // What was read (only for a kept worksheet).
  std::map<uint64_t, Value> values;
  std::vector<PendingFormula> formulas;
  std::map<uint64_t, std::size_t> cellFormats;
  std::map<int32_t, std::size_t> colFormats, rowFormats;
  std::map<int32_t, double> colWidths, rowHeights;  // pixels
  std::set<int32_t> hiddenCols, hiddenRows;
  std::vector<ss::range_t> merges;
  int32_t usedCols = 0, usedRows = 0;

  iface::import_sheet_properties* get_sheet_properties() override { return this; }
  iface::import_formula* get_formula() override { return this; }

  void set_auto(ss::row_t row, ss::col_t col, std::string_view s) override {
    char* end = nullptr;
    const std::string text(s);
    const double v = std::strtod(text.c_str(), &end);
    if (!text.empty() && end && *end == 0 && std::isfinite(v))
      put(row, col, Value::number(v));
    else
      put(row, col, Value::text(text));
  }
  void set_string(ss::row_t row, ss::col_t col, ss::string_id_t sindex) override;
  void set_value(ss::row_t row, ss::col_t col, double value) override {
    // "nan" and "inf" read as numbers; no cell holds one.
    put(row, col, std::isfinite(value) ? Value::number(value) : Value::error(ErrorCode::Num));
  }
  void set_bool(ss::row_t row, ss::col_t col, bool value) override {
    put(row, col, Value::boolean(value));
  }
  void set_date_time(ss::row_t row, ss::col_t col, int year, int month, int day, int hour,
                     int minute, double second) override;
  void set_format(ss::row_t row, ss::col_t col, size_t xf_index) override {
    const uint64_t k = place(row, col);
    if (mKeep) cellFormats[k] = xf_index;
  }
  void set_format(ss::row_t row_start, ss::col_t col_start, ss::row_t row_end, ss::col_t col_end,
                  size_t xf_index) override {
    if (row_start < 0 || col_start < 0 || row_end < row_start || col_end < col_start)
      throw Refused("a formatted range is malformed");
    const bool allRows = row_start == 0 && row_end >= kControlMaxRows - 1;
    const bool allCols = col_start == 0 && col_end >= kControlMaxCols - 1;
    if (allRows && !allCols) {
      for (ss::col_t c = col_start; c <= std::min(col_end, kControlMaxCols - 1); ++c)
        if (mKeep) colFormats[c + 1] = xf_index;
      return;
    }
    if (allCols && !allRows) {
      for (ss::row_t r = row_start; r <= std::min(row_end, kControlMaxRows - 1); ++r)
        if (mKeep) rowFormats[r + 1] = xf_index;
      return;
    }
    if (allRows && allCols) return;  // the whole sheet: the default look
    const uint64_t n = static_cast<uint64_t>(row_end - row_start + 1) *
                       static_cast<uint64_t>(col_end - col_start + 1);
    counter().count(n);
    for (ss::row_t r = row_start; r <= row_end; ++r)
      for (ss::col_t c = col_start; c <= col_end; ++c) set_format(r, c, xf_index);
  }
  void fill_down_cells(ss::row_t src_row, ss::col_t src_col, ss::row_t range_size) override {
    const uint64_t k = place(src_row, src_col);
    if (range_size < 0 || src_row + static_cast<int64_t>(range_size) >= kControlMaxRows)
      throw Refused("repeated cells reach beyond the last row");
    counter().count(static_cast<uint64_t>(range_size));
    if (!mKeep) return;
    const Value v = mEngine ? mEngine->value(src_col + 1, src_row + 1) : values[k];
    for (ss::row_t i = 1; i <= range_size; ++i) {
      const uint64_t at = place(src_row + i, src_col);
      if (mEngine)
        mEngine->setValue(src_col + 1, src_row + i + 1, v);
      else
        values[at] = v;
    }
  }
  // Larger than the control, so that the parser passes cells beyond it on
  // and they are refused with the reason instead of dropped.
  ss::range_size_t get_sheet_size() const override {
    return {kControlMaxRows * 2, kControlMaxCols * 2};
  }

  // Properties.
  void set_column_width(ss::col_t col, double width, orcus::length_unit_t unit) override {
    line(col, kControlMaxCols, "column");
    if (mKeep) colWidths[col + 1] = toPixels(width, unit);
  }
  void set_column_hidden(ss::col_t col, bool hidden) override {
    line(col, kControlMaxCols, "column");
    if (mKeep && hidden) hiddenCols.insert(col + 1);
  }
  void set_row_height(ss::row_t row, double height, orcus::length_unit_t unit) override {
    line(row, kControlMaxRows, "row");
    if (mKeep) rowHeights[row + 1] = toPixels(height, unit);
  }
  void set_row_hidden(ss::row_t row, bool hidden) override {
    line(row, kControlMaxRows, "row");
    if (mKeep && hidden) hiddenRows.insert(row + 1);
  }
  void set_merge_cell_range(const ss::range_t& range) override {
    place(range.first.row, range.first.column);
    place(range.last.row, range.last.column);
    if (range.last.row < range.first.row || range.last.column < range.first.column)
      throw Refused("a merged range is malformed");
    if (mKeep) {
      if (merges.size() >= 100000)
        throw Refused("the worksheet holds more than 100000 merged ranges");
      merges.push_back(range);
    }
  }

  // Formulas.
  void set_position(ss::row_t row, ss::col_t col) override {
    place(row, col);
    mFormula = {col + 1, row + 1, {}, std::nullopt};
  }
  void set_formula(ss::formula_grammar_t grammar, std::string_view formula) override {
    if (grammar == ss::formula_grammar_t::ods) {
      auto a1 = odsFormulaToA1(formula);
      // A formula that cannot be turned keeps its text (see the importer).
      mFormula.text = a1 ? *a1 : std::string(formula);
      mFormulaUnread = !a1;
    } else {
      mFormula.text = std::string(formula);
      mFormulaUnread = false;
    }
    if (!mFormula.text.starts_with('=')) mFormula.text.insert(0, "=");
    if (!mFormulaUnread) mFormula.text = upperFunctionNames(mFormula.text);
  }
  void set_shared_formula_index(size_t index) override { mFormula.shared = index; }
  void set_result_string(std::string_view) override {}
  void set_result_value(double) override {}
  void set_result_bool(bool) override {}
  void set_result_empty() override {}
  void commit() override {
    counter().count();
    if (!mKeep) return;
    if (mFormulaUnread)
      store(mFormula.col, mFormula.row, Value::text(mFormula.text));
    else
      formulas.push_back(std::move(mFormula));
    mFormula = {};
    mFormulaUnread = false;
  }

 private:
  Counter& counter();
  // The key of a cell, refused beyond the control's limits.
  uint64_t place(ss::row_t row, ss::col_t col) {
    if (row < 0 || col < 0) throw Refused("a cell has a negative position");
    if (row >= kControlMaxRows)
      throw Refused("the worksheet reaches row " + std::to_string(int64_t{row} + 1) +
                    "; a sheet holds " + std::to_string(kControlMaxRows) + " rows");
    if (col >= kControlMaxCols)
      throw Refused("the worksheet reaches column " + std::to_string(int64_t{col} + 1) +
                    "; a sheet holds " + std::to_string(kControlMaxCols) + " columns");
    usedRows = std::max(usedRows, row + 1);
    usedCols = std::max(usedCols, col + 1);
    return cellKey(col + 1, row + 1);
  }
  static void line(int32_t i, int32_t limit, const char* what) {
    if (i < 0 || i >= limit)
      throw Refused(std::string("the worksheet sets ") + what + " " +
                    std::to_string(int64_t{i} + 1) + "; a sheet holds " + std::to_string(limit));
  }
  static double toPixels(double v, orcus::length_unit_t unit) {
    double px = 0;
    switch (unit) {
      case orcus::length_unit_t::xlsx_column_digit:
        // Stored in 256ths of a digit, cut: the pixels they stand for.
        px = std::round(fileColumnWidthToPixels(v));
        break;
      case orcus::length_unit_t::point:
        px = pointsToPixels(v);
        break;
      case orcus::length_unit_t::twip:
        px = v / 15.0;
        break;
      case orcus::length_unit_t::inch:
        px = v * 96.0;
        break;
      case orcus::length_unit_t::centimeter:
        px = v / 2.54 * 96.0;
        break;
      case orcus::length_unit_t::millimeter:
        px = v / 25.4 * 96.0;
        break;
      default:
        px = v;
    }
    if (!std::isfinite(px) || px < 0) return 0;
    px = std::min(px, 100000.0);
    return std::round(px * 100.0) / 100.0;
  }
  void put(ss::row_t row, ss::col_t col, Value v) {
    place(row, col);
    counter().count();
    store(col + 1, row + 1, std::move(v));
  }
  void store(int32_t col, int32_t row, Value v) {
    if (!mKeep) return;
    if (mEngine)
      mEngine->setValue(col, row, std::move(v));
    else
      values[cellKey(col, row)] = std::move(v);
  }

  Workbook& mBook;
  bool mKeep;
  CellDocument* mEngine;
  PendingFormula mFormula{};
  bool mFormulaUnread = false;
};

class GlobalSettings : public iface::import_global_settings {
 public:
  int64_t originDays = daysFromCivil(1899, 12, 30);
  ss::formula_grammar_t grammar = ss::formula_grammar_t::xlsx;
  void set_origin_date(int year, int month, int day) override {
    if (month >= 1 && month <= 12 && day >= 1 && day <= 31 && year > -100000 && year < 100000)
      originDays = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
  }
  void set_default_formula_grammar(ss::formula_grammar_t g) override { grammar = g; }
  ss::formula_grammar_t get_default_formula_grammar() const override { return grammar; }
  void set_character_set(orcus::character_set_t) override {}
};

// Cell addresses in A1 form ("B3", "$B$3", "Sheet1!B3", "A1:C4") as the
// parser asks for them (merged ranges, for one); sheet names are not looked
// up (sheet 0).
class References : public iface::import_reference_resolver {
 public:
  ss::src_address_t resolve_address(std::string_view a) override {
    if (auto bang = a.rfind('!'); bang != std::string_view::npos) a.remove_prefix(bang + 1);
    std::size_t i = 0;
    if (i < a.size() && a[i] == '$') ++i;
    const std::size_t letters = i;
    while (i < a.size() && std::isalpha(static_cast<unsigned char>(a[i]))) ++i;
    const int32_t col = columnFromLetters(a.substr(letters, i - letters));
    if (i < a.size() && a[i] == '$') ++i;
    int64_t row = 0;
    const std::size_t digits = i;
    for (; i < a.size() && std::isdigit(static_cast<unsigned char>(a[i])) && row <= kControlMaxRows;
         ++i)
      row = row * 10 + (a[i] - '0');
    if (col < 1 || i == digits || i != a.size() || row < 1 || row > kControlMaxRows)
      throw Refused("the address \"" + std::string(a.substr(0, 40)) + "\" cannot be read");
    return {0, static_cast<ss::row_t>(row - 1), col - 1};
  }
  ss::src_range_t resolve_range(std::string_view r) override {
    const std::size_t colon = r.find(':');
    if (colon == std::string_view::npos) {
      const ss::src_address_t a = resolve_address(r);
      return {a, a};
    }
    return {resolve_address(r.substr(0, colon)), resolve_address(r.substr(colon + 1))};
  }
};

class Workbook : public iface::import_factory {
 public:
  // The first worksheet's values go straight into `engine`.
  Workbook(CellDocument& engine, uint64_t maxCells) : mEngine(engine) { counter.max = maxCells; }

  Strings strings;
  Styles styles;
  GlobalSettings settings;
  References references;
  Counter counter;
  Sheet* main = nullptr;
  Sheet* meta = nullptr;

  iface::import_global_settings* get_global_settings() override { return &settings; }
  iface::import_shared_strings* get_shared_strings() override { return &strings; }
  iface::import_styles* get_styles() override { return &styles; }
  iface::import_reference_resolver* get_reference_resolver(ss::formula_ref_context_t) override {
    return &references;
  }
  iface::import_sheet* append_sheet(ss::sheet_t, std::string_view name) override {
    if (mSheets.size() >= 1000) throw Refused("the workbook holds more than 1000 worksheets");
    const bool isMeta = name == kExchangeSheetName && !meta;
    const bool isMain = !isMeta && !main;
    mSheets.push_back(
        std::make_unique<Sheet>(*this, isMeta || isMain, isMain ? &mEngine : nullptr));
    mNames.emplace_back(name);
    if (isMeta) meta = mSheets.back().get();
    if (isMain) main = mSheets.back().get();
    return mSheets.back().get();
  }
  iface::import_sheet* get_sheet(std::string_view name) override {
    for (std::size_t i = 0; i < mNames.size(); ++i)
      if (mNames[i] == name) return mSheets[i].get();
    return nullptr;
  }
  iface::import_sheet* get_sheet(ss::sheet_t index) override {
    return index >= 0 && static_cast<std::size_t>(index) < mSheets.size() ? mSheets[index].get()
                                                                          : nullptr;
  }
  void finalize() override {}

 private:
  CellDocument& mEngine;
  std::vector<std::unique_ptr<Sheet>> mSheets;
  std::vector<std::string> mNames;
};

Counter& Sheet::counter() { return mBook.counter; }

void Sheet::set_string(ss::row_t row, ss::col_t col, ss::string_id_t sindex) {
  put(row, col, Value::text(mBook.strings.at(sindex)));
}

void Sheet::set_date_time(ss::row_t row, ss::col_t col, int year, int month, int day, int hour,
                          int minute, double second) {
  if (month < 1 || month > 12 || day < 1 || day > 31 || year < -100000 || year > 100000)
    throw Refused("a date is malformed");
  const double days = static_cast<double>(
      daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
      mBook.settings.originDays);
  const double serial = days + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
  put(row, col, std::isfinite(serial) ? Value::number(serial) : Value::error(ErrorCode::Num));
}

// ---- the hidden worksheet's records ------------------------------------------------

struct Record {
  std::string kind;
  int32_t col = -1, row = -1;
  std::vector<const Value*> fields;  // D on
  double number(std::size_t i, double fallback = 0) const {
    return i < fields.size() && fields[i] && fields[i]->type() == ValueType::Number &&
                   std::isfinite(fields[i]->number())
               ? fields[i]->number()
               : fallback;
  }
  bool boolean(std::size_t i) const {
    return i < fields.size() && fields[i] && fields[i]->type() == ValueType::Bool &&
           fields[i]->boolean();
  }
  // The text from field i on (a long text took several cells).
  std::wstring text(std::size_t i) const {
    std::string t;
    for (; i < fields.size(); ++i)
      if (fields[i] && fields[i]->type() == ValueType::Text) t += fields[i]->text();
    return base::utf8ToWide(t);
  }
};

std::vector<Record> recordsOf(const Sheet& meta) {
  std::map<int32_t, std::map<int32_t, const Value*>> rows;
  for (auto& [k, v] : meta.values)
    rows[ControlDocument::keyRow(k)][ControlDocument::keyCol(k)] = &v;
  std::vector<Record> records;
  for (auto& line : rows) {
    const std::map<int32_t, const Value*>& cells = line.second;  // a lambda captures it
    auto at = [&](int32_t c) -> const Value* {
      auto it = cells.find(c);
      return it == cells.end() ? nullptr : it->second;
    };
    const Value* kind = at(1);
    const Value* col = at(2);
    const Value* row = at(3);
    if (!kind || kind->type() != ValueType::Text || !col || !row ||
        col->type() != ValueType::Number || row->type() != ValueType::Number)
      continue;
    Record rec;
    rec.kind = kind->text();
    if (col->number() < 0 || col->number() > kControlMaxRows || row->number() < 0 ||
        row->number() > kControlMaxRows)
      continue;
    rec.col = static_cast<int32_t>(col->number());
    rec.row = static_cast<int32_t>(row->number());
    const int32_t last = cells.rbegin()->first;
    for (int32_t c = 4; c <= last && c < 4 + 1000; ++c) rec.fields.push_back(at(c));
    records.push_back(std::move(rec));
  }
  return records;
}

void applyTypeRecord(const Record& r, CellAttributes& a) {
  auto whole = [&](std::size_t i, int lo, int hi, int fallback) {
    const double v = r.number(i, fallback);
    return v >= lo && v <= hi ? static_cast<int>(v) : fallback;
  };
  const CellAttributes d;
  a.type = whole(0, 0, 255, d.type);
  const double style = r.number(1, 0);
  a.style = style >= 0 && style <= 0xFFFFFFFFu ? static_cast<uint32_t>(style) : 0;
  a.decimals = whole(2, 0, 15, d.decimals);
  a.minValue = r.number(3, d.minValue);
  a.maxValue = r.number(4, d.maxValue);
  a.maxLength = whole(5, 0, 1 << 20, d.maxLength);
  a.locked = r.boolean(6);
  a.typeText = r.text(7);
}

uint32_t colourField(const Record& r, std::size_t i, uint32_t fallback) {
  const double v = r.number(i, fallback);
  return v >= 0 && v <= 0xFFFFFFFFu ? static_cast<uint32_t>(v) : fallback;
}

bool isNumberType(int type) {
  return type == kCellTypeNumber || type == kCellTypeWholeNumber ||
         (type >= kCellTypeFirstOtherNumber && type <= kCellTypeLastOtherNumber);
}

// The number format of a cell over its attributes: a fixed format gives a
// number cell's decimals and grouping (a General cell becomes a number cell).
void applyNumberFormat(const std::string& code, bool typed, CellAttributes& a) {
  int decimals = 0;
  bool thousands = false;
  if (code.empty() || !parseNumberFormatCode(code, decimals, thousands)) return;
  if (!typed && a.type == kCellTypeGeneral) {
    a.type = kCellTypeNumber;
    a.style = kNumberStyleWindowFormat;
  }
  if (!isNumberType(a.type)) return;
  if (a.type != kCellTypeWholeNumber) a.decimals = decimals;
  a.style &= ~(kNumberStyleThousands | kNumberStylePlain);
  a.style |= thousands ? kNumberStyleThousands : kNumberStylePlain;
}

// ---- building the document ----------------------------------------------------------

std::string shiftedFormula(const std::string& text, int32_t fromCol, int32_t fromRow, int32_t toCol,
                           int32_t toRow) {
  auto relative =
      convertReferenceStyle(text, ReferenceStyle::A1, ReferenceStyle::R1C1, fromCol, fromRow);
  if (!relative) return {};
  auto moved =
      convertReferenceStyle(*relative, ReferenceStyle::R1C1, ReferenceStyle::A1, toCol, toRow);
  return moved ? *moved : std::string();
}

Status build(ControlDocument& fresh, Workbook& book) {
  if (!book.main)
    return Status::error("the file holds no worksheet: it is damaged or not a workbook");
  Sheet& s = *book.main;
  const std::vector<Record> records = book.meta ? recordsOf(*book.meta) : std::vector<Record>{};

  // Size: the recorded one when it holds every cell read, else the used range.
  int32_t cols = s.usedCols, rows = s.usedRows;
  double defaultWidth = ControlDocument::kDefaultColWidth,
         defaultHeight = ControlDocument::kDefaultRowHeight;
  for (const Record& r : records) {
    if (r.kind != "size") continue;
    if (r.col >= cols && r.col <= kControlMaxCols) cols = r.col;
    if (r.row >= rows && r.row <= kControlMaxRows) rows = r.row;
    defaultWidth = r.number(0, defaultWidth);
    defaultHeight = r.number(1, defaultHeight);
  }
  fresh.setMaxCols(cols);  // the cells were read into the largest sheet
  fresh.setMaxRows(rows);
  fresh.setColWidth(-1, defaultWidth);
  fresh.setRowHeight(-1, defaultHeight);

  // Attributes: the default, columns, rows, then cells.
  std::map<uint64_t, const Record*> types;
  for (const Record& r : records)
    if (r.kind == "type") types[cellKey(r.col, r.row)] = &r;
  auto typed = [&](int32_t c, int32_t r, CellAttributes& a) {
    auto it = types.find(cellKey(c, r));
    if (it == types.end()) return false;
    applyTypeRecord(*it->second, a);
    return true;
  };
  std::map<uint64_t, const Record*> looks;
  for (const Record& r : records)
    if (r.kind == "look") looks[cellKey(r.col, r.row)] = &r;
  // The look record of a line or the default, when there is one.
  auto looked = [&](int32_t c, int32_t r, CellAttributes& a) {
    auto it = looks.find(cellKey(c, r));
    if (it == looks.end()) return false;
    const Record& rec = *it->second;
    a.fontHeight = static_cast<int>(std::clamp(rec.number(0), 0.0, 1000.0));
    a.fontWeight = static_cast<int>(std::clamp(rec.number(1, 400), 0.0, 1000.0));
    a.backColor = colourField(rec, 2, kColorDefault);
    a.foreColor = colourField(rec, 3, kColorDefault);
    a.borderMask = colourField(rec, 4, 0);
    a.borderStyle = static_cast<int>(std::clamp(rec.number(5), 0.0, 255.0));
    a.borderColor = colourField(rec, 6, 0);
    a.fontName = rec.text(7);
    return true;
  };
  CellAttributes& def = fresh.defaultAttributes();
  looked(0, 0, def);
  typed(0, 0, def);
  auto lineAttributes = [&](std::size_t xf, int32_t c, int32_t r, bool hasXf) {
    CellAttributes a = def;
    if (!looked(c, r, a) && hasXf) book.styles.apply(xf, a);
    const bool t = typed(c, r, a);
    if (hasXf) applyNumberFormat(book.styles.numberFormat(xf), t, a);
    return a;
  };
  std::map<int32_t, std::pair<std::size_t, bool>> colXf, rowXf;
  for (auto& [c, xf] : s.colFormats) colXf[c] = {xf, true};
  for (auto& [r, xf] : s.rowFormats) rowXf[r] = {xf, true};
  for (const auto* lines : {&types, &looks}) {
    for (auto& [k, rec] : *lines) {
      const int32_t c = ControlDocument::keyCol(k), r = ControlDocument::keyRow(k);
      if (c > 0 && r == 0) colXf.try_emplace(c, std::pair<std::size_t, bool>{0, false});
      if (c == 0 && r > 0) rowXf.try_emplace(r, std::pair<std::size_t, bool>{0, false});
    }
  }
  for (auto& [c, xf] : colXf)
    if (c <= cols) fresh.setColAttributes(c, lineAttributes(xf.first, c, 0, xf.second));
  for (auto& [r, xf] : rowXf)
    if (r <= rows) fresh.setRowAttributes(r, lineAttributes(xf.first, 0, r, xf.second));
  std::set<uint64_t> cellsWithTypes;
  for (auto& [k, rec] : types)
    if (ControlDocument::keyCol(k) > 0 && ControlDocument::keyRow(k) > 0) cellsWithTypes.insert(k);
  auto cellAttributes = [&](uint64_t k, const std::size_t* xf) {
    const int32_t c = ControlDocument::keyCol(k), r = ControlDocument::keyRow(k);
    if (c > cols || r > rows) return;
    const CellAttributes& inherited = fresh.attributes(c, r);
    CellAttributes a = inherited;
    if (xf) book.styles.apply(*xf, a);
    const bool t = typed(c, r, a);
    if (xf) applyNumberFormat(book.styles.numberFormat(*xf), t, a);
    if (!(a == inherited)) fresh.setCellAttributes(c, r, a);
  };
  for (auto& [k, xf] : s.cellFormats) cellAttributes(k, &xf);
  for (uint64_t k : cellsWithTypes)
    if (!s.cellFormats.count(k)) cellAttributes(k, nullptr);

  // Lines.
  for (auto& [c, w] : s.colWidths)
    if (c <= cols && w != fresh.colWidth(c)) fresh.setColWidth(c, w);
  for (auto& [r, h] : s.rowHeights)
    if (r <= rows && h != fresh.rowHeight(r)) fresh.setRowHeight(r, h);
  for (int32_t c : s.hiddenCols) fresh.setColHidden(c, true);
  for (int32_t r : s.hiddenRows) fresh.setRowHidden(r, true);
  for (const ss::range_t& m : s.merges) {
    const int32_t c = m.first.column + 1, r = m.first.row + 1;
    const int32_t nc = m.last.column - m.first.column + 1, nr = m.last.row - m.first.row + 1;
    if (nc * static_cast<int64_t>(nr) < 2) continue;
    if (!fresh.addSpan(c, r, nc, nr))
      return Status::error("the merged cells at " + base::toUtf8(ControlDocument::cellName(c, r)) +
                           " overlap others");
  }

  // Records of the hidden worksheet.
  for (const Record& r : records) {
    if (r.kind == "header" && (r.col == 0) != (r.row == 0) && fresh.containsCell(r.col, r.row))
      fresh.setData(r.col, r.row, r.text(0));
    else if (r.kind == "tag")
      fresh.setTag(r.col, r.row, r.text(0));
    else if (r.kind == "hidden" && r.row == 0 && r.col > 0)
      fresh.setColHidden(r.col, true);
    else if (r.kind == "hidden" && r.col == 0 && r.row > 0)
      fresh.setRowHidden(r.row, true);
  }

  // Values, then formulas once the values they read are in place.
  CellDocument& engine = fresh.engine();
  std::map<std::size_t, const PendingFormula*> masters;
  for (const PendingFormula& f : s.formulas)
    if (f.shared && !f.text.empty() && f.text != "=") masters.try_emplace(*f.shared, &f);
  for (const PendingFormula& f : s.formulas) {
    std::string text = f.text;
    if (f.shared && (text.empty() || text == "=")) {
      auto m = masters.find(*f.shared);
      if (m == masters.end()) continue;  // a follower without its formula: the value stays
      text = shiftedFormula(m->second->text, m->second->col, m->second->row, f.col, f.row);
      if (text.empty()) continue;
    }
    if (f.col > cols || f.row > rows) continue;
    // An error value is written as the formula that gives it ("=#N/A").
    if (auto error = parseErrorText(std::string_view(text).substr(1))) {
      engine.setValue(f.col, f.row, Value::error(*error));
      continue;
    }
    if (!engine.setFormula(f.col, f.row, text))
      engine.setValue(f.col, f.row, Value::text(text));  // kept as its text
  }
  engine.recalcAll();
  return {};
}

// The parser's own reading of the container must list exactly the entries
// that were checked (a container whose directory two readers could read
// differently is refused).
bool sameEntries(std::string_view bytes, const std::vector<ZipEntry>& checked) {
  orcus::zip_archive_stream_blob stream(reinterpret_cast<const uint8_t*>(bytes.data()),
                                        bytes.size());
  orcus::zip_archive archive(&stream);
  archive.load();
  if (archive.get_file_entry_count() != checked.size()) return false;
  for (std::size_t i = 0; i < checked.size(); ++i)
    if (archive.get_file_entry_name(i) != checked[i].name) return false;
  return true;
}

// The reader library drops the boolean cells of ods files: they are handed
// to it as the formulas =TRUE() and =FALSE(), which keep their values. The
// package is rebuilt (stored) only when content.xml holds such cells.
std::optional<std::string> odsWithBooleanFormulas(std::string_view bytes,
                                                  const std::vector<ZipEntry>& entries) {
  orcus::zip_archive_stream_blob stream(reinterpret_cast<const uint8_t*>(bytes.data()),
                                        bytes.size());
  orcus::zip_archive archive(&stream);
  archive.load();
  std::vector<unsigned char> buffer;
  if (!archive.read_file_entry("content.xml", buffer)) return std::nullopt;
  std::string content(buffer.begin(), buffer.end());
  constexpr std::string_view kBoolean = "office:value-type=\"boolean\"";
  constexpr std::string_view kCell = "<table:table-cell";
  if (content.find(kBoolean) == std::string::npos) return std::nullopt;
  std::string out;
  out.reserve(content.size() + 1024);
  std::size_t from = 0;
  for (std::size_t at = content.find(kBoolean); at != std::string::npos;
       at = content.find(kBoolean, at + 1)) {
    const std::size_t open = content.rfind('<', at);
    const std::size_t close = content.find('>', at);
    if (open == std::string::npos || open < from || close == std::string::npos) continue;
    const std::string_view tag(content.data() + open, close - open);
    if (!tag.starts_with(kCell) || tag.find("table:formula=") != std::string_view::npos) continue;
    const bool on = tag.find("office:boolean-value=\"true\"") != std::string_view::npos;
    out.append(content, from, open + kCell.size() - from);
    out += on ? " table:formula=\"of:=TRUE()\"" : " table:formula=\"of:=FALSE()\"";
    from = open + kCell.size();
  }
  out.append(content, from);
  std::vector<std::pair<std::string, std::string>> files;
  for (const ZipEntry& e : entries) {
    if (e.name == "content.xml") {
      files.emplace_back(e.name, std::move(out));
      continue;
    }
    if (!archive.read_file_entry(e.name, buffer)) return std::nullopt;
    files.emplace_back(e.name, std::string(buffer.begin(), buffer.end()));
  }
  return storedZip(files);
}

// An ods package whose manifest declares encryption data is password-protected.
bool odsIsEncrypted(std::string_view bytes) {
  orcus::zip_archive_stream_blob stream(reinterpret_cast<const uint8_t*>(bytes.data()),
                                        bytes.size());
  orcus::zip_archive archive(&stream);
  archive.load();
  std::vector<unsigned char> manifest;
  if (!archive.read_file_entry("META-INF/manifest.xml", manifest)) return false;
  const std::string_view text(reinterpret_cast<const char*>(manifest.data()), manifest.size());
  return text.find("encryption-data") != std::string_view::npos;
}

}  // namespace

namespace {

// Reads the workbook into `doc` in this process.
Status readWorkbook(ControlDocument& doc, std::string_view bytes, WorkbookKind kind,
                    const WorkbookLimits& limits) {
  auto entries = checkZipContainer(bytes, limits.zip);
  if (!entries) return entries.status();
  ControlDocument fresh;
  fresh.engine().customFunctions() = doc.engine().customFunctions();
  fresh.setMaxCols(kControlMaxCols);
  fresh.setMaxRows(kControlMaxRows);
  Workbook book(fresh.engine(), limits.maxCells);
  try {
    if (!sameEntries(bytes, *entries))
      return Status::error("the zip container's directory is damaged (it reads two ways)");
    if (kind == WorkbookKind::Xlsx) {
      orcus::orcus_xlsx reader(&book);
      reader.read_stream(bytes);
    } else {
      if (odsIsEncrypted(bytes))
        return Status::error("the workbook is password-protected; save it without a password");
      const std::optional<std::string> rebuilt = odsWithBooleanFormulas(bytes, *entries);
      orcus::orcus_ods reader(&book);
      reader.read_stream(rebuilt ? std::string_view(*rebuilt) : bytes);
    }
  } catch (const Refused& e) {
    return Status::error(e.what());
  } catch (const std::bad_alloc&) {
    return Status::error("the workbook needs more memory than there is");
  } catch (const std::exception& e) {
    return Status::error(std::string("the workbook is damaged or not a ") +
                         (kind == WorkbookKind::Xlsx ? "xlsx" : "ods") + " workbook: " + e.what());
  }
  if (Status built = build(fresh, book); !built) return built;
  doc.swapContents(fresh);
  return {};
}

// The longest a workbook parse may take before it is given up.
constexpr int kParseSeconds = 120;

bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Reads the workbook in a child process, which hands the document over as
// native file text ("K" + text) or the reason it was refused ("E" + text).
// The parser library stops its process with an assertion on some damaged
// files; here that ends the child only, and the file is refused.
Status readWorkbookApart(ControlDocument& doc, std::string_view bytes, WorkbookKind kind,
                         const WorkbookLimits& limits) {
  int fds[2];
  if (::pipe(fds) != 0) return readWorkbook(doc, bytes, kind, limits);
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return readWorkbook(doc, bytes, kind, limits);
  }
  if (child == 0) {
    ::close(fds[0]);
    // The parser's own messages (and its assertion) are not the caller's.
    if (const int quiet = ::open("/dev/null", O_WRONLY); quiet >= 0) {
      ::dup2(quiet, 1);
      ::dup2(quiet, 2);
    }
    ControlDocument read;
    const Status s = readWorkbook(read, bytes, kind, limits);
    const bool sent = writeAll(fds[1], s ? "K" + sheetToJson(read) : "E" + s.message());
    ::_exit(sent ? 0 : 1);
  }
  ::close(fds[1]);
  std::string answer;
  char buffer[65536];
  // A parse that hangs (a loop in the parser, a lock held at the fork) must
  // not hang the program: the child gets kParseSeconds, then it is ended.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kParseSeconds);
  bool timedOut = false;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      timedOut = true;
      break;
    }
    pollfd wait{fds[0], POLLIN, 0};
    const int ready = ::poll(&wait, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) continue;  // the deadline is checked above
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    answer.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fds[0]);
  if (timedOut) ::kill(child, SIGKILL);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (timedOut)
    return Status::error("the workbook parser did not finish within " +
                         std::to_string(kParseSeconds) + " seconds");
  if (WIFSIGNALED(status) || answer.empty())
    return Status::error("the workbook parser stopped on this file (it is damaged)");
  if (answer[0] == 'E') return Status::error(answer.substr(1));
  return sheetFromJson(doc, std::string_view(answer).substr(1));
}

}  // namespace

Status sheetFromWorkbook(ControlDocument& doc, std::string_view bytes, WorkbookKind kind,
                         const WorkbookLimits& limits) {
  return limits.apart ? readWorkbookApart(doc, bytes, kind, limits)
                      : readWorkbook(doc, bytes, kind, limits);
}

}  // namespace krv::sheet
