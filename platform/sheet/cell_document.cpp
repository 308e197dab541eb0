// The formula engine's document: cells, formulas, their dependencies and recalculation.
#include "platform/sheet/cell_document.h"

#include <algorithm>

#include "platform/sheet/formula_number_text.h"
#include "platform/sheet/formula_parser.h"
#include "platform/sheet/text_utils.h"
#include "platform/sheet/value_coercion.h"

namespace krv::sheet {

namespace {
constexpr int32_t kNarrowRangeColumns = 16;
}

CellDocument::CellDocument(int32_t maxCols, int32_t maxRows)
    : mMaxCols(std::clamp(maxCols, 0, kMaxColumnLimit)),
      mMaxRows(std::clamp(maxRows, 0, kMaxRowLimit)) {}

CellDocument::~CellDocument() = default;

bool CellDocument::setMaxCols(int32_t count) {
  if (count < 0 || count > kMaxColumnLimit) return false;
  if (count < mMaxCols) {
    for (int32_t c = count + 1; c <= std::min(mMaxCols, mGrid.allocatedColumns()); ++c)
      mGrid.forEachAllocated(c, 1, c, mMaxRows, [&](int32_t col, int32_t row, const Cell& cell) {
        if (cell.formula) removeFormulaOf(*mGrid.find(col, row));
      });
    mGrid.truncate(count, mMaxRows);
  }
  mMaxCols = count;
  ++mGraphVersion;
  return true;
}

bool CellDocument::setMaxRows(int32_t count) {
  if (count < 0 || count > kMaxRowLimit) return false;
  if (count < mMaxRows) {
    mGrid.forEachAllocated(1, count + 1, mGrid.allocatedColumns(), mMaxRows,
                           [&](int32_t col, int32_t row, const Cell& cell) {
                             if (cell.formula) removeFormulaOf(*mGrid.find(col, row));
                           });
    mGrid.truncate(mMaxCols, count);
  }
  mMaxRows = count;
  ++mGraphVersion;
  return true;
}

// ---- content ---------------------------------------------------------------

namespace {

// The value of a typed text that is not a formula: a number, a boolean, an
// error or the text itself.
Value typedValue(std::string_view text) {
  if (auto n = parseNumberText(text)) return Value::number(*n);
  if (equalNoCase(text, "TRUE")) return Value::boolean(true);
  if (equalNoCase(text, "FALSE")) return Value::boolean(false);
  if (auto e = parseErrorText(upperText(text))) return Value::error(*e);
  return Value::text(std::string(text));
}

}  // namespace

krv::base::Status CellDocument::setCellText(int32_t col, int32_t row, std::string_view text) {
  if (!contains(col, row)) return krv::base::Status::error("cell outside the sheet");
  if (text.size() > 1 && text[0] == '=') return setFormula(col, row, text);
  if (text.empty())
    clearCell(col, row);
  else
    setValue(col, row, typedValue(text));
  return {};
}

bool CellDocument::setValue(int32_t col, int32_t row, Value value) {
  if (!contains(col, row)) return false;
  Cell& cell = mGrid.at(col, row);
  if (cell.formula) removeFormulaOf(cell);
  cell.value = std::move(value);
  afterChange(col, row);
  return true;
}

bool CellDocument::clearCell(int32_t col, int32_t row) {
  if (!contains(col, row)) return false;
  Cell* cell = mGrid.find(col, row);
  if (!cell) return true;
  if (cell->formula) removeFormulaOf(*cell);
  cell->value = Value();
  afterChange(col, row);
  return true;
}

krv::base::Status CellDocument::setFormula(int32_t col, int32_t row, std::string_view text) {
  if (!contains(col, row)) return krv::base::Status::error("cell outside the sheet");
  ParseOptions o;
  o.style = mStyle;
  o.hostCol = col;
  o.hostRow = row;
  o.customFunctions = &mCustom;
  auto code = parseFormula(text, o);
  if (!code) return code.status();
  Cell& cell = mGrid.at(col, row);
  if (cell.formula) removeFormulaOf(cell);
  auto f = std::make_unique<Formula>();
  f->col = col;
  f->row = row;
  if (text.empty() || text[0] != '=') f->source.push_back('=');
  f->source.append(text);
  f->style = mStyle;
  f->code = std::move(*code);
  f->selfReference = refersToItself(*f);
  uint32_t id;
  if (!mFreeIds.empty()) {
    id = mFreeIds.back();
    mFreeIds.pop_back();
    mFormulas[id - 1] = std::move(f);
  } else {
    mFormulas.push_back(std::move(f));
    id = static_cast<uint32_t>(mFormulas.size());
  }
  cell.formula = id;
  addDependencies(id);
  ++mGraphVersion;
  evaluate(id);
  if (mAutoCalc) recalcDependents(col, row);
  return {};
}

bool CellDocument::refersToItself(const Formula& f) const {
  for (const AreaRef& a : f.code.areas) {
    if (a.positionOnly) continue;
    int32_t c1, r1, c2, r2;
    clipArea(a, c1, r1, c2, r2);
    if (f.col >= c1 && f.col <= c2 && f.row >= r1 && f.row <= r2) return true;
  }
  return false;
}

void CellDocument::removeFormulaOf(Cell& cell) {
  uint32_t id = cell.formula;
  cell.formula = 0;
  if (!formula(id)) return;
  removeDependencies(id);
  freeFormula(id);
}

void CellDocument::freeFormula(uint32_t id) {
  if (mEvalDepth > 0)
    mRetired.push_back(std::move(mFormulas[id - 1]));
  else
    mFormulas[id - 1].reset();
  mFreeIds.push_back(id);
  ++mGraphVersion;
}

// ---- rows and columns ------------------------------------------------------

void CellDocument::moveLines(const LineShift& shift) {
  // Take every cell whose line moves or goes away out of the grid.
  struct Moved {
    int32_t col, row;
    Value value;
    uint32_t formula;
  };
  std::vector<std::pair<int32_t, int32_t>> leaving;
  mGrid.forEachAllocated(1, 1, mMaxCols, mMaxRows, [&](int32_t c, int32_t r, const Cell& cell) {
    if (cell.value.isEmpty() && cell.formula == 0) return;
    if (shift.map(shift.rows ? r : c) != (shift.rows ? r : c)) leaving.emplace_back(c, r);
  });
  std::vector<Moved> moved;
  moved.reserve(leaving.size());
  for (auto [c, r] : leaving) {
    Cell& cell = *mGrid.find(c, r);
    int32_t n = shift.map(shift.rows ? r : c);
    if (n > 0) {
      moved.push_back(
          Moved{shift.rows ? c : n, shift.rows ? n : r, std::move(cell.value), cell.formula});
    } else if (cell.formula && formula(cell.formula)) {
      freeFormula(cell.formula);
    }
    cell.value = Value();
    cell.formula = 0;
  }

  // The dependencies are rebuilt from scratch below: cheaper than taking
  // every changed formula out of them one by one.
  mCellDeps.clear();
  mColumnRangeDeps.clear();
  mWideRangeDeps.clear();

  for (auto& slot : mFormulas) {
    Formula* f = slot.get();
    if (!f) continue;
    int32_t newCol = f->col, newRow = f->row;
    (shift.rows ? newRow : newCol) = shift.map(shift.rows ? f->row : f->col);
    std::optional<std::string> text =
        readdressReferences(f->source, f->style, f->col, f->row, shift);
    bool moves = newCol != f->col || newRow != f->row;
    f->col = newCol;
    f->row = newRow;
    if (!text || (*text == f->source && !moves)) continue;
    ParseOptions o;
    o.style = f->style;
    o.hostCol = newCol;
    o.hostRow = newRow;
    o.customFunctions = &mCustom;
    krv::base::Result<FormulaCode> code = parseFormula(*text, o);
    if (!code) {
      // A reference that became #REF! where the language cannot write an
      // error (inside an intersection): the whole formula gives #REF!.
      *text = "=#REF!";
      code = parseFormula(*text, o);
    }
    f->source = std::move(*text);
    f->code = std::move(*code);
  }

  for (Moved& m : moved) {
    Cell& cell = mGrid.at(m.col, m.row);
    cell.value = std::move(m.value);
    cell.formula = m.formula;
  }
  for (size_t i = 0; i < mFormulas.size(); ++i) {
    Formula* f = mFormulas[i].get();
    if (!f) continue;
    f->selfReference = refersToItself(*f);
    addDependencies(static_cast<uint32_t>(i + 1));
  }
  ++mGraphVersion;
  if (formulaCount() > 0) recalcAll();
}

std::string CellDocument::valueText(int32_t col, int32_t row) const {
  const Value& v = value(col, row);
  if (mFormatter) return mFormatter(col, row, v);
  return toText(v);
}

bool CellDocument::hasFormula(int32_t col, int32_t row) const {
  const Cell* c = mGrid.find(col, row);
  return c && c->formula;
}

std::string CellDocument::formulaText(int32_t col, int32_t row) const {
  const Cell* c = mGrid.find(col, row);
  const Formula* f = c ? formula(c->formula) : nullptr;
  return f ? f->source : std::string();
}

bool CellDocument::lastEvaluationFailed(int32_t col, int32_t row) const {
  const Cell* c = mGrid.find(col, row);
  const Formula* f = c ? formula(c->formula) : nullptr;
  return f && f->customFailed;
}

bool CellDocument::registerCustomFunction(std::string name, int minArgs, int maxArgs,
                                          CustomCallback callback, uint32_t flags) {
  return mCustom.add(CustomFunction{std::move(name), minArgs, maxArgs, std::move(callback), flags});
}

size_t CellDocument::memoryBytes() const {
  size_t bytes = mGrid.blockCount() * CellGrid::blockBytes();
  for (const auto& f : mFormulas)
    if (f)
      bytes += sizeof(Formula) + f->source.capacity() + f->code.code.capacity() * sizeof(Instr) +
               f->code.areas.capacity() * sizeof(AreaRef) +
               f->code.numbers.capacity() * sizeof(double);
  return bytes;
}

// ---- dependencies --------------------------------------------------------------

void CellDocument::clipArea(const AreaRef& a, int32_t& c1, int32_t& r1, int32_t& c2,
                            int32_t& r2) const {
  c1 = std::max(a.first.col, 1);
  r1 = std::max(a.first.row, 1);
  c2 = a.wholeRows ? mMaxCols : std::min(a.last.col, mMaxCols);
  r2 = a.wholeColumns ? mMaxRows : std::min(a.last.row, mMaxRows);
}

void CellDocument::addDependencies(uint32_t id) {
  const Formula& f = *formula(id);
  for (const AreaRef& a : f.code.areas) {
    if (a.positionOnly) continue;
    int32_t c1, r1, c2, r2;
    clipArea(a, c1, r1, c2, r2);
    if (c1 > c2 || r1 > r2) continue;
    if (c1 == c2 && r1 == r2) {
      mCellDeps[key(c1, r1)].push_back(id);
    } else if (c2 - c1 < kNarrowRangeColumns) {
      if (mColumnRangeDeps.size() < static_cast<size_t>(c2)) mColumnRangeDeps.resize(c2);
      for (int32_t c = c1; c <= c2; ++c)
        mColumnRangeDeps[c - 1].push_back(RangeDep{c1, r1, c2, r2, id});
    } else {
      mWideRangeDeps.push_back(RangeDep{c1, r1, c2, r2, id});
    }
  }
}

void CellDocument::removeDependencies(uint32_t id) {
  const Formula& f = *formula(id);
  auto dropId = [id](std::vector<RangeDep>& v) {
    v.erase(std::remove_if(v.begin(), v.end(), [id](const RangeDep& d) { return d.id == id; }),
            v.end());
  };
  for (const AreaRef& a : f.code.areas) {
    if (a.positionOnly) continue;
    int32_t c1, r1, c2, r2;
    clipArea(a, c1, r1, c2, r2);
    if (c1 > c2 || r1 > r2) continue;
    if (c1 == c2 && r1 == r2) {
      auto it = mCellDeps.find(key(c1, r1));
      if (it == mCellDeps.end()) continue;
      auto& v = it->second;
      auto pos = std::find(v.begin(), v.end(), id);
      if (pos != v.end()) v.erase(pos);
      if (v.empty()) mCellDeps.erase(it);
    } else if (c2 - c1 < kNarrowRangeColumns) {
      for (int32_t c = c1; c <= c2 && static_cast<size_t>(c) <= mColumnRangeDeps.size(); ++c)
        dropId(mColumnRangeDeps[c - 1]);
    } else {
      dropId(mWideRangeDeps);
    }
  }
}

void CellDocument::dependentsOf(int32_t col, int32_t row, std::vector<uint32_t>& out) const {
  auto it = mCellDeps.find(key(col, row));
  if (it != mCellDeps.end()) out.insert(out.end(), it->second.begin(), it->second.end());
  auto inside = [&](const RangeDep& d) {
    return col >= d.c1 && col <= d.c2 && row >= d.r1 && row <= d.r2;
  };
  if (static_cast<size_t>(col) <= mColumnRangeDeps.size())
    for (const RangeDep& d : mColumnRangeDeps[col - 1])
      if (inside(d)) out.push_back(d.id);
  for (const RangeDep& d : mWideRangeDeps)
    if (inside(d)) out.push_back(d.id);
}

// ---- evaluation ------------------------------------------------------------------

void CellDocument::evaluate(uint32_t id) {
  Formula* f = formula(id);
  if (!f) return;
  if (f->selfReference) return setCircular(id);
  EvalContext ctx{mGrid, mMaxCols, mMaxRows, f->col, f->row, &mCustom};
  ++mEvalDepth;
  Value v = mEvaluator.evaluate(f->code, ctx);
  if (--mEvalDepth == 0) mRetired.clear();
  // A custom function may have changed the document meanwhile: look the
  // formula and its cell up again.
  f = formula(id);
  if (!f) return;
  f->customFailed = ctx.customFailed;
  Cell* cell = mGrid.find(f->col, f->row);
  if (cell && cell->formula == id) cell->value = std::move(v);
}

void CellDocument::setCircular(uint32_t id) {
  const Formula* f = formula(id);
  if (!f) return;
  Cell* cell = mGrid.find(f->col, f->row);
  if (cell && cell->formula == id) cell->value = Value::error(ErrorCode::Ref);
}

void CellDocument::afterChange(int32_t col, int32_t row) {
  if (mAutoCalc) recalcDependents(col, row);
}

bool CellDocument::recalcCell(int32_t col, int32_t row) {
  const Cell* c = mGrid.find(col, row);
  if (!c || !c->formula) return false;
  evaluate(c->formula);
  if (mAutoCalc) recalcDependents(col, row);
  return true;
}

void CellDocument::recalcDependents(int32_t col, int32_t row) {
  // Collect every formula reachable from the changed cell.
  std::vector<uint32_t> affected, scratch;
  std::unordered_map<uint32_t, uint32_t> slot;  // formula id -> index in affected
  dependentsOf(col, row, scratch);
  for (size_t i = 0;; ++i) {
    for (uint32_t d : scratch)
      if (slot.emplace(d, static_cast<uint32_t>(affected.size())).second) affected.push_back(d);
    scratch.clear();
    if (i >= affected.size()) break;
    const Formula* f = formula(affected[i]);
    if (f) dependentsOf(f->col, f->row, scratch);
  }
  if (affected.empty()) return;
  // Order them (Kahn's algorithm over the affected formulas only).
  size_t n = affected.size();
  std::vector<uint32_t> indegree(n, 0);
  std::vector<std::vector<uint32_t>> next(n);
  for (size_t i = 0; i < n; ++i) {
    const Formula* f = formula(affected[i]);
    if (!f) continue;
    scratch.clear();
    dependentsOf(f->col, f->row, scratch);
    for (uint32_t d : scratch) {
      auto it = slot.find(d);
      if (it == slot.end()) continue;
      next[i].push_back(it->second);
      ++indegree[it->second];
    }
  }
  std::vector<uint32_t> queue;
  for (size_t i = 0; i < n; ++i)
    if (indegree[i] == 0) queue.push_back(static_cast<uint32_t>(i));
  std::vector<bool> done(n, false);
  for (size_t q = 0; q < queue.size(); ++q) {
    uint32_t i = queue[q];
    done[i] = true;
    evaluate(affected[i]);
    for (uint32_t j : next[i])
      if (--indegree[j] == 0) queue.push_back(j);
  }
  for (size_t i = 0; i < n; ++i)
    if (!done[i]) setCircular(affected[i]);
}

void CellDocument::buildOrder() {
  size_t n = mFormulas.size();
  std::vector<uint32_t> indegree(n, 0);
  std::vector<std::pair<uint32_t, uint32_t>> edges;  // precedent index -> dependent index
  edges.reserve(n * 2);
  for (size_t i = 0; i < n; ++i) {
    const Formula* f = mFormulas[i].get();
    if (!f) continue;
    for (const AreaRef& a : f->code.areas) {
      if (a.positionOnly) continue;
      int32_t c1, r1, c2, r2;
      clipArea(a, c1, r1, c2, r2);
      if (c1 > c2 || r1 > r2) continue;
      if (c1 == c2 && r1 == r2) {
        const Cell* c = mGrid.find(c1, r1);
        if (c && c->formula) edges.emplace_back(c->formula - 1, static_cast<uint32_t>(i));
        continue;
      }
      mGrid.forEachAllocated(c1, r1, c2, r2, [&](int32_t, int32_t, const Cell& c) {
        if (c.formula) edges.emplace_back(c.formula - 1, static_cast<uint32_t>(i));
      });
    }
  }
  // Compressed adjacency lists.
  std::vector<uint32_t> start(n + 1, 0), adj(edges.size());
  for (auto& e : edges) {
    ++start[e.first + 1];
    ++indegree[e.second];
  }
  for (size_t i = 0; i < n; ++i) start[i + 1] += start[i];
  std::vector<uint32_t> fill(start.begin(), start.end() - 1);
  for (auto& e : edges) adj[fill[e.first]++] = e.second;
  mOrder.clear();
  for (size_t i = 0; i < n; ++i)
    if (mFormulas[i] && indegree[i] == 0) mOrder.push_back(static_cast<uint32_t>(i + 1));
  for (size_t q = 0; q < mOrder.size(); ++q) {
    uint32_t i = mOrder[q] - 1;
    for (uint32_t k = start[i]; k < start[i + 1]; ++k)
      if (--indegree[adj[k]] == 0) mOrder.push_back(adj[k] + 1);
  }
  mCircular.clear();
  for (size_t i = 0; i < n; ++i)
    if (mFormulas[i] && indegree[i] > 0) mCircular.push_back(static_cast<uint32_t>(i + 1));
  mOrderVersion = mGraphVersion;
}

void CellDocument::recalcAll() {
  // A custom function that changes formulas invalidates the order; the
  // pass then starts again in the new order (a few times at most).
  for (int pass = 0; pass < 3; ++pass) {
    if (mOrderVersion != mGraphVersion) buildOrder();
    const uint64_t version = mGraphVersion;
    bool changed = false;
    for (size_t i = 0; i < mOrder.size() && !changed; ++i) {
      evaluate(mOrder[i]);
      changed = mGraphVersion != version;
    }
    if (changed) continue;
    for (uint32_t id : mCircular) setCircular(id);
    return;
  }
}

}  // namespace krv::sheet
