#include "platform/sheet/sheet_file.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "platform/base/byte_order_mark.h"
#include "platform/base/display_text.h"
#include "platform/base/file_io.h"
#include "platform/base/file_text.h"
#include "platform/base/json_document.h"
#include "platform/base/json_io.h"
#include "platform/base/utf.h"
#include "platform/sheet/sheet_csv.h"
#include "platform/sheet/sheet_import.h"
#include "platform/sheet/sheet_xlsx_writer.h"

namespace krv::sheet {

using base::Integer;
using base::Json;
using base::JsonIo;
using base::ListOf;
using base::Record;
using base::Result;
using base::Status;

namespace {

const base::DocumentKind& sheetDocumentKind() {
  static const base::DocumentKind kind = [] {
    base::DocumentKind k;
    k.format = kSheetFileFormatName;
    k.version = kSheetFileVersion;
    k.what = "sheet document";
    k.limits.maxBytes = kMaxSheetFileBytes;
    k.limits.maxDepth = 16;  // deeper than the format ever nests
    return k;
  }();
  return kind;
}

// Texts are UTF-8 in the file and wide in the sheet.
struct WideText {
  Status read(const Json& j, std::wstring& value) const {
    if (!j.is_string()) return Status::error("a text is expected");
    value = base::utf8ToWide(j.get_ref<const std::string&>());
    return {};
  }
  Json write(const std::wstring& value) const { return base::toUtf8(value); }
};

using Colour = Integer<uint32_t>;

// A short array of whole numbers, each in its range, and maybe a last text
// or number: [col, row, "tag"], [col, width], [col, row, cols, rows].
struct Tuple {
  std::vector<int64_t> n;
  std::wstring text;
  double number = 0;
};
struct TupleOf {
  struct Slot {
    const char* name;
    int64_t lo, hi;
  };
  std::vector<Slot> slots;
  enum class Last { None, Text, Number } last = Last::None;
  const char* lastName = "";

  Status read(const Json& j, Tuple& t) const {
    const std::size_t size = slots.size() + (last == Last::None ? 0 : 1);
    if (!j.is_array() || j.size() != size) {
      std::string shape;
      for (const Slot& s : slots) shape += (shape.empty() ? "" : ", ") + std::string(s.name);
      if (last != Last::None) shape += std::string(", ") + lastName;
      return Status::error("[" + shape + "] is expected");
    }
    t.n.resize(slots.size());
    for (std::size_t i = 0; i < slots.size(); ++i) {
      if (Status s = Integer<int64_t>{slots[i].lo, slots[i].hi}.read(j[i], t.n[i]); !s)
        return s.within(JsonIo::at("", i));
    }
    const Json& tail = j[size - 1];
    Status s;
    if (last == Last::Text) s = WideText{}.read(tail, t.text);
    if (last == Last::Number) s = base::Number{}.read(tail, t.number);
    return s.within(JsonIo::at("", size - 1));
  }
  Json write(const Tuple& t) const {
    Json j = Json::array();
    for (int64_t v : t.n) j.push_back(v);
    if (last == Last::Text) j.push_back(base::toUtf8(t.text));
    if (last == Last::Number) j.push_back(t.number);
    return j;
  }
};

std::vector<uint64_t> sortedKeys(const auto& m) {
  std::vector<uint64_t> keys;
  keys.reserve(m.size());
  for (auto& e : m) keys.push_back(e.first);
  std::sort(keys.begin(), keys.end());
  return keys;
}

// ---- records --------------------------------------------------------------------

void mapAttributes(JsonIo& io, CellAttributes& a) {
  const CellAttributes d;
  io.optional("type", a.type, d.type, Integer<int>{0, 255});
  io.optional("style", a.style, d.style);
  io.optional("decimals", a.decimals, d.decimals, Integer<int>{0, 15});
  io.optional("min", a.minValue, d.minValue);
  io.optional("max", a.maxValue, d.maxValue);
  io.optional("maxLength", a.maxLength, d.maxLength, Integer<int>{0, 1 << 20});
  io.optional("typeText", a.typeText, d.typeText, WideText{});
  io.optional("backColor", a.backColor, d.backColor, Colour{});
  io.optional("foreColor", a.foreColor, d.foreColor, Colour{});
  io.optional("fontName", a.fontName, d.fontName, WideText{});
  io.optional("fontHeight", a.fontHeight, d.fontHeight, Integer<int>{0, 1000});
  io.optional("fontWeight", a.fontWeight, d.fontWeight, Integer<int>{0, 1000});
  io.optional("borderMask", a.borderMask, d.borderMask, Colour{});
  io.optional("borderStyle", a.borderStyle, d.borderStyle, Integer<int>{0, 255});
  io.optional("borderColor", a.borderColor, d.borderColor, Colour{});
  io.optional("locked", a.locked, d.locked);
}

using ActionKeys = std::array<std::array<int, 3>, 3>;

// Three keys of three numbers each.
struct ActionKeysText {
  Status read(const Json& j, ActionKeys& keys) const {
    auto three = [](const Json& a) { return a.is_array() && a.size() == 3; };
    if (!three(j)) return Status::error("three action keys are expected");
    for (std::size_t a = 0; a < 3; ++a) {
      if (!three(j[a]))
        return Status::fileError({}, "three numbers are expected", JsonIo::at("", a));
      for (std::size_t b = 0; b < 3; ++b) {
        if (Status s = Integer<int>{0, 0xFFFF}.read(j[a][b], keys[a][b]); !s)
          return s.within(JsonIo::at("", a) + JsonIo::at("", b));
      }
    }
    return {};
  }
  Json write(const ActionKeys& keys) const { return keys; }
};

void mapLook(JsonIo& io, ControlLook& l) {
  const ControlLook d;
  io.optional("appearance", l.appearance, d.appearance);
  io.optional("backColorStyle", l.backColorStyle, d.backColorStyle);
  io.optional("activeCellHighlightStyle", l.activeCellHighlightStyle, d.activeCellHighlightStyle);
  io.optional("selBackColor", l.selBackColor, d.selBackColor, Colour{});
  io.optional("selForeColor", l.selForeColor, d.selForeColor, Colour{});
  io.optional("shadowColor", l.shadowColor, d.shadowColor, Colour{});
  io.optional("shadowTextColor", l.shadowTextColor, d.shadowTextColor, Colour{});
  io.optional("grayAreaBackColor", l.grayAreaBackColor, d.grayAreaBackColor, Colour{});
  io.optional("grayAreaForeColor", l.grayAreaForeColor, d.grayAreaForeColor, Colour{});
  io.optional("noteIndicator", l.noteIndicator, d.noteIndicator);
  io.optional("textTipStatus", l.textTipStatus, d.textTipStatus);
  io.optional("textTipDelay", l.textTipDelay, d.textTipDelay);
  io.optional("textTipBackColor", l.textTipBackColor, d.textTipBackColor, Colour{});
  io.optional("textTipForeColor", l.textTipForeColor, d.textTipForeColor, Colour{});
  io.optional("actionKeys", l.actionKeys, d.actionKeys, ActionKeysText{});
}

// Boolean options switched on ("bool") and off ("off") against a new
// control, and integer options that are not 0 ("int", keyed by index).
struct Options {
  std::vector<int> on, off;
  std::vector<std::pair<int, int>> ints;
  bool operator==(const Options&) const = default;
};

struct IntOptions {
  Status read(const Json& j, std::vector<std::pair<int, int>>& ints) const {
    if (!j.is_object()) return Status::error("an object is expected");
    for (auto e = j.begin(); e != j.end(); ++e) {
      char* end = nullptr;
      const long idx = std::strtol(e.key().c_str(), &end, 10);
      if (e.key().empty() || *end || idx < 0 || idx >= ControlDocument::kOptionCount)
        return Status::error("\"" + base::quotable(e.key(), 40) + "\" is not an option index");
      int v = 0;
      if (Status s = Integer<int>{}.read(e.value(), v); !s) return s.within(e.key());
      ints.emplace_back(static_cast<int>(idx), v);
    }
    return {};
  }
  Json write(const std::vector<std::pair<int, int>>& ints) const {
    Json j = Json::object();
    for (auto [i, v] : ints) j[std::to_string(i)] = v;
    return j;
  }
};

void mapOptions(JsonIo& io, Options& o) {
  const Integer<int> index{0, ControlDocument::kOptionCount - 1};
  io.list("bool", o.on, index);
  io.list("off", o.off, index);
  io.optional("int", o.ints, {}, IntOptions{});
}

// A formula read from a cell run, set once every value is in place.
struct PendingFormula {
  std::size_t run, index;  // its place in "cells"
  int32_t col, row;
  const std::string* text;  // in the JSON being read
};

// Consecutive rows of one column; gaps of up to 4 empty cells stay in a run
// as nulls. Writing, `cells` holds the run's cells (null for a gap).
// Reading leaves `cells` empty: the values go straight into the sheet.
struct CellRun {
  int32_t col = 0, row = 0;
  std::vector<const Cell*> cells;
};

// The "values" of the cell run from `col`, `row`: each a number, a text, a
// boolean, null (an empty cell), an error value {"error": "#DIV/0!"} or a
// formula {"f": "=A1*2"}. Reading sets every value in `engine` as it is
// read (the caller drops the sheet when the file is refused) and keeps the
// formulas in `formulas`; the run must end by row `rows`. Writing takes the
// formula texts from `engine`.
struct CellValues {
  CellDocument& engine;
  int32_t col, row, rows;
  std::size_t run;
  std::vector<PendingFormula>& formulas;

  Status read(const Json& j, std::vector<const Cell*>&) const {
    if (!j.is_array()) return Status::error("an array is expected");
    const auto& values = j.get_ref<const Json::array_t&>();
    // Every value is checked, also those beyond the last row, so the first
    // fault in the file is the one reported.
    const std::size_t room = static_cast<std::size_t>(rows - row + 1);
    for (std::size_t k = 0; k < values.size(); ++k) {
      if (Status s = readOne(values[k], k, k < room); !s) return s.within(JsonIo::at("", k));
    }
    if (values.size() > room)
      return Status::error("the cells from column " + std::to_string(col) + ", row " +
                           std::to_string(row) + " reach beyond the last row");
    return {};
  }

  Json write(const std::vector<const Cell*>& cells) const {
    Json j = Json::array();
    auto& values = j.get_ref<Json::array_t&>();
    values.reserve(cells.size());
    for (std::size_t k = 0; k < cells.size(); ++k) {
      const Cell* cell = cells[k];
      if (!cell) {
        values.emplace_back(nullptr);
      } else if (cell->formula) {
        values.push_back(Json{{"f", engine.formulaText(col, row + static_cast<int32_t>(k))}});
      } else {
        const Value& v = cell->value;
        switch (v.type()) {
          case ValueType::Number:
            values.emplace_back(v.number());
            break;
          case ValueType::Text:
            values.emplace_back(v.text());
            break;
          case ValueType::Bool:
            values.emplace_back(v.boolean());
            break;
          case ValueType::Error:
            values.push_back(Json{{"error", errorText(v.error())}});
            break;
          default:
            values.emplace_back(nullptr);
        }
      }
    }
    return j;
  }

 private:
  // Checks the value of row `row + k` and, when `set`, puts it in place.
  Status readOne(const Json& j, std::size_t k, bool set) const {
    const int32_t at = row + static_cast<int32_t>(k);
    auto put = [&](Value v) {
      if (set) engine.setValue(col, at, std::move(v));
    };
    switch (j.type()) {
      case Json::value_t::null:
        return {};
      case Json::value_t::number_integer:
      case Json::value_t::number_unsigned:
      case Json::value_t::number_float:
        put(Value::number(j.get<double>()));
        return {};
      case Json::value_t::string:
        put(Value::text(j.get_ref<const std::string&>()));
        return {};
      case Json::value_t::boolean:
        put(Value::boolean(j.get<bool>()));
        return {};
      case Json::value_t::object:
        if (auto f = j.find("f"); f != j.end()) {
          if (!f->is_string()) return Status::fileError({}, "a formula text is expected", "f");
          if (set) formulas.push_back({run, k, col, at, &f->get_ref<const std::string&>()});
          return {};
        }
        if (auto err = j.find("error"); err != j.end() && err->is_string()) {
          auto code = parseErrorText(err->get_ref<const std::string&>());
          if (!code)
            return Status::fileError(
                {}, "unknown error value " + base::quotable(err->get<std::string>(), 40), "error");
          put(Value::error(*code));
          return {};
        }
        return Status::error("a cell object must hold \"f\" or \"error\"");
      default:
        return Status::error("a cell value must be a number, text, boolean, null or formula");
    }
  }
};

// A record of a line (column or row) or a cell with its attributes.
struct PlacedAttributes {
  int32_t col = 0, row = 0;
  CellAttributes attributes;
};

// ---- the document, step by step -------------------------------------------------
//
// Each step reads its members into the document (reading) or writes them
// from it (writing). The written members are sorted by name at the end, so
// the order of the steps is the order of reading.

struct SheetIo {
  JsonIo& io;
  ControlDocument& doc;
  const ControlDocument& defaults;
  bool autoCalc = false;  // switched on after the cells are in

  bool reading() const { return io.reading(); }
  int32_t cols() const { return doc.maxCols(); }
  int32_t rows() const { return doc.maxRows(); }
  TupleOf::Slot col(int64_t lo = 0) const { return {"column", lo, cols()}; }
  TupleOf::Slot row(int64_t lo = 0) const { return {"row", lo, rows()}; }
};

void mapSize(SheetIo& s) {
  int64_t cols = s.doc.maxCols(), rows = s.doc.maxRows();
  s.io.field("cols", cols, Integer<int64_t>{});
  s.io.field("rows", rows, Integer<int64_t>{});
  if (!s.reading() || !s.io.ok()) return;
  if (cols < 0 || cols > kControlMaxCols) {
    s.io.fail("cols", "the file claims " + std::to_string(cols) + " columns; a sheet holds 0 to " +
                          std::to_string(kControlMaxCols));
  } else if (rows < 0 || rows > kControlMaxRows) {
    s.io.fail("rows", "the file claims " + std::to_string(rows) + " rows; a sheet holds 0 to " +
                          std::to_string(kControlMaxRows));
  } else {
    s.doc.setMaxCols(static_cast<int32_t>(cols));
    s.doc.setMaxRows(static_cast<int32_t>(rows));
  }
}

void mapOptionsStep(SheetIo& s) {
  Options o;
  if (!s.reading()) {
    for (int i = 0; i < ControlDocument::kOptionCount; ++i) {
      const bool b = s.doc.boolOption(i);
      if (b != s.defaults.boolOption(i)) (b ? o.on : o.off).push_back(i);
      if (s.doc.intOption(i) != 0) o.ints.emplace_back(i, s.doc.intOption(i));
    }
  }
  s.io.optional("options", o, Options{}, Record<Options>{mapOptions});
  if (!s.reading() || !s.io.ok()) return;
  for (int i : o.on) {
    // Automatic calculation waits until the cells are in.
    if (i == 7)
      s.autoCalc = true;
    else
      s.doc.setBoolOption(i, true);
  }
  for (int i : o.off) s.doc.setBoolOption(i, false);
  for (auto [i, v] : o.ints) s.doc.setIntOption(i, v);
}

void mapLookStep(SheetIo& s) {
  int refStyle = static_cast<int>(s.doc.engine().referenceStyle());
  s.io.optional("refStyle", refStyle, static_cast<int>(ReferenceStyle::Default),
                Integer<int>{0, 2});
  if (s.reading() && s.io.ok())
    s.doc.engine().setReferenceStyle(static_cast<ReferenceStyle>(refStyle));
  s.io.optional("look", s.doc.look(), ControlLook{}, Record<ControlLook>{mapLook});

  double height = s.doc.defaultRowHeight(), width = s.doc.defaultColWidth();
  s.io.optional("defaultRowHeight", height, s.defaults.defaultRowHeight());
  s.io.optional("defaultColWidth", width, s.defaults.defaultColWidth());
  if (s.reading() && s.io.ok()) {
    if (!s.doc.setRowHeight(-1, height)) s.io.fail("defaultRowHeight", "out of range");
    if (!s.doc.setColWidth(-1, width)) s.io.fail("defaultColWidth", "out of range");
  }
  s.io.optional("defaultAttributes", s.doc.defaultAttributes(), CellAttributes{},
                Record<CellAttributes>{mapAttributes});
}

void mapAttributesStep(SheetIo& s) {
  std::vector<PlacedAttributes> colAttrs, rowAttrs, cellAttrs;
  if (!s.reading()) {
    for (auto& [c, a] : s.doc.colAttributes()) colAttrs.push_back({c, 0, a});
    for (auto& [r, a] : s.doc.rowAttributes()) rowAttrs.push_back({0, r, a});
    for (uint64_t k : sortedKeys(s.doc.cellAttributes()))
      cellAttrs.push_back(
          {ControlDocument::keyCol(k), ControlDocument::keyRow(k), s.doc.cellAttributes().at(k)});
  }
  const int32_t cols = s.cols(), rows = s.rows();
  auto placed = [cols, rows](bool col, bool row) {
    return Record<PlacedAttributes>{[=](JsonIo& io, PlacedAttributes& p) {
      if (col) io.field("col", p.col, Integer<int32_t>{0, cols});
      if (row) io.field("row", p.row, Integer<int32_t>{0, rows});
      mapAttributes(io, p.attributes);
    }};
  };
  s.io.list("colAttributes", colAttrs, placed(true, false));
  s.io.list("rowAttributes", rowAttrs, placed(false, true));
  s.io.list("cellAttributes", cellAttrs, placed(true, true));
  if (!s.reading() || !s.io.ok()) return;
  for (auto& p : colAttrs) s.doc.setColAttributes(p.col, p.attributes);
  for (auto& p : rowAttrs) s.doc.setRowAttributes(p.row, p.attributes);
  for (auto& p : cellAttrs) s.doc.setCellAttributes(p.col, p.row, p.attributes);
}

void mapLinesStep(SheetIo& s) {
  std::vector<Tuple> colHeaders, rowHeaders, colWidths, rowHeights;
  std::vector<int32_t> hiddenCols, hiddenRows;
  if (!s.reading()) {
    for (auto& [c, t] : s.doc.colHeaders()) colHeaders.push_back({{c}, t, 0});
    for (auto& [r, t] : s.doc.rowHeaders()) rowHeaders.push_back({{r}, t, 0});
    for (auto& [c, w] : s.doc.colWidths()) colWidths.push_back({{c}, {}, w});
    for (auto& [r, h] : s.doc.rowHeights()) rowHeights.push_back({{r}, {}, h});
    hiddenCols.assign(s.doc.hiddenCols().begin(), s.doc.hiddenCols().end());
    hiddenRows.assign(s.doc.hiddenRows().begin(), s.doc.hiddenRows().end());
  }
  using Last = TupleOf::Last;
  s.io.list("colHeaders", colHeaders, TupleOf{{s.col(1)}, Last::Text, "text"});
  s.io.list("rowHeaders", rowHeaders, TupleOf{{s.row(1)}, Last::Text, "text"});
  s.io.list("colWidths", colWidths, TupleOf{{s.col()}, Last::Number, "width"});
  s.io.list("rowHeights", rowHeights, TupleOf{{s.row()}, Last::Number, "height"});
  s.io.list("hiddenCols", hiddenCols, Integer<int32_t>{0, s.cols()});
  s.io.list("hiddenRows", hiddenRows, Integer<int32_t>{0, s.rows()});
  if (!s.reading() || !s.io.ok()) return;
  auto at = [](int64_t v) { return static_cast<int32_t>(v); };
  for (auto& h : colHeaders) s.doc.setData(at(h.n[0]), 0, h.text);
  for (auto& h : rowHeaders) s.doc.setData(0, at(h.n[0]), h.text);
  for (std::size_t i = 0; i < colWidths.size(); ++i)
    if (!s.doc.setColWidth(at(colWidths[i].n[0]), colWidths[i].number))
      s.io.fail(JsonIo::at("colWidths", i), "the width is out of range");
  for (std::size_t i = 0; i < rowHeights.size(); ++i)
    if (!s.doc.setRowHeight(at(rowHeights[i].n[0]), rowHeights[i].number))
      s.io.fail(JsonIo::at("rowHeights", i), "the height is out of range");
  for (int32_t c : hiddenCols) s.doc.setColHidden(c, true);
  for (int32_t r : hiddenRows) s.doc.setRowHidden(r, true);
}

void mapCellNotesStep(SheetIo& s) {
  std::vector<Tuple> tags, tips, notes, spans;
  if (!s.reading()) {
    auto texts = [](const auto& m, std::vector<Tuple>& out) {
      for (uint64_t k : sortedKeys(m))
        out.push_back({{ControlDocument::keyCol(k), ControlDocument::keyRow(k)}, m.at(k), 0});
    };
    texts(s.doc.tags(), tags);
    texts(s.doc.textTips(), tips);
    for (uint64_t k : s.doc.noteIndicators())
      notes.push_back({{ControlDocument::keyCol(k), ControlDocument::keyRow(k)}, {}, 0});
    for (const CellSpan& sp : s.doc.spans())
      spans.push_back({{sp.col, sp.row, sp.numCols, sp.numRows}, {}, 0});
  }
  using Last = TupleOf::Last;
  s.io.list("tags", tags, TupleOf{{s.col(), s.row()}, Last::Text, "text"});
  s.io.list("textTips", tips, TupleOf{{s.col(), s.row()}, Last::Text, "text"});
  s.io.list("notes", notes, TupleOf{{s.col(), s.row()}});
  s.io.list("spans", spans,
            TupleOf{{s.col(1), s.row(1), {"columns", 1, s.cols()}, {"rows", 1, s.rows()}}});
  if (!s.reading() || !s.io.ok()) return;
  auto at = [](int64_t v) { return static_cast<int32_t>(v); };
  for (auto& t : tags) s.doc.setTag(at(t.n[0]), at(t.n[1]), t.text);
  for (auto& t : tips) s.doc.setTextTip(at(t.n[0]), at(t.n[1]), t.text);
  for (auto& n : notes) s.doc.setNoteIndicator(at(n.n[0]), at(n.n[1]), true);
  for (std::size_t i = 0; i < spans.size(); ++i) {
    const auto& n = spans[i].n;
    if (!s.doc.addSpan(at(n[0]), at(n[1]), at(n[2]), at(n[3])))
      s.io.fail(JsonIo::at("spans", i), "span at column " + std::to_string(n[0]) + ", row " +
                                            std::to_string(n[1]) +
                                            " reaches beyond the sheet or overlaps another");
  }
}

std::vector<CellRun> cellRunsOf(const ControlDocument& doc) {
  std::vector<CellRun> runs;
  int32_t nextRow = 0;
  doc.engine().grid().forEachAllocated(
      1, 1, doc.maxCols(), doc.maxRows(), [&](int32_t c, int32_t r, const Cell& cell) {
        if (!cell.isFilled()) return;
        if (runs.empty() || runs.back().col != c || r - nextRow > 4) {
          runs.push_back({c, r, {}});
          nextRow = r;
        }
        auto& cells = runs.back().cells;
        cells.insert(cells.end(), static_cast<std::size_t>(r - nextRow), nullptr);
        cells.push_back(&cell);
        nextRow = r + 1;
      });
  return runs;
}

// Values first, then the formulas, once every value they read is in place.
void mapCellsStep(SheetIo& s) {
  std::vector<CellRun> runs;
  if (!s.reading()) runs = cellRunsOf(s.doc);
  const int32_t cols = s.cols(), rows = s.rows();
  CellDocument& engine = s.doc.engine();
  std::vector<PendingFormula> formulas;
  std::size_t runsRead = 0;
  const Record<CellRun> run{[&](JsonIo& io, CellRun& r) {
    io.field("col", r.col, Integer<int32_t>{1, cols});
    io.field("row", r.row, Integer<int32_t>{1, rows});
    io.field("values", r.cells, CellValues{engine, r.col, r.row, rows, runsRead, formulas});
    if (io.reading()) ++runsRead;
  }};
  s.io.field("cells", runs, ListOf<CellRun, Record<CellRun>>{run});
  if (!s.reading() || !s.io.ok()) return;
  for (const PendingFormula& f : formulas) {
    if (const Status set = engine.setFormula(f.col, f.row, *f.text); !set) {
      s.io.fail(JsonIo::at("cells", f.run) + "." + JsonIo::at("values", f.index),
                "formula in column " + std::to_string(f.col) + ", row " + std::to_string(f.row) +
                    " is refused: " + base::quotable(set.message(), 200));
      break;
    }
  }
}

void mapCursorStep(SheetIo& s) {
  Tuple active{{s.doc.activeCol(), s.doc.activeRow()}, {}, 0};
  int32_t s1, s2, s3, s4;
  s.doc.selection(s1, s2, s3, s4);
  Tuple selection{{s1, s2, s3, s4}, {}, 0};
  // Written when there is an active cell, and a selection when it is more
  // than the active cell.
  const Tuple justActive{
      {s.doc.activeCol(), s.doc.activeRow(), s.doc.activeCol(), s.doc.activeRow()}, {}, 0};
  const TupleOf activeText{{s.col(), s.row()}};
  const TupleOf selectionText{{{"column", -1, s.cols()},
                               {"row", -1, s.rows()},
                               {"column", -1, s.cols()},
                               {"row", -1, s.rows()}}};
  if (s.reading()) {
    s.io.optional("active", active, Tuple{}, activeText);
    s.io.optional("selection", selection, Tuple{}, selectionText);
    if (!s.io.ok()) return;
    auto at = [](const Tuple& t, std::size_t i) { return static_cast<int32_t>(t.n[i]); };
    if (s.io.has("active")) s.doc.setActiveCell(at(active, 0), at(active, 1));
    if (s.io.has("selection"))
      s.doc.setSelection(at(selection, 0), at(selection, 1), at(selection, 2), at(selection, 3));
  } else {
    if (s.doc.activeCol() > 0) s.io.field("active", active, activeText);
    if (selection.n != justActive.n) s.io.field("selection", selection, selectionText);
  }
}

void mapSheet(SheetIo& s) {
  mapSize(s);
  mapOptionsStep(s);
  mapLookStep(s);
  mapAttributesStep(s);
  mapLinesStep(s);
  mapCellNotesStep(s);
  mapCellsStep(s);
  mapCursorStep(s);
  if (s.autoCalc && s.io.ok()) s.doc.setBoolOption(kOptionAutoCalc, true);
}

}  // namespace

std::string sheetToJson(const ControlDocument& doc) {
  Json root;
  JsonIo io = JsonIo::writer(root);
  const ControlDocument defaults;
  SheetIo s{io, const_cast<ControlDocument&>(doc), defaults};  // writing leaves it alone
  std::string format = kSheetFileFormatName;
  int version = kSheetFileVersion;
  io.field("format", format);
  io.field("version", version);
  mapSheet(s);
  // Members sorted by name, the order the files have always had.
  return base::sortedByName(std::move(root)).dump(1) + "\n";
}

Status sheetFromJson(ControlDocument& doc, std::string_view text) {
  Result<Json> root = base::readDocument(text, sheetDocumentKind());
  if (!root) return root.status();
  ControlDocument fresh;
  fresh.engine().customFunctions() = doc.engine().customFunctions();
  JsonIo io = JsonIo::reader(*root);
  const ControlDocument defaults;
  SheetIo s{io, fresh, defaults};
  mapSheet(s);
  if (!io.ok()) return io.status();
  doc.swapContents(fresh);
  return {};
}

SheetFileKind sheetFileKind(const std::filesystem::path& file) {
  std::string ext = file.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  if (ext == ".csv") return SheetFileKind::Csv;
  if (ext == ".tsv" || ext == ".txt") return SheetFileKind::Tsv;
  if (ext == ".xlsx") return SheetFileKind::Xlsx;
  if (ext == ".ods") return SheetFileKind::Ods;
  return SheetFileKind::Native;
}

Status loadSheetFile(ControlDocument& doc, const std::filesystem::path& file) {
  Result<std::string> bytes = base::readFile(file, kMaxSheetFileBytes);
  if (!bytes) return bytes.status();
  if (const SheetFileKind kind = sheetFileKind(file);
      kind == SheetFileKind::Xlsx || kind == SheetFileKind::Ods)
    return sheetFromWorkbook(doc, *bytes,
                             kind == SheetFileKind::Xlsx ? WorkbookKind::Xlsx : WorkbookKind::Ods)
        .inFile(file);
  Result<std::string> decoded = base::fileTextAsUtf8(*bytes);
  bytes = std::string();
  Status read = decoded.status();
  const std::string text = decoded ? std::move(*decoded) : std::string();
  if (read) {
    switch (sheetFileKind(file)) {
      case SheetFileKind::Native:
        read = sheetFromJson(doc, text);
        break;
      case SheetFileKind::Csv:
      case SheetFileKind::Tsv: {
        const char separator = sheetFileKind(file) == SheetFileKind::Csv ? ',' : '\t';
        read = sheetFromDelimited(doc, text, separator);
        break;
      }
      default:
        break;  // read above
    }
  }
  return read.inFile(file);
}

Status saveSheetFile(const ControlDocument& doc, const std::filesystem::path& file) {
  const SheetFileKind kind = sheetFileKind(file);
  std::string text;
  if (kind == SheetFileKind::Native) {
    text = sheetToJson(doc);
  } else if (kind == SheetFileKind::Ods) {
    return Status::error("cannot write " + file.string() +
                         ": ods workbooks are read, not written; save as .xlsx");
  } else if (kind == SheetFileKind::Xlsx) {
    base::Result<std::string> book = sheetToXlsx(doc);
    if (!book) return Status::error("cannot write " + file.string() + ": " + book.status().text());
    text = std::move(*book);
  } else {
    // No longer than the reader takes back.
    base::Result<std::string> delimited =
        sheetToDelimited(doc, kind == SheetFileKind::Csv ? ',' : '\t', kMaxSheetFileBytes);
    if (!delimited)
      return Status::error("cannot write " + file.string() + ": " + delimited.status().text());
    text = std::move(*delimited);
  }
  const Status written = base::writeFileAtomic(file, text);
  if (!written) return Status::error("cannot write " + file.string() + ": " + written.message());
  return {};
}

}  // namespace krv::sheet
