#include "platform/sheet/sheet_file.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>

#include "platform/sheet/control_text.h"
#include "platform/sheet/sheet_csv.h"
#include "platform/base/file_io.h"
#include "platform/win/text_bytes.h"

namespace krv::sheet {

using nlohmann::json;

namespace {

constexpr int kMaxNesting = 16;

// Deepest bracket nesting of JSON text (brackets inside strings not counted).
int nestingDepth(std::string_view text) {
  int depth = 0, deepest = 0;
  bool inString = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (inString) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      deepest = std::max(deepest, ++depth);
      if (deepest > kMaxNesting) return deepest;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return deepest;
}

std::string u8(const std::wstring& w) { return toUtf8Text(w); }

json attributesToJson(const CellAttributes& a) {
  const CellAttributes d;
  json j = json::object();
  if (a.type != d.type) j["type"] = a.type;
  if (a.style != d.style) j["style"] = a.style;
  if (a.decimals != d.decimals) j["decimals"] = a.decimals;
  if (a.minValue != d.minValue) j["min"] = a.minValue;
  if (a.maxValue != d.maxValue) j["max"] = a.maxValue;
  if (a.maxLength != d.maxLength) j["maxLength"] = a.maxLength;
  if (a.typeText != d.typeText) j["typeText"] = u8(a.typeText);
  if (a.backColor != d.backColor) j["backColor"] = a.backColor;
  if (a.foreColor != d.foreColor) j["foreColor"] = a.foreColor;
  if (a.fontName != d.fontName) j["fontName"] = u8(a.fontName);
  if (a.fontHeight != d.fontHeight) j["fontHeight"] = a.fontHeight;
  if (a.fontWeight != d.fontWeight) j["fontWeight"] = a.fontWeight;
  if (a.borderMask != d.borderMask) j["borderMask"] = a.borderMask;
  if (a.borderStyle != d.borderStyle) j["borderStyle"] = a.borderStyle;
  if (a.borderColor != d.borderColor) j["borderColor"] = a.borderColor;
  if (a.locked != d.locked) j["locked"] = a.locked;
  return j;
}

json lookToJson(const ControlLook& l) {
  const ControlLook d;
  json j = json::object();
  auto put = [&](const char* name, auto v, auto dv) {
    if (v != dv) j[name] = v;
  };
  put("appearance", l.appearance, d.appearance);
  put("backColorStyle", l.backColorStyle, d.backColorStyle);
  put("activeCellHighlightStyle", l.activeCellHighlightStyle, d.activeCellHighlightStyle);
  put("selBackColor", l.selBackColor, d.selBackColor);
  put("selForeColor", l.selForeColor, d.selForeColor);
  put("shadowColor", l.shadowColor, d.shadowColor);
  put("shadowTextColor", l.shadowTextColor, d.shadowTextColor);
  put("grayAreaBackColor", l.grayAreaBackColor, d.grayAreaBackColor);
  put("grayAreaForeColor", l.grayAreaForeColor, d.grayAreaForeColor);
  put("noteIndicator", l.noteIndicator, d.noteIndicator);
  put("textTipStatus", l.textTipStatus, d.textTipStatus);
  put("textTipDelay", l.textTipDelay, d.textTipDelay);
  put("textTipBackColor", l.textTipBackColor, d.textTipBackColor);
  put("textTipForeColor", l.textTipForeColor, d.textTipForeColor);
  if (l.actionKeys != d.actionKeys) j["actionKeys"] = l.actionKeys;
  return j;
}

json valueToJson(const Value& v) {
  switch (v.type()) {
    case ValueType::Number: return v.number();
    case ValueType::Text: return v.text();
    case ValueType::Bool: return v.boolean();
    case ValueType::Error: return json{{"error", errorText(v.error())}};
    default: return nullptr;
  }
}

// ---- reading ------------------------------------------------------------------

struct LoadError {
  std::string message;
};

[[noreturn]] void fail(std::string message) { throw LoadError{std::move(message)}; }

const json& member(const json& j, const char* name, json::value_t type, const char* what) {
  auto it = j.find(name);
  if (it == j.end()) fail(std::string("missing \"") + name + "\" in " + what);
  if (it->type() != type &&
      !(type == json::value_t::number_integer && it->type() == json::value_t::number_unsigned)) {
    fail(std::string("\"") + name + "\" in " + what + " has the wrong type");
  }
  return *it;
}

int64_t integer(const json& j, const char* what) {
  if (j.is_number_unsigned()) {
    if (j.get<uint64_t>() > static_cast<uint64_t>(INT64_MAX)) fail(std::string(what) + " is too large");
    return static_cast<int64_t>(j.get<uint64_t>());
  }
  if (!j.is_number_integer()) fail(std::string(what) + " is not a whole number");
  return j.get<int64_t>();
}

int64_t integerIn(const json& j, int64_t lo, int64_t hi, const std::string& what) {
  int64_t v = integer(j, what.c_str());
  if (v < lo || v > hi) {
    fail(what + " is " + std::to_string(v) + ", outside " + std::to_string(lo) + ".." + std::to_string(hi));
  }
  return v;
}

double number(const json& j, const char* what) {
  if (!j.is_number()) fail(std::string(what) + " is not a number");
  return j.get<double>();
}

std::wstring text(const json& j, const char* what) {
  if (!j.is_string()) fail(std::string(what) + " is not a text");
  return toWide(j.get_ref<const std::string&>());
}

const json& arrayOf(const json& j, size_t n, const char* what) {
  if (!j.is_array() || j.size() != n) fail(std::string(what) + " must be a list of " + std::to_string(n));
  return j;
}

uint32_t colour(const json& j, const char* what) {
  return static_cast<uint32_t>(integerIn(j, 0, 0xFFFFFFFFll, what));
}

CellAttributes attributesFromJson(const json& j) {
  if (!j.is_object()) fail("attributes must be an object");
  CellAttributes a;
  for (auto it = j.begin(); it != j.end(); ++it) {
    const std::string& k = it.key();
    const json& v = it.value();
    if (k == "type") a.type = static_cast<int>(integerIn(v, 0, 255, "cell type"));
    else if (k == "style") a.style = colour(v, "style");
    else if (k == "decimals") a.decimals = static_cast<int>(integerIn(v, 0, 15, "decimals"));
    else if (k == "min") a.minValue = number(v, "min");
    else if (k == "max") a.maxValue = number(v, "max");
    else if (k == "maxLength") a.maxLength = static_cast<int>(integerIn(v, 0, 1 << 20, "maxLength"));
    else if (k == "typeText") a.typeText = text(v, "typeText");
    else if (k == "backColor") a.backColor = colour(v, "backColor");
    else if (k == "foreColor") a.foreColor = colour(v, "foreColor");
    else if (k == "fontName") a.fontName = text(v, "fontName");
    else if (k == "fontHeight") a.fontHeight = static_cast<int>(integerIn(v, 0, 1000, "fontHeight"));
    else if (k == "fontWeight") a.fontWeight = static_cast<int>(integerIn(v, 0, 1000, "fontWeight"));
    else if (k == "borderMask") a.borderMask = colour(v, "borderMask");
    else if (k == "borderStyle") a.borderStyle = static_cast<int>(integerIn(v, 0, 255, "borderStyle"));
    else if (k == "borderColor") a.borderColor = colour(v, "borderColor");
    else if (k == "locked") {
      if (!v.is_boolean()) fail("locked is not true or false");
      a.locked = v.get<bool>();
    }
    // Unknown attributes of the same version are ignored.
  }
  return a;
}

ControlLook lookFromJson(const json& j) {
  if (!j.is_object()) fail("look must be an object");
  ControlLook l;
  auto i = [&](const char* name, int& out) {
    if (auto it = j.find(name); it != j.end()) out = static_cast<int>(integerIn(*it, INT32_MIN, INT32_MAX, name));
  };
  auto c = [&](const char* name, uint32_t& out) {
    if (auto it = j.find(name); it != j.end()) out = colour(*it, name);
  };
  i("appearance", l.appearance);
  i("backColorStyle", l.backColorStyle);
  i("activeCellHighlightStyle", l.activeCellHighlightStyle);
  c("selBackColor", l.selBackColor);
  c("selForeColor", l.selForeColor);
  c("shadowColor", l.shadowColor);
  c("shadowTextColor", l.shadowTextColor);
  c("grayAreaBackColor", l.grayAreaBackColor);
  c("grayAreaForeColor", l.grayAreaForeColor);
  i("noteIndicator", l.noteIndicator);
  i("textTipStatus", l.textTipStatus);
  i("textTipDelay", l.textTipDelay);
  c("textTipBackColor", l.textTipBackColor);
  c("textTipForeColor", l.textTipForeColor);
  if (auto it = j.find("actionKeys"); it != j.end()) {
    arrayOf(*it, 3, "actionKeys");
    for (size_t a = 0; a < 3; ++a) {
      arrayOf((*it)[a], 3, "action key");
      for (size_t b = 0; b < 3; ++b) {
        l.actionKeys[a][b] = static_cast<int>(integerIn((*it)[a][b], 0, 0xFFFF, "action key"));
      }
    }
  }
  return l;
}

void readDocument(ControlDocument& doc, const json& root) {
  if (!root.is_object()) fail("the file is not a sheet document (no JSON object)");
  auto fmt = root.find("format");
  if (fmt == root.end() || !fmt->is_string() || fmt->get<std::string>() != kSheetFileFormatName) {
    fail("the file is not a sheet document (\"format\" is not \"korvane sheet\")");
  }
  int64_t version = integer(member(root, "version", json::value_t::number_integer, "the document"), "version");
  if (version > kSheetFileVersion) {
    fail("the file was written by a newer version (format version " + std::to_string(version) +
         "; this program reads up to " + std::to_string(kSheetFileVersion) + ")");
  }
  if (version < 1) fail("format version " + std::to_string(version) + " is not valid");
  int64_t cols = integer(member(root, "cols", json::value_t::number_integer, "the document"), "cols");
  int64_t rows = integer(member(root, "rows", json::value_t::number_integer, "the document"), "rows");
  if (cols < 0 || cols > kControlMaxCols) {
    fail("the file claims " + std::to_string(cols) + " columns; a sheet holds 0 to " +
         std::to_string(kControlMaxCols));
  }
  if (rows < 0 || rows > kControlMaxRows) {
    fail("the file claims " + std::to_string(rows) + " rows; a sheet holds 0 to " +
         std::to_string(kControlMaxRows));
  }
  doc.setMaxCols(static_cast<int32_t>(cols));
  doc.setMaxRows(static_cast<int32_t>(rows));
  auto colIn = [&](const json& j, int64_t lo = 0) {
    return static_cast<int32_t>(integerIn(j, lo, cols, "a column"));
  };
  auto rowIn = [&](const json& j, int64_t lo = 0) {
    return static_cast<int32_t>(integerIn(j, lo, rows, "a row"));
  };
  auto list = [&](const char* name) -> const json* {
    auto it = root.find(name);
    if (it == root.end()) return nullptr;
    if (!it->is_array()) fail(std::string("\"") + name + "\" must be a list");
    return &*it;
  };

  bool autoCalc = false;
  if (auto it = root.find("options"); it != root.end()) {
    if (!it->is_object()) fail("\"options\" must be an object");
    if (auto b = it->find("bool"); b != it->end()) {
      if (!b->is_array()) fail("boolean options must be a list of indices");
      for (const json& i : *b) {
        int idx = static_cast<int>(integerIn(i, 0, ControlDocument::kOptionCount - 1, "an option index"));
        if (idx == 7) {
          autoCalc = true;
        } else {
          doc.setBoolOption(idx, true);
        }
      }
    }
    if (auto b = it->find("off"); b != it->end()) {
      if (!b->is_array()) fail("boolean options must be a list of indices");
      for (const json& i : *b) {
        doc.setBoolOption(static_cast<int>(integerIn(i, 0, ControlDocument::kOptionCount - 1, "an option index")),
                          false);
      }
    }
    if (auto n = it->find("int"); n != it->end()) {
      if (!n->is_object()) fail("integer options must be an object");
      for (auto e = n->begin(); e != n->end(); ++e) {
        char* end = nullptr;
        long idx = std::strtol(e.key().c_str(), &end, 10);
        if (e.key().empty() || *end || idx < 0 || idx >= ControlDocument::kOptionCount) {
          fail("integer option \"" + e.key() + "\" is not an option index");
        }
        doc.setIntOption(static_cast<int>(idx), static_cast<int>(integerIn(e.value(), INT32_MIN, INT32_MAX, "an option")));
      }
    }
  }
  if (auto it = root.find("refStyle"); it != root.end()) {
    doc.engine().setReferenceStyle(static_cast<ReferenceStyle>(integerIn(*it, 0, 2, "refStyle")));
  }
  if (auto it = root.find("look"); it != root.end()) doc.look() = lookFromJson(*it);
  if (auto it = root.find("defaultRowHeight"); it != root.end()) {
    if (!doc.setRowHeight(-1, number(*it, "defaultRowHeight"))) fail("defaultRowHeight is out of range");
  }
  if (auto it = root.find("defaultColWidth"); it != root.end()) {
    if (!doc.setColWidth(-1, number(*it, "defaultColWidth"))) fail("defaultColWidth is out of range");
  }
  if (auto it = root.find("defaultAttributes"); it != root.end()) doc.defaultAttributes() = attributesFromJson(*it);
  if (auto l = list("colAttributes")) {
    for (const json& e : *l) doc.setColAttributes(colIn(member(e, "col", json::value_t::number_integer, "column attributes")), attributesFromJson(e));
  }
  if (auto l = list("rowAttributes")) {
    for (const json& e : *l) doc.setRowAttributes(rowIn(member(e, "row", json::value_t::number_integer, "row attributes")), attributesFromJson(e));
  }
  if (auto l = list("cellAttributes")) {
    for (const json& e : *l) {
      int32_t c = colIn(member(e, "col", json::value_t::number_integer, "cell attributes"));
      int32_t r = rowIn(member(e, "row", json::value_t::number_integer, "cell attributes"));
      doc.setCellAttributes(c, r, attributesFromJson(e));
    }
  }
  if (auto l = list("colHeaders")) {
    for (const json& e : *l) doc.setData(colIn(arrayOf(e, 2, "a column header")[0], 1), 0, text(e[1], "a header"));
  }
  if (auto l = list("rowHeaders")) {
    for (const json& e : *l) doc.setData(0, rowIn(arrayOf(e, 2, "a row header")[0], 1), text(e[1], "a header"));
  }
  if (auto l = list("colWidths")) {
    for (const json& e : *l) {
      if (!doc.setColWidth(colIn(arrayOf(e, 2, "a column width")[0]), number(e[1], "a width"))) fail("a column width is out of range");
    }
  }
  if (auto l = list("rowHeights")) {
    for (const json& e : *l) {
      if (!doc.setRowHeight(rowIn(arrayOf(e, 2, "a row height")[0]), number(e[1], "a height"))) fail("a row height is out of range");
    }
  }
  if (auto l = list("hiddenCols")) for (const json& e : *l) doc.setColHidden(colIn(e), true);
  if (auto l = list("hiddenRows")) for (const json& e : *l) doc.setRowHidden(rowIn(e), true);
  if (auto l = list("tags")) {
    for (const json& e : *l) doc.setTag(colIn(arrayOf(e, 3, "a tag")[0]), rowIn(e[1]), text(e[2], "a tag"));
  }
  if (auto l = list("textTips")) {
    for (const json& e : *l) doc.setTextTip(colIn(arrayOf(e, 3, "a text tip")[0]), rowIn(e[1]), text(e[2], "a text tip"));
  }
  if (auto l = list("notes")) {
    for (const json& e : *l) doc.setNoteIndicator(colIn(arrayOf(e, 2, "a note")[0]), rowIn(e[1]), true);
  }
  if (auto l = list("spans")) {
    for (const json& e : *l) {
      arrayOf(e, 4, "a span");
      int32_t c = colIn(e[0], 1), r = rowIn(e[1], 1);
      auto nc = integerIn(e[2], 1, cols, "span columns"), nr = integerIn(e[3], 1, rows, "span rows");
      if (!doc.addSpan(c, r, static_cast<int32_t>(nc), static_cast<int32_t>(nr))) {
        fail("span at column " + std::to_string(c) + ", row " + std::to_string(r) +
             " reaches beyond the sheet or overlaps another");
      }
    }
  }
  // Cells: values first, formulas after all values are in place.
  struct PendingFormula {
    int32_t col, row;
    std::string text;
  };
  std::vector<PendingFormula> formulas;
  if (auto l = list("cells")) {
    for (const json& run : *l) {
      if (!run.is_object()) fail("a cell run must be an object");
      int32_t c = colIn(member(run, "col", json::value_t::number_integer, "a cell run"), 1);
      int32_t r = rowIn(member(run, "row", json::value_t::number_integer, "a cell run"), 1);
      const json& values = member(run, "values", json::value_t::array, "a cell run");
      if (static_cast<int64_t>(values.size()) > rows - r + 1) {
        fail("the cells from column " + std::to_string(c) + ", row " + std::to_string(r) +
             " reach beyond the last row");
      }
      CellDocument& engine = doc.engine();
      for (const json& v : values) {
        switch (v.type()) {
          case json::value_t::null: break;
          case json::value_t::number_integer:
          case json::value_t::number_unsigned:
          case json::value_t::number_float: engine.setValue(c, r, Value::number(v.get<double>())); break;
          case json::value_t::string: engine.setValue(c, r, Value::text(v.get<std::string>())); break;
          case json::value_t::boolean: engine.setValue(c, r, Value::boolean(v.get<bool>())); break;
          case json::value_t::object: {
            if (auto f = v.find("f"); f != v.end()) {
              if (!f->is_string()) fail("a formula is not a text");
              formulas.push_back({c, r, f->get<std::string>()});
            } else if (auto e = v.find("error"); e != v.end() && e->is_string()) {
              auto code = parseErrorText(e->get<std::string>());
              if (!code) fail("unknown error value " + e->get<std::string>());
              engine.setValue(c, r, Value::error(*code));
            } else {
              fail("a cell object must hold \"f\" or \"error\"");
            }
            break;
          }
          default: fail("a cell value must be a number, text, boolean, null or formula");
        }
        ++r;
      }
    }
  }
  for (auto& f : formulas) {
    if (krv::base::Status set = doc.engine().setFormula(f.col, f.row, f.text); !set) {
      fail("formula in column " + std::to_string(f.col) + ", row " + std::to_string(f.row) +
           " is refused: " + set.message());
    }
  }
  if (auto it = root.find("active"); it != root.end()) {
    arrayOf(*it, 2, "active");
    doc.setActiveCell(colIn((*it)[0]), rowIn((*it)[1]));
  }
  if (auto it = root.find("selection"); it != root.end()) {
    arrayOf(*it, 4, "selection");
    auto b = [&](const json& j, int64_t max) { return static_cast<int32_t>(integerIn(j, -1, max, "a selection bound")); };
    doc.setSelection(b((*it)[0], cols), b((*it)[1], rows), b((*it)[2], cols), b((*it)[3], rows));
  }
  if (autoCalc) doc.setBoolOption(7, true);
}

}  // namespace

std::string sheetToJson(const ControlDocument& doc) {
  json root = json::object();
  root["format"] = kSheetFileFormatName;
  root["version"] = kSheetFileVersion;
  root["cols"] = doc.maxCols();
  root["rows"] = doc.maxRows();
  json on = json::array(), off = json::array();
  json ints = json::object();
  const ControlDocument defaults;
  for (int i = 0; i < ControlDocument::kOptionCount; ++i) {
    bool b = doc.boolOption(i);
    if (b != defaults.boolOption(i)) (b ? on : off).push_back(i);
    if (doc.intOption(i) != 0) ints[std::to_string(i)] = doc.intOption(i);
  }
  if (!on.empty() || !off.empty() || !ints.empty()) {
    json& o = root["options"];
    o = json::object();
    if (!on.empty()) o["bool"] = on;
    if (!off.empty()) o["off"] = off;
    if (!ints.empty()) o["int"] = ints;
  }
  if (doc.engine().referenceStyle() != ReferenceStyle::Default) root["refStyle"] = static_cast<int>(doc.engine().referenceStyle());
  if (json l = lookToJson(doc.look()); !l.empty()) root["look"] = l;
  if (doc.defaultRowHeight() != defaults.defaultRowHeight()) root["defaultRowHeight"] = doc.defaultRowHeight();
  if (doc.defaultColWidth() != defaults.defaultColWidth()) root["defaultColWidth"] = doc.defaultColWidth();
  if (json a = attributesToJson(doc.defaultAttributes()); !a.empty()) root["defaultAttributes"] = a;
  if (!doc.colAttributes().empty()) {
    json& l = root["colAttributes"] = json::array();
    for (auto& [c, a] : doc.colAttributes()) {
      json j = attributesToJson(a);
      j["col"] = c;
      l.push_back(std::move(j));
    }
  }
  if (!doc.rowAttributes().empty()) {
    json& l = root["rowAttributes"] = json::array();
    for (auto& [r, a] : doc.rowAttributes()) {
      json j = attributesToJson(a);
      j["row"] = r;
      l.push_back(std::move(j));
    }
  }
  auto sortedKeys = [](const auto& m) {
    std::vector<uint64_t> keys;
    keys.reserve(m.size());
    for (auto& e : m) keys.push_back(e.first);
    std::sort(keys.begin(), keys.end());
    return keys;
  };
  if (!doc.cellAttributes().empty()) {
    json& l = root["cellAttributes"] = json::array();
    for (uint64_t k : sortedKeys(doc.cellAttributes())) {
      json j = attributesToJson(doc.cellAttributes().at(k));
      j["col"] = ControlDocument::keyCol(k);
      j["row"] = ControlDocument::keyRow(k);
      l.push_back(std::move(j));
    }
  }
  if (!doc.colHeaders().empty()) {
    json& l = root["colHeaders"] = json::array();
    for (auto& [c, t] : doc.colHeaders()) l.push_back(json::array({c, u8(t)}));
  }
  if (!doc.rowHeaders().empty()) {
    json& l = root["rowHeaders"] = json::array();
    for (auto& [r, t] : doc.rowHeaders()) l.push_back(json::array({r, u8(t)}));
  }
  if (!doc.colWidths().empty()) {
    json& l = root["colWidths"] = json::array();
    for (auto& [c, w] : doc.colWidths()) l.push_back(json::array({c, w}));
  }
  if (!doc.rowHeights().empty()) {
    json& l = root["rowHeights"] = json::array();
    for (auto& [r, h] : doc.rowHeights()) l.push_back(json::array({r, h}));
  }
  if (!doc.hiddenCols().empty()) root["hiddenCols"] = doc.hiddenCols();
  if (!doc.hiddenRows().empty()) root["hiddenRows"] = doc.hiddenRows();
  auto cellTexts = [&](const char* name, const auto& m) {
    if (m.empty()) return;
    json& l = root[name] = json::array();
    for (uint64_t k : sortedKeys(m)) {
      l.push_back(json::array({ControlDocument::keyCol(k), ControlDocument::keyRow(k), u8(m.at(k))}));
    }
  };
  cellTexts("tags", doc.tags());
  cellTexts("textTips", doc.textTips());
  if (!doc.noteIndicators().empty()) {
    json& l = root["notes"] = json::array();
    for (uint64_t k : doc.noteIndicators()) l.push_back(json::array({ControlDocument::keyCol(k), ControlDocument::keyRow(k)}));
  }
  if (!doc.spans().empty()) {
    json& l = root["spans"] = json::array();
    for (const CellSpan& s : doc.spans()) l.push_back(json::array({s.col, s.row, s.numCols, s.numRows}));
  }
  if (doc.activeCol() > 0) root["active"] = json::array({doc.activeCol(), doc.activeRow()});
  int32_t s1, s2, s3, s4;
  doc.selection(s1, s2, s3, s4);
  if (s1 != doc.activeCol() || s2 != doc.activeRow() || s3 != doc.activeCol() || s4 != doc.activeRow()) {
    root["selection"] = json::array({s1, s2, s3, s4});
  }

  // Runs of filled cells per column; gaps of up to 4 empty cells stay in a
  // run as nulls.
  json cells = json::array();
  const CellDocument& engine = doc.engine();
  json* run = nullptr;
  int32_t runCol = 0, nextRow = 0;
  engine.grid().forEachAllocated(1, 1, doc.maxCols(), doc.maxRows(), [&](int32_t c, int32_t r, const Cell& cell) {
    if (cell.value.isEmpty() && cell.formula == 0) return;
    if (!run || runCol != c || r - nextRow > 4) {
      cells.push_back(json{{"col", c}, {"row", r}, {"values", json::array()}});
      run = &cells.back()["values"];
      runCol = c;
      nextRow = r;
    }
    for (; nextRow < r; ++nextRow) run->push_back(nullptr);
    if (cell.formula) {
      run->push_back(json{{"f", engine.formulaText(c, r)}});
    } else {
      run->push_back(valueToJson(cell.value));
    }
    nextRow = r + 1;
  });
  root["cells"] = std::move(cells);
  return root.dump(1) + "\n";
}

bool sheetFromJson(ControlDocument& doc, std::string_view text, std::string& error) {
  if (text.size() >= 3 && static_cast<unsigned char>(text[0]) == 0xEF &&
      static_cast<unsigned char>(text[1]) == 0xBB && static_cast<unsigned char>(text[2]) == 0xBF) {
    text.remove_prefix(3);
  }
  if (nestingDepth(text) > kMaxNesting) {
    error = "the file nests deeper than a sheet document does";
    return false;
  }
  json root = json::parse(text.begin(), text.end(), nullptr, false);
  if (root.is_discarded()) {
    // Parse again with exceptions for the position of the fault.
    try {
      json again = json::parse(text.begin(), text.end());
      error = "the file is not valid JSON";
    } catch (const json::exception& e) {
      // The parser's message quotes the bytes it stopped at.
      error = "the file is not valid JSON: " + displayText(std::string_view(e.what()), 200);
    }
    return false;
  }
  ControlDocument fresh;
  fresh.engine().customFunctions() = doc.engine().customFunctions();
  try {
    readDocument(fresh, root);
  } catch (const LoadError& e) {
    // Messages may quote names and texts of the file.
    error = displayText(std::string_view(e.message), 300);
    return false;
  } catch (const json::exception& e) {
    error = "malformed sheet document: " + displayText(std::string_view(e.what()), 200);
    return false;
  }
  doc.swapContents(fresh);
  return true;
}

SheetFileKind sheetFileKind(const std::filesystem::path& file) {
  std::string ext = file.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  if (ext == ".csv") return SheetFileKind::Csv;
  if (ext == ".tsv" || ext == ".txt") return SheetFileKind::Tsv;
  return SheetFileKind::Native;
}

bool readWholeFile(const std::filesystem::path& file, std::string& bytes, std::string& error,
                   std::uintmax_t maxBytes) {
  base::Result<std::string> read = base::readFile(file, maxBytes);
  bytes = read ? std::move(*read) : std::string();
  return base::reportTo(read.status(), error);
}

bool writeFileAtomically(const std::filesystem::path& file, std::string_view bytes, std::string& error) {
  const base::Status written = base::writeFileAtomic(file, bytes);
  if (!written) error = "cannot write " + file.string() + ": " + written.message();
  return written.ok();
}

bool loadSheetFile(ControlDocument& doc, const std::filesystem::path& file, std::string& error) {
  std::string bytes, text;
  if (!readWholeFile(file, bytes, error)) return false;
  bool ok = fileTextAsUtf8(bytes, text, error);
  bytes = std::string();
  if (ok) {
    switch (sheetFileKind(file)) {
      case SheetFileKind::Native:
        ok = sheetFromJson(doc, text, error);
        break;
      case SheetFileKind::Csv:
        ok = krv::base::reportTo(sheetFromDelimited(doc, text, ','), error);
        break;
      case SheetFileKind::Tsv:
        ok = krv::base::reportTo(sheetFromDelimited(doc, text, '\t'), error);
        break;
    }
  }
  if (!ok) error = file.string() + ": " + error;
  return ok;
}

bool saveSheetFile(const ControlDocument& doc, const std::filesystem::path& file, std::string& error) {
  const SheetFileKind kind = sheetFileKind(file);
  if (kind == SheetFileKind::Native) return writeFileAtomically(file, sheetToJson(doc), error);
  // No longer than the reader takes back.
  auto text = sheetToDelimited(doc, kind == SheetFileKind::Csv ? ',' : '\t', kMaxSheetFileBytes);
  if (!text) {
    error = "cannot write " + file.string() + ": " + text.status().text();
    return false;
  }
  return writeFileAtomically(file, *text, error);
}

}  // namespace krv::sheet
