// Everything the control holds about one sheet apart from windows: cell attributes, headers, spans,
// options, selection.
#include "platform/sheet/control_document.h"

#include <algorithm>
#include <cmath>

#include "platform/base/utf.h"
#include "platform/sheet/cell_input.h"
#include "platform/sheet/formula_number_text.h"

namespace krv::sheet {

namespace {

std::string generalText(const Value& v) {
  switch (v.type()) {
    case ValueType::Empty:
      return {};
    case ValueType::Number:
      return formatGeneral(v.number());
    case ValueType::Text:
      return v.text();
    case ValueType::Bool:
      return v.boolean() ? "TRUE" : "FALSE";
    case ValueType::Error:
      return errorText(v.error());
  }
  return {};
}

// Text within a tab-separated block: tabs and line breaks cannot appear.
std::wstring blockField(std::wstring s) {
  for (auto& c : s) {
    if (c == L'\t' || c == L'\n' || c == L'\r') c = L' ';
  }
  return s;
}

}  // namespace

ControlDocument::ControlDocument() : mEngine(std::make_unique<CellDocument>(0, 0)) {
  mBoolOptions[kOptionRedraw] = true;
  installFormatter();
}

ControlDocument::~ControlDocument() = default;

std::wstring ControlDocument::cellName(int32_t col, int32_t row) {
  return defaultColHeader(col) + std::to_wstring(row);
}

std::wstring ControlDocument::defaultColHeader(int32_t col) {
  std::wstring s;
  while (col > 0) {
    int d = (col - 1) % 26;
    s.insert(s.begin(), static_cast<wchar_t>(L'A' + d));
    col = (col - 1) / 26;
  }
  return s;
}

bool ControlDocument::setMaxCols(int32_t count) {
  if (count < 0 || count > kControlMaxCols) return false;
  if (!mEngine->setMaxCols(count)) return false;
  std::erase_if(mCellAttrs, [&](const auto& e) { return keyCol(e.first) > count; });
  std::erase_if(mTags, [&](const auto& e) { return keyCol(e.first) > count; });
  std::erase_if(mTextTips, [&](const auto& e) { return keyCol(e.first) > count; });
  std::erase_if(mNotes, [&](uint64_t k) { return keyCol(k) > count; });
  mColAttrs.erase(mColAttrs.upper_bound(count), mColAttrs.end());
  mColHeaders.erase(mColHeaders.upper_bound(count), mColHeaders.end());
  mColWidths.erase(mColWidths.upper_bound(count), mColWidths.end());
  mHiddenCols.erase(mHiddenCols.upper_bound(count), mHiddenCols.end());
  std::erase_if(mSpans, [&](const CellSpan& s) { return s.col + s.numCols - 1 > count; });
  return true;
}

bool ControlDocument::setMaxRows(int32_t count) {
  if (count < 0 || count > kControlMaxRows) return false;
  if (!mEngine->setMaxRows(count)) return false;
  std::erase_if(mCellAttrs, [&](const auto& e) { return keyRow(e.first) > count; });
  std::erase_if(mTags, [&](const auto& e) { return keyRow(e.first) > count; });
  std::erase_if(mTextTips, [&](const auto& e) { return keyRow(e.first) > count; });
  std::erase_if(mNotes, [&](uint64_t k) { return keyRow(k) > count; });
  mRowAttrs.erase(mRowAttrs.upper_bound(count), mRowAttrs.end());
  mRowHeaders.erase(mRowHeaders.upper_bound(count), mRowHeaders.end());
  mRowHeights.erase(mRowHeights.upper_bound(count), mRowHeights.end());
  mHiddenRows.erase(mHiddenRows.upper_bound(count), mHiddenRows.end());
  std::erase_if(mSpans, [&](const CellSpan& s) { return s.row + s.numRows - 1 > count; });
  return true;
}

// ---- texts -------------------------------------------------------------------

std::string ControlDocument::formatValue(int32_t col, int32_t row, const Value& v) const {
  const CellAttributes& a = attributes(col, row);
  if (a.type == kCellTypeNumber && v.isNumber()) {
    return formatFixedText(v.number(), std::clamp(a.decimals, 0, 15),
                           (a.style & kNumberStyleThousands) ? ThousandsSeparators::With
                                                             : ThousandsSeparators::Without);
  }
  return generalText(v);
}

bool ControlDocument::hasHeaderText(int32_t col, int32_t row) const {
  col = headerIndex(col);
  row = headerIndex(row);
  if (row == 0 && col > 0) return mColHeaders.count(col) > 0;
  if (col == 0 && row > 0) return mRowHeaders.count(row) > 0;
  return false;
}

std::optional<std::wstring> ControlDocument::data(int32_t col, int32_t row) const {
  if (!containsCell(col, row)) return std::nullopt;
  col = headerIndex(col);
  row = headerIndex(row);
  if (col == 0 && row == 0) return std::wstring();
  if (row == 0) {
    auto it = mColHeaders.find(col);
    return it != mColHeaders.end() ? it->second : defaultColHeader(col);
  }
  if (col == 0) {
    auto it = mRowHeaders.find(row);
    return it != mRowHeaders.end() ? it->second : std::to_wstring(row);
  }
  return base::utf8ToWide(generalText(mEngine->value(col, row)));
}

std::optional<std::wstring> ControlDocument::valueText(int32_t col, int32_t row) const {
  if (!containsCell(col, row)) return std::nullopt;
  col = headerIndex(col);
  row = headerIndex(row);
  if (col == 0 || row == 0) return data(col, row);
  const Value& v = mEngine->value(col, row);
  if (v.isEmpty()) return std::wstring();
  return base::utf8ToWide(formatValue(col, row, v));
}

std::optional<std::wstring> ControlDocument::formula(int32_t col, int32_t row) const {
  if (!containsCell(col, row)) return std::nullopt;
  col = headerIndex(col);
  row = headerIndex(row);
  if (col == 0 || row == 0) return std::wstring();
  return base::utf8ToWide(mEngine->formulaText(col, row));
}

std::optional<std::wstring> ControlDocument::tag(int32_t col, int32_t row) const {
  if (!containsCell(col, row)) return std::nullopt;
  auto it = mTags.find(key(headerIndex(col), headerIndex(row)));
  return it != mTags.end() ? it->second : std::wstring();
}

bool ControlDocument::setData(int32_t col, int32_t row, const std::wstring& text) {
  if (!containsCell(col, row)) return false;
  col = headerIndex(col);
  row = headerIndex(row);
  if (col == 0 && row == 0) return true;
  if (row == 0) {
    mColHeaders[col] = text;
    return true;
  }
  if (col == 0) {
    mRowHeaders[row] = text;
    return true;
  }
  if (text.empty()) return mEngine->clearCell(col, row);
  std::string utf8 = base::toUtf8(text);
  // An edit (text) cell keeps what was written as text, numbers included;
  // formulas that calculate with it convert it where they need a number.
  const int type = attributes(col, row).type;
  if (type == kCellTypeEdit) return mEngine->setValue(col, row, Value::text(std::move(utf8)));
  if (auto n = parseNumberText(utf8)) {
    if (type == kCellTypeNumber || type == kCellTypeCheckBox || formatGeneral(*n) == utf8) {
      return mEngine->setValue(col, row, Value::number(*n));
    }
  }
  return mEngine->setValue(col, row, Value::text(std::move(utf8)));
}

krv::base::Status ControlDocument::setFormula(int32_t col, int32_t row,
                                              const std::wstring& formula) {
  col = headerIndex(col);
  row = headerIndex(row);
  if (col < 1 || row < 1 || col > maxCols() || row > maxRows())
    return krv::base::Status::error("cell outside the sheet");
  if (formula.empty() || formula == L"=") {
    mEngine->clearCell(col, row);
    return {};
  }
  return mEngine->setFormula(col, row, base::toUtf8(formula));
}

bool ControlDocument::setTag(int32_t col, int32_t row, const std::wstring& text) {
  if (!containsCell(col, row)) return false;
  uint64_t k = key(headerIndex(col), headerIndex(row));
  if (text.empty()) {
    mTags.erase(k);
  } else {
    mTags[k] = text;
  }
  return true;
}

bool ControlDocument::clearCell(int32_t col, int32_t row) {
  if (!containsCell(col, row)) return false;
  col = headerIndex(col);
  row = headerIndex(row);
  if (row == 0) {
    mColHeaders.erase(col);
    return true;
  }
  if (col == 0) {
    mRowHeaders.erase(row);
    return true;
  }
  return mEngine->clearCell(col, row);
}

// ---- attributes ------------------------------------------------------------------

const CellAttributes& ControlDocument::attributes(int32_t col, int32_t row) const {
  col = headerIndex(col);
  row = headerIndex(row);
  if (!mCellAttrs.empty()) {
    auto it = mCellAttrs.find(key(col, row));
    if (it != mCellAttrs.end()) return it->second;
  }
  if (!mColAttrs.empty()) {
    auto it = mColAttrs.find(col);
    if (it != mColAttrs.end()) return it->second;
  }
  if (!mRowAttrs.empty()) {
    auto it = mRowAttrs.find(row);
    if (it != mRowAttrs.end()) return it->second;
  }
  return mDefaultAttrs;
}

bool ControlDocument::changeAttributesImpl(int32_t col1, int32_t row1, int32_t col2, int32_t row2,
                                           const std::function<void(CellAttributes&)>& change) {
  col1 = headerIndex(col1);
  row1 = headerIndex(row1);
  col2 = headerIndex(col2);
  row2 = headerIndex(row2);
  bool allCols = col1 == -1 || col2 == -1;
  bool allRows = row1 == -1 || row2 == -1;
  if (allCols) col1 = 0, col2 = maxCols();
  if (allRows) row1 = 0, row2 = maxRows();
  if (col1 > col2) std::swap(col1, col2);
  if (row1 > row2) std::swap(row1, row2);
  if (col1 < 0 || row1 < 0 || col2 > maxCols() || row2 > maxRows()) return false;
  // Records of their own inside the block change as well. A small block
  // looks its cells up; a large one walks the records, so that the cost is
  // the smaller of the two (formatting one cell must not visit them all).
  const auto blockCells =
      static_cast<uint64_t>(col2 - col1 + 1) * static_cast<uint64_t>(row2 - row1 + 1);
  if (blockCells < mCellAttrs.size()) {
    for (int32_t c = col1; c <= col2; ++c)
      for (int32_t r = row1; r <= row2; ++r)
        if (auto it = mCellAttrs.find(key(c, r)); it != mCellAttrs.end()) change(it->second);
  } else {
    for (auto& [k, a] : mCellAttrs) {
      int32_t c = keyCol(k), r = keyRow(k);
      if (c >= col1 && c <= col2 && r >= row1 && r <= row2) change(a);
    }
  }
  if (allCols && allRows) {
    change(mDefaultAttrs);
    for (auto& [c, a] : mColAttrs) change(a);
    for (auto& [r, a] : mRowAttrs) change(a);
    return true;
  }
  if (allRows) {
    for (int32_t c = col1; c <= col2; ++c) {
      auto it = mColAttrs.find(c);
      if (it == mColAttrs.end()) it = mColAttrs.emplace(c, attributes(c, -1)).first;
      change(it->second);
    }
    return true;
  }
  if (allCols) {
    for (int32_t r = row1; r <= row2; ++r) {
      auto it = mRowAttrs.find(r);
      if (it == mRowAttrs.end()) it = mRowAttrs.emplace(r, attributes(-1, r)).first;
      change(it->second);
    }
    // Column records would hide the row's record: the cells of the row in
    // those columns get records of their own.
    for (auto& [c, ca] : mColAttrs) {
      for (int32_t r = row1; r <= row2; ++r) {
        uint64_t k = key(c, r);
        if (mCellAttrs.count(k)) continue;
        CellAttributes a = ca;
        change(a);
        mCellAttrs.emplace(k, std::move(a));
      }
    }
    return true;
  }
  for (int32_t c = col1; c <= col2; ++c) {
    for (int32_t r = row1; r <= row2; ++r) {
      uint64_t k = key(c, r);
      if (mCellAttrs.count(k)) continue;
      CellAttributes a = attributes(c, r);
      change(a);
      mCellAttrs.emplace(k, std::move(a));
    }
  }
  return true;
}

std::optional<std::wstring> ControlDocument::textTip(int32_t col, int32_t row) const {
  if (!containsCell(col, row)) return std::nullopt;
  auto it = mTextTips.find(key(headerIndex(col), headerIndex(row)));
  return it != mTextTips.end() ? it->second : std::wstring();
}

bool ControlDocument::setTextTip(int32_t col, int32_t row, const std::wstring& text) {
  if (!containsCell(col, row)) return false;
  uint64_t k = key(headerIndex(col), headerIndex(row));
  if (text.empty()) {
    mTextTips.erase(k);
  } else {
    mTextTips[k] = text;
  }
  return true;
}

bool ControlDocument::noteIndicator(int32_t col, int32_t row) const {
  return mNotes.count(key(headerIndex(col), headerIndex(row))) > 0;
}

bool ControlDocument::setNoteIndicator(int32_t col, int32_t row, bool on) {
  if (!containsCell(col, row)) return false;
  uint64_t k = key(headerIndex(col), headerIndex(row));
  if (on) {
    mNotes.insert(k);
  } else {
    mNotes.erase(k);
  }
  return true;
}

// ---- rows and columns ----------------------------------------------------------------

double ControlDocument::rowHeight(int32_t row) const {
  auto it = mRowHeights.find(headerIndex(row));
  return it != mRowHeights.end() ? it->second : mDefaultRowHeight;
}

double ControlDocument::colWidth(int32_t col) const {
  auto it = mColWidths.find(headerIndex(col));
  return it != mColWidths.end() ? it->second : mDefaultColWidth;
}

bool ControlDocument::setRowHeight(int32_t row, double height) {
  row = headerIndex(row);
  if (row < -1 || row > maxRows() || !(height >= 0) || height > 10000) return false;
  if (row == -1) {
    mDefaultRowHeight = height;
    mRowHeights.clear();
  } else {
    mRowHeights[row] = height;
  }
  return true;
}

bool ControlDocument::setColWidth(int32_t col, double width) {
  col = headerIndex(col);
  if (col < -1 || col > maxCols() || !(width >= 0) || width > 10000) return false;
  if (col == -1) {
    mDefaultColWidth = width;
    mColWidths.clear();
  } else {
    mColWidths[col] = width;
  }
  return true;
}

bool ControlDocument::setRowHidden(int32_t row, bool hidden) {
  row = headerIndex(row);
  if (row < 0 || row > maxRows()) return false;
  if (hidden) {
    mHiddenRows.insert(row);
  } else {
    mHiddenRows.erase(row);
  }
  return true;
}

bool ControlDocument::setColHidden(int32_t col, bool hidden) {
  col = headerIndex(col);
  if (col < 0 || col > maxCols()) return false;
  if (hidden) {
    mHiddenCols.insert(col);
  } else {
    mHiddenCols.erase(col);
  }
  return true;
}

namespace {

template <class Map>
Map remapKeys(const Map& in, const std::function<int32_t(int32_t)>& map) {
  Map out;
  for (const auto& [k, v] : in) {
    if (k <= 0) {
      out.emplace(k, v);
    } else if (int32_t n = map(k); n > 0) {
      out.emplace(n, v);
    }
  }
  return out;
}

std::set<int32_t> remapSet(const std::set<int32_t>& in,
                           const std::function<int32_t(int32_t)>& map) {
  std::set<int32_t> out;
  for (int32_t k : in) {
    if (k <= 0) {
      out.insert(k);
    } else if (int32_t n = map(k); n > 0) {
      out.insert(n);
    }
  }
  return out;
}

}  // namespace

void ControlDocument::remap(const LineShift& shift) {
  const bool rows = shift.rows;
  const std::function<int32_t(int32_t)> map = [&shift](int32_t i) { return shift.map(i); };
  auto moveKey = [&](uint64_t k, uint64_t& out) {
    int32_t c = keyCol(k), r = keyRow(k);
    int32_t& i = rows ? r : c;
    if (i > 0) {
      i = map(i);
      if (i <= 0) return false;
    }
    out = key(c, r);
    return true;
  };
  auto remapCellMap = [&](auto& m) {
    std::remove_reference_t<decltype(m)> out;
    for (auto& [k, v] : m) {
      uint64_t n;
      if (moveKey(k, n)) out.emplace(n, std::move(v));
    }
    m = std::move(out);
  };
  remapCellMap(mCellAttrs);
  remapCellMap(mTags);
  remapCellMap(mTextTips);
  std::set<uint64_t> notes;
  for (uint64_t k : mNotes) {
    uint64_t n;
    if (moveKey(k, n)) notes.insert(n);
  }
  mNotes = std::move(notes);
  if (rows) {
    mRowAttrs = remapKeys(mRowAttrs, map);
    mRowHeaders = remapKeys(mRowHeaders, map);
    mRowHeights = remapKeys(mRowHeights, map);
    mHiddenRows = remapSet(mHiddenRows, map);
  } else {
    mColAttrs = remapKeys(mColAttrs, map);
    mColHeaders = remapKeys(mColHeaders, map);
    mColWidths = remapKeys(mColWidths, map);
    mHiddenCols = remapSet(mHiddenCols, map);
  }
  std::vector<CellSpan> spans;
  for (CellSpan s : mSpans) {
    int32_t& i = rows ? s.row : s.col;
    if (i > 0 && (i = map(i)) == 0) continue;  // spans in the header stay
    spans.push_back(s);
  }
  mSpans = std::move(spans);

  // The engine's cells, with the references of every formula.
  mEngine->moveLines(shift);
}

bool ControlDocument::insertRows(int32_t row, int32_t count) {
  if (row < 1 || count < 1 || row > maxRows() + 1 || maxRows() + count > kControlMaxRows)
    return false;
  setMaxRows(maxRows() + count);
  remap(LineShift::insert(true, row, count));
  return true;
}

bool ControlDocument::deleteRows(int32_t row, int32_t count) {
  if (row < 1 || count < 1 || row > maxRows()) return false;
  count = std::min(count, maxRows() - row + 1);
  remap(LineShift::remove(true, row, count));
  setMaxRows(maxRows() - count);
  return true;
}

bool ControlDocument::insertCols(int32_t col, int32_t count) {
  if (col < 1 || count < 1 || col > maxCols() + 1 || maxCols() + count > kControlMaxCols)
    return false;
  setMaxCols(maxCols() + count);
  remap(LineShift::insert(false, col, count));
  return true;
}

bool ControlDocument::deleteCols(int32_t col, int32_t count) {
  if (col < 1 || count < 1 || col > maxCols()) return false;
  count = std::min(count, maxCols() - col + 1);
  remap(LineShift::remove(false, col, count));
  setMaxCols(maxCols() - count);
  return true;
}

bool ControlDocument::swapRows(int32_t row1, int32_t row2) {
  if (row1 < 1 || row2 < 1 || row1 > maxRows() || row2 > maxRows()) return false;
  if (row1 == row2) return true;
  remap(LineShift::swap(true, row1, row2));
  return true;
}

bool ControlDocument::copyRowFormat(int32_t from, int32_t to) {
  if (from < 0 || to < 1 || from > maxRows() || to > maxRows()) return false;
  for (int32_t c = 0; c <= maxCols(); ++c) {
    bool own = mCellAttrs.count(key(c, from)) > 0;
    if (own) {
      mCellAttrs[key(c, to)] = mCellAttrs[key(c, from)];
    } else {
      mCellAttrs.erase(key(c, to));
    }
  }
  auto it = mRowAttrs.find(from);
  if (it != mRowAttrs.end()) {
    mRowAttrs[to] = it->second;
  } else {
    mRowAttrs.erase(to);
  }
  auto h = mRowHeights.find(from);
  if (h != mRowHeights.end()) mRowHeights[to] = h->second;
  return true;
}

bool ControlDocument::copyColFormat(int32_t from, int32_t to) {
  if (from < 0 || to < 1 || from > maxCols() || to > maxCols()) return false;
  std::vector<std::pair<int32_t, CellAttributes>> own;
  for (auto& [k, a] : mCellAttrs) {
    if (keyCol(k) == from) own.emplace_back(keyRow(k), a);
  }
  std::erase_if(mCellAttrs, [&](const auto& e) { return keyCol(e.first) == to; });
  for (auto& [r, a] : own) mCellAttrs[key(to, r)] = a;
  auto it = mColAttrs.find(from);
  if (it != mColAttrs.end()) {
    mColAttrs[to] = it->second;
  } else {
    mColAttrs.erase(to);
  }
  auto w = mColWidths.find(from);
  if (w != mColWidths.end()) mColWidths[to] = w->second;
  return true;
}

// ---- spans -------------------------------------------------------------------------

bool ControlDocument::addSpan(int32_t col, int32_t row, int32_t numCols, int32_t numRows) {
  col = headerIndex(col);
  row = headerIndex(row);
  if (col < 1 || row < 1 || numCols < 1 || numRows < 1) return false;
  if (numCols > maxCols() - col + 1 || numRows > maxRows() - row + 1) return false;
  if (numCols == 1 && numRows == 1) return false;
  for (const CellSpan& s : mSpans) {
    bool apart = col + numCols <= s.col || s.col + s.numCols <= col || row + numRows <= s.row ||
                 s.row + s.numRows <= row;
    if (!apart) return false;
  }
  mSpans.push_back({col, row, numCols, numRows});
  return true;
}

bool ControlDocument::removeSpan(int32_t col, int32_t row) {
  auto n = std::erase_if(mSpans, [&](const CellSpan& s) { return s.col == col && s.row == row; });
  return n > 0;
}

std::optional<CellSpan> ControlDocument::spanAt(int32_t col, int32_t row) const {
  for (const CellSpan& s : mSpans) {
    if (s.contains(col, row)) return s;
  }
  return std::nullopt;
}

// ---- options ---------------------------------------------------------------------------

bool ControlDocument::boolOption(int index) const {
  if (index < 0 || index >= kOptionCount) return false;
  if (index == kOptionAutoCalc) return mEngine->autoCalc();
  return mBoolOptions[index];
}

bool ControlDocument::setBoolOption(int index, bool on) {
  if (index < 0 || index >= kOptionCount) return false;
  mBoolOptions[index] = on;
  if (index == kOptionAutoCalc) {
    bool was = mEngine->autoCalc();
    mEngine->setAutoCalc(on);
    if (on && !was) mEngine->recalcAll();
  }
  return true;
}

int ControlDocument::intOption(int index) const {
  return index >= 0 && index < kOptionCount ? mIntOptions[index] : 0;
}

bool ControlDocument::setIntOption(int index, int value) {
  if (index < 0 || index >= kOptionCount) return false;
  mIntOptions[index] = value;
  return true;
}

// ---- active cell and selection ------------------------------------------------------------

bool ControlDocument::setActiveCell(int32_t col, int32_t row) {
  if (col < 1 || row < 1 || col > maxCols() || row > maxRows()) return false;
  if (col != mActiveCol || row != mActiveRow) setEditing(false);
  mActiveCol = col;
  mActiveRow = row;
  return true;
}

void ControlDocument::selection(int32_t& col1, int32_t& row1, int32_t& col2, int32_t& row2) const {
  if (mSel[0] == 0 && mSel[1] == 0 && mSel[2] == 0 && mSel[3] == 0) {
    col1 = col2 = mActiveCol;
    row1 = row2 = mActiveRow;
    return;
  }
  col1 = mSel[0];
  row1 = mSel[1];
  col2 = mSel[2];
  row2 = mSel[3];
}

bool ControlDocument::setSelection(int32_t col1, int32_t row1, int32_t col2, int32_t row2) {
  auto ok = [](int32_t v, int32_t max) { return v == -1 || (v >= 1 && v <= max); };
  if (!ok(col1, maxCols()) || !ok(col2, maxCols()) || !ok(row1, maxRows()) ||
      !ok(row2, maxRows())) {
    return false;
  }
  mSel[0] = col1;
  mSel[1] = row1;
  mSel[2] = col2;
  mSel[3] = row2;
  return true;
}

// ---- view geometry ------------------------------------------------------------------

bool ControlDocument::setTopLeft(int32_t col, int32_t row) {
  if (col < 1 || row < 1 || col > maxCols() || row > maxRows()) return false;
  mLeftCol = col;
  mTopRow = row;
  return true;
}

namespace {

// Walks the lines shown from `first` on (after the header of size
// `headerSize`) and gives the line whose extent holds `pos`: 0 for the
// header, nullopt when `pos` lies beyond the last line or the view. Lines of
// no size are never hit.
template <class SizeOf>
std::optional<int32_t> lineAt(double pos, double viewSize, double headerSize, int32_t first,
                              int32_t count, SizeOf sizeOf) {
  if (!(pos >= 0) || pos >= viewSize) return std::nullopt;
  if (pos < headerSize) return 0;
  double start = headerSize;
  for (int32_t i = first; i <= count && start < viewSize; ++i) {
    const double size = sizeOf(i);
    if (size <= 0) continue;
    if (pos < start + size) return i;
    start += size;
  }
  return std::nullopt;
}

// The extent of line `index` in the view, or nullopt when it is not shown.
template <class SizeOf>
std::optional<std::pair<double, double>> lineExtent(int32_t index, double viewSize,
                                                    double headerSize, int32_t first, int32_t count,
                                                    SizeOf sizeOf) {
  if (index < 0 || index > count) return std::nullopt;
  double start = 0, size = headerSize;
  if (index > 0) {
    if (index < first) return std::nullopt;
    start = headerSize;
    for (int32_t i = first; i < index && start < viewSize; ++i) start += sizeOf(i);
    size = sizeOf(index);
  }
  if (size <= 0 || start >= viewSize) return std::nullopt;
  return std::make_pair(start, std::min(start + size, viewSize));
}

}  // namespace

std::optional<ControlDocument::ViewCell> ControlDocument::cellAt(double x, double y,
                                                                 double viewWidth,
                                                                 double viewHeight) const {
  auto colSize = [this](int32_t c) { return shownColWidth(c); };
  auto rowSize = [this](int32_t r) { return shownRowHeight(r); };
  auto col = lineAt(x, viewWidth, shownColWidth(0), leftCol(), maxCols(), colSize);
  if (!col) return std::nullopt;
  auto row = lineAt(y, viewHeight, shownRowHeight(0), topRow(), maxRows(), rowSize);
  if (!row) return std::nullopt;
  ViewCell cell{*col, *row};
  if (cell.col > 0 && cell.row > 0) {
    if (auto span = spanAt(cell.col, cell.row)) cell = ViewCell{span->col, span->row};
  }
  return cell;
}

std::optional<ControlDocument::ViewRect> ControlDocument::cellRectInView(int32_t col, int32_t row,
                                                                         double viewWidth,
                                                                         double viewHeight) const {
  col = headerIndex(col);
  row = headerIndex(row);
  auto colSize = [this](int32_t c) { return shownColWidth(c); };
  auto rowSize = [this](int32_t r) { return shownRowHeight(r); };
  auto h = lineExtent(col, viewWidth, shownColWidth(0), leftCol(), maxCols(), colSize);
  auto v = lineExtent(row, viewHeight, shownRowHeight(0), topRow(), maxRows(), rowSize);
  if (!h || !v) return std::nullopt;
  return ViewRect{h->first, v->first, h->second, v->second};
}

bool ControlDocument::isSelected(int32_t col, int32_t row) const {
  int32_t c1, r1, c2, r2;
  selection(c1, r1, c2, r2);
  auto within = [](int32_t v, int32_t a, int32_t b, int32_t last) {
    if (a == -1) a = 1;
    if (b == -1) b = last;
    if (a > b) std::swap(a, b);
    return v >= a && v <= b && v >= 1;
  };
  return within(col, c1, c2, maxCols()) && within(row, r1, r2, maxRows());
}

void ControlDocument::setEditing(bool on, int selStart, int selEnd) {
  mEditing = on;
  mEditText = on ? valueText(mActiveCol, mActiveRow).value_or(std::wstring()) : std::wstring();
  mEditChanged = false;
  mEditSelStart = on ? std::max(0, selStart) : 0;
  mEditSelEnd = on ? std::max(mEditSelStart, selEnd) : 0;
}

bool ControlDocument::typeText(std::wstring_view text) {
  if (mActiveCol < 1 || mActiveRow < 1 || mActiveCol > maxCols() || mActiveRow > maxRows())
    return false;
  // Typing into a cell that is not being edited starts over with an empty
  // text, as in any spreadsheet; the cell keeps its content until Enter.
  const std::wstring before = mEditing ? mEditText : std::wstring();
  const int start = mEditing ? mEditSelStart : 0, end = mEditing ? mEditSelEnd : 0;
  auto typed = typeIntoCellText(attributes(mActiveCol, mActiveRow), before, start, end, text);
  if (!typed) return false;
  mEditing = true;
  mEditText = std::move(typed->text);
  mEditSelStart = mEditSelEnd = typed->caret;
  mEditChanged = true;
  return true;
}

bool ControlDocument::eraseText(bool backward) {
  if (!mEditing) return false;
  const int length = static_cast<int>(mEditText.size());
  int start = std::clamp(mEditSelStart, 0, length), end = std::clamp(mEditSelEnd, 0, length);
  if (start == end) {
    if (backward && start > 0) --start;
    if (!backward && end < length) ++end;
  }
  if (start == end) return false;
  mEditText.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
  mEditSelStart = mEditSelEnd = start;
  mEditChanged = true;
  return true;
}

bool ControlDocument::writeEntry(int32_t col, int32_t row, const std::wstring& text) {
  if (text.size() > 1 && text[0] == L'=' && setFormula(col, row, text).ok()) return true;
  return setData(col, row, text);
}

krv::base::Status ControlDocument::commitEdit() {
  if (!mEditing) return {};
  if (mEditChanged) {
    if (krv::base::Status fits = checkEntry(attributes(mActiveCol, mActiveRow), mEditText); !fits)
      return fits.within(base::toUtf8(cellName(mActiveCol, mActiveRow)));
    if (!writeEntry(mActiveCol, mActiveRow, mEditText))
      return krv::base::Status::error("the cell did not take the text");
  }
  setEditing(false);
  return {};
}

// ---- clipboard blocks -------------------------------------------------------------------------

std::wstring ControlDocument::copyBlock(int32_t col1, int32_t row1, int32_t col2,
                                        int32_t row2) const {
  if (col1 == -1 || col2 == -1) col1 = 1, col2 = maxCols();
  if (row1 == -1 || row2 == -1) row1 = 1, row2 = maxRows();
  col1 = std::max(col1, 1);
  row1 = std::max(row1, 1);
  col2 = std::min(col2, maxCols());
  row2 = std::min(row2, maxRows());
  std::wstring out;
  for (int32_t r = row1; r <= row2; ++r) {
    for (int32_t c = col1; c <= col2; ++c) {
      if (c > col1) out += L'\t';
      std::wstring f = *formula(c, r);
      out += blockField(f.empty() ? *data(c, r) : f);
    }
    out += L"\r\n";
  }
  return out;
}

krv::base::Status ControlDocument::pasteBlock(int32_t col, int32_t row, const std::wstring& text,
                                              bool applyCellLimits) {
  if (col < 1 || row < 1 || col > maxCols() || row > maxRows())
    return krv::base::Status::error("the paste starts outside the sheet");
  struct Field {
    int32_t col, row;
    std::wstring text;
  };
  std::vector<Field> fields;
  int32_t r = row, c = col;
  std::wstring field;
  auto put = [&] {
    if (c <= maxCols() && r <= maxRows()) fields.push_back({c, r, std::move(field)});
    field.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    wchar_t ch = text[i];
    if (ch == L'\t') {
      put();
      ++c;
    } else if (ch == L'\r' || ch == L'\n') {
      if (ch == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      put();
      ++r;
      c = col;
    } else {
      field += ch;
    }
  }
  if (!field.empty() || c != col) put();
  // Every field is checked before anything is written: a refused paste
  // changes nothing.
  if (applyCellLimits) {
    for (Field& f : fields) {
      auto taken = pastedField(attributes(f.col, f.row), f.text);
      if (!taken) return taken.status().within(base::toUtf8(cellName(f.col, f.row)));
      f.text = std::move(*taken);
    }
  }
  for (const Field& f : fields) writeEntry(f.col, f.row, f.text);
  return {};
}

void ControlDocument::swapContents(ControlDocument& other) {
  std::swap(mEngine, other.mEngine);
  std::swap(mDefaultAttrs, other.mDefaultAttrs);
  std::swap(mColAttrs, other.mColAttrs);
  std::swap(mRowAttrs, other.mRowAttrs);
  std::swap(mCellAttrs, other.mCellAttrs);
  std::swap(mColHeaders, other.mColHeaders);
  std::swap(mRowHeaders, other.mRowHeaders);
  std::swap(mTags, other.mTags);
  std::swap(mTextTips, other.mTextTips);
  std::swap(mNotes, other.mNotes);
  std::swap(mRowHeights, other.mRowHeights);
  std::swap(mColWidths, other.mColWidths);
  std::swap(mHiddenRows, other.mHiddenRows);
  std::swap(mHiddenCols, other.mHiddenCols);
  std::swap(mSpans, other.mSpans);
  std::swap(mLook, other.mLook);
  std::swap(mBoolOptions, other.mBoolOptions);
  std::swap(mIntOptions, other.mIntOptions);
  std::swap(mDefaultRowHeight, other.mDefaultRowHeight);
  std::swap(mDefaultColWidth, other.mDefaultColWidth);
  std::swap(mActiveCol, other.mActiveCol);
  std::swap(mActiveRow, other.mActiveRow);
  std::swap(mLeftCol, other.mLeftCol);
  std::swap(mTopRow, other.mTopRow);
  std::swap(mSel, other.mSel);
  std::swap(mEditing, other.mEditing);
  std::swap(mEditSelStart, other.mEditSelStart);
  std::swap(mEditSelEnd, other.mEditSelEnd);
  std::swap(mEditText, other.mEditText);
  std::swap(mEditChanged, other.mEditChanged);
  installFormatter();
  other.installFormatter();
}

void ControlDocument::installFormatter() {
  mEngine->setValueFormatter(
      [this](int32_t col, int32_t row, const Value& v) { return formatValue(col, row, v); });
}

void ControlDocument::reset() {
  mEngine = std::make_unique<CellDocument>(0, 0);
  installFormatter();
  mDefaultAttrs = CellAttributes();
  mColAttrs.clear();
  mRowAttrs.clear();
  mCellAttrs.clear();
  mColHeaders.clear();
  mRowHeaders.clear();
  mTags.clear();
  mTextTips.clear();
  mNotes.clear();
  mRowHeights.clear();
  mColWidths.clear();
  mHiddenRows.clear();
  mHiddenCols.clear();
  mSpans.clear();
  mLook = ControlLook();
  mBoolOptions = {};
  mBoolOptions[kOptionRedraw] = true;
  mIntOptions = {};
  mDefaultRowHeight = kDefaultRowHeight;
  mDefaultColWidth = kDefaultColWidth;
  mActiveCol = mActiveRow = 0;
  mLeftCol = mTopRow = 1;
  mSel[0] = mSel[1] = mSel[2] = mSel[3] = 0;
  setEditing(false);
}

}  // namespace krv::sheet
