// Built-in functions, with their family table: look-up and reference, and
// the conditional aggregates.
#include <cmath>
#include <string>

#include "platform/sheet/builtin_functions.h"
#include "platform/sheet/formula_number_text.h"
#include "platform/sheet/function_support.h"
#include "platform/sheet/text_utils.h"

namespace krv::sheet {

namespace {

using namespace fn;

// ---- criteria of COUNTIF and SUMIF ----------------------------------------

struct Criteria {
  enum Cmp { Eq, Ne, Lt, Le, Gt, Ge } cmp = Eq;
  Value operand;
  bool wildcard = false;
  std::u32string pattern;

  static Criteria from(const Value& c) {
    Criteria k;
    if (!c.isText()) {
      k.operand = c.isEmpty() ? Value::text("") : c;
      return k;
    }
    std::string_view t = c.text();
    if (t.rfind("<=", 0) == 0)
      k.cmp = Le, t.remove_prefix(2);
    else if (t.rfind(">=", 0) == 0)
      k.cmp = Ge, t.remove_prefix(2);
    else if (t.rfind("<>", 0) == 0)
      k.cmp = Ne, t.remove_prefix(2);
    else if (t.rfind("<", 0) == 0)
      k.cmp = Lt, t.remove_prefix(1);
    else if (t.rfind(">", 0) == 0)
      k.cmp = Gt, t.remove_prefix(1);
    else if (t.rfind("=", 0) == 0)
      k.cmp = Eq, t.remove_prefix(1);
    if (auto num = parseNumberText(t))
      k.operand = Value::number(*num);
    else if (equalNoCase(t, "TRUE"))
      k.operand = Value::boolean(true);
    else if (equalNoCase(t, "FALSE"))
      k.operand = Value::boolean(false);
    else if (auto e = parseErrorText(upperText(t)))
      k.operand = Value::error(*e);
    else {
      k.operand = Value::text(std::string(t));
      if ((k.cmp == Eq || k.cmp == Ne) && hasWildcards(t)) {
        k.wildcard = true;
        k.pattern = toCodePoints(t);
      }
    }
    return k;
  }

  bool equalTo(const Value& v) const {
    if (operand.isText()) {
      if (operand.text().empty()) return v.isEmpty() || (v.isText() && v.text().empty());
      if (!v.isText()) return false;
      if (wildcard) return wildcardMatch(pattern, toCodePoints(v.text()));
      return equalNoCase(v.text(), operand.text());
    }
    if (operand.isError()) return v.isError() && v.error() == operand.error();
    if (v.type() != operand.type()) return false;
    return compareValues(v, operand) == 0;
  }

  bool matches(const Value& v) const {
    if (cmp == Eq) return equalTo(v);
    if (cmp == Ne) return !equalTo(v);
    if (v.isEmpty() || v.isError()) return false;
    bool sameKind = (v.isText() && operand.isText()) || (v.isNumber() && operand.isNumber()) ||
                    (v.isBool() && operand.isBool());
    if (!sameKind) return false;
    int c = compareValues(v, operand);
    switch (cmp) {
      case Lt:
        return c < 0;
      case Le:
        return c <= 0;
      case Gt:
        return c > 0;
      case Ge:
        return c >= 0;
      default:
        return false;
    }
  }
};

// The rectangle of cells in an area that may hold anything (beyond the
// grid's allocated blocks every cell is empty).
void clipToAllocated(const EvalContext& ctx, int32_t& c2, int32_t& r2) {
  if (c2 > ctx.grid.allocatedColumns()) c2 = ctx.grid.allocatedColumns();
  int32_t rows = ctx.grid.allocatedRows();
  if (r2 > rows) r2 = rows;
}

void fnCOUNTIF(BuiltinArgs& a, Item& r) {
  const Item& range = a.item(0);
  Criteria k = Criteria::from(a.scalar(1));
  double count = 0;
  if (range.kind == Item::Area) {
    double total =
        static_cast<double>(range.c2 - range.c1 + 1) * static_cast<double>(range.r2 - range.r1 + 1);
    double seen = 0;
    a.ctx.grid.forEachAllocated(range.c1, range.r1, range.c2, range.r2,
                                [&](int32_t, int32_t, const Cell& c) {
                                  ++seen;
                                  if (k.matches(c.value)) ++count;
                                });
    if (k.matches(Value())) count += total - seen;
  } else {
    for (const Value& v : range.arr->values)
      if (k.matches(v)) ++count;
  }
  setNumber(r, count);
}

// The sum range, when given, is laid over the criteria range from its
// top left cell.
void fnSUMIF(BuiltinArgs& a, Item& r) {
  const EvalContext& ctx = a.ctx;
  const Item& range = a.item(0);
  Criteria k = Criteria::from(a.scalar(1));
  const Item& sum = a.has(2) ? a.item(2) : range;
  int32_t c2 = range.c2, r2 = range.r2;
  clipToAllocated(ctx, c2, r2);
  double total = 0;
  for (int32_t c = range.c1; c <= c2; ++c)
    for (int32_t row = range.r1; row <= r2; ++row) {
      if (!k.matches(ctx.grid.value(c, row))) continue;
      const Value& v = ctx.grid.value(sum.c1 + (c - range.c1), sum.r1 + (row - range.r1));
      if (v.isError()) return setError(r, v.error());
      if (v.isNumber()) total += v.number();
    }
  setNumber(r, total);
}

// ---- look-ups -------------------------------------------------------------

bool sameKind(const Value& a, const Value& b) {
  return (a.isNumber() && b.isNumber()) || (a.isText() && b.isText()) || (a.isBool() && b.isBool());
}

bool exactMatch(const Value& key, const std::u32string* pattern, const Value& v) {
  if (pattern) return v.isText() && wildcardMatch(*pattern, toCodePoints(v.text()));
  if (!sameKind(key, v)) return false;
  return compareValues(key, v) == 0;
}

// Position (0-based) of `key` among `count` values given by `at(i)`:
// exact (mode 0, wildcards in texts), the last value <= key in ascending
// data (mode 1) or the last value >= key in descending data (mode -1).
// -1 when there is none.
template <class At>
long long lookupPosition(const Value& key, long long count, int mode, At at) {
  if (mode == 0) {
    std::u32string pattern;
    bool wild = key.isText() && hasWildcards(key.text());
    if (wild) pattern = toCodePoints(key.text());
    for (long long i = 0; i < count; ++i)
      if (exactMatch(key, wild ? &pattern : nullptr, at(i))) return i;
    return -1;
  }
  long long found = -1;
  for (long long i = 0; i < count; ++i) {
    const Value& v = at(i);
    if (!sameKind(key, v)) continue;
    int c = compareValues(v, key);
    if (mode > 0) {
      if (c <= 0)
        found = i;
      else
        break;
    } else {
      if (c >= 0)
        found = i;
      else
        break;
    }
  }
  return found;
}

// Result of a look-up: the cell's value (an empty cell gives 0).
void lookupResult(EvalContext& ctx, const Item& t, int32_t row, int32_t col, Item& r) {
  if (t.kind == Item::Area) {
    r = Item::area(t.c1 + col, t.r1 + row, t.c1 + col, t.r1 + row);
    return;
  }
  set(r, ctx.cellOf(t, row, col));
}

// VLOOKUP searches the first column and answers from column `index`;
// HLOOKUP the first row, answering from row `index`.
template <bool vertical>
void hvLookup(BuiltinArgs& a, Item& r) {
  EvalContext& ctx = a.ctx;
  const Value& key = a.value(0);
  const Item& t = a.item(1);
  long long index = a.integer(2);
  if (index < 1) return setError(r, ErrorCode::Value);
  long long limit = vertical ? t.cols() : t.rows();
  if (index > limit) return setError(r, ErrorCode::Ref);
  long long count = vertical ? t.rows() : t.cols();
  long long pos =
      lookupPosition(key, count, a.boolean(3) ? 1 : 0, [&](long long i) -> const Value& {
        return vertical ? ctx.cellOf(t, static_cast<int32_t>(i), 0)
                        : ctx.cellOf(t, 0, static_cast<int32_t>(i));
      });
  if (pos < 0) return setError(r, ErrorCode::NA);
  if (vertical)
    lookupResult(ctx, t, static_cast<int32_t>(pos), static_cast<int32_t>(index - 1), r);
  else
    lookupResult(ctx, t, static_cast<int32_t>(index - 1), static_cast<int32_t>(pos), r);
}

void fnMATCH(BuiltinArgs& a, Item& r) {
  EvalContext& ctx = a.ctx;
  const Item& t = a.item(1);
  if (t.rows() != 1 && t.cols() != 1) return setError(r, ErrorCode::NA);
  bool column = t.cols() == 1;
  long long count = column ? t.rows() : t.cols();
  double mode = a.number(2);
  int m = mode > 0 ? 1 : mode < 0 ? -1 : 0;
  long long pos = lookupPosition(a.value(0), count, m, [&](long long i) -> const Value& {
    return column ? ctx.cellOf(t, static_cast<int32_t>(i), 0)
                  : ctx.cellOf(t, 0, static_cast<int32_t>(i));
  });
  if (pos < 0) return setError(r, ErrorCode::NA);
  setNumber(r, static_cast<double>(pos + 1));
}

// The result vector is looked at only when the key is found.
void fnLOOKUP(BuiltinArgs& a, Item& r) {
  EvalContext& ctx = a.ctx;
  const Item& t = a.item(1);
  // Without a result vector a two-dimensional table is searched along its
  // longer side's first line and answered from the last line.
  bool alongRows = t.cols() > t.rows();  // search the first row
  long long count = alongRows ? t.cols() : t.rows();
  long long pos = lookupPosition(a.value(0), count, 1, [&](long long i) -> const Value& {
    return alongRows ? ctx.cellOf(t, 0, static_cast<int32_t>(i))
                     : ctx.cellOf(t, static_cast<int32_t>(i), 0);
  });
  if (pos < 0) return setError(r, ErrorCode::NA);
  if (a.has(2)) {
    const Item& res = a.item(2);
    if (res.kind != Item::Area && res.kind != Item::Arr)
      return setError(r, res.kind == Item::Val && res.v.isError() ? res.v.error() : ErrorCode::NA);
    bool resRow = res.rows() == 1 && res.cols() > 1;
    long long len = resRow ? res.cols() : res.rows();
    if (pos >= len) return setError(r, ErrorCode::NA);
    if (resRow)
      lookupResult(ctx, res, 0, static_cast<int32_t>(pos), r);
    else
      lookupResult(ctx, res, static_cast<int32_t>(pos), 0, r);
    return;
  }
  if (alongRows)
    lookupResult(ctx, t, t.rows() - 1, static_cast<int32_t>(pos), r);
  else
    lookupResult(ctx, t, static_cast<int32_t>(pos), t.cols() - 1, r);
}

// Row or column 0 picks the whole column or row of a reference.
void fnINDEX(BuiltinArgs& a, Item& r) {
  const Item& t = a.item(0);
  const int n = a.count();
  long long row = a.integer(1), col = a.integer(2);
  if (row < 0 || col < 0) return setError(r, ErrorCode::Value);
  // A single value is a table of one row and one column.
  if (t.kind == Item::Val) {
    if (row > 1 || col > 1) return setError(r, ErrorCode::Ref);
    return set(r, t.v);
  }
  int32_t rows = t.rows(), cols = t.cols();
  // One index into a single row picks a column.
  if (n == 2 && rows == 1 && cols > 1) {
    col = row;
    row = 1;
  }
  if (n == 2 && cols == 1) col = 1;
  if (row > rows || col > cols) return setError(r, ErrorCode::Ref);
  if (t.kind == Item::Arr) {
    if (row == 0 || col == 0) {
      if (rows == 1 || cols == 1) {
        long long k = row == 0 ? col : row;
        if (k == 0) return set(r, t.arr->values[0]);
      }
      return setError(r, ErrorCode::Value);
    }
    return set(r, t.arr->at(static_cast<int32_t>(row - 1), static_cast<int32_t>(col - 1)));
  }
  int32_t c1 = col == 0 ? t.c1 : t.c1 + static_cast<int32_t>(col) - 1;
  int32_t c2 = col == 0 ? t.c2 : c1;
  int32_t r1 = row == 0 ? t.r1 : t.r1 + static_cast<int32_t>(row) - 1;
  int32_t r2 = row == 0 ? t.r2 : r1;
  r = Item::area(c1, r1, c2, r2);
}

void fnCHOOSE(BuiltinArgs& a, Item& r) {
  long long k = a.integer(0);
  if (k < 1 || k >= a.count()) return setError(r, ErrorCode::Value);
  r = a.item(static_cast<int>(k));
  if (r.kind == Item::Missing) setNumber(r, 0);
}

// Without an argument: the position of the formula's own cell.
void fnROW(BuiltinArgs& a, Item& r) { setNumber(r, a.has(0) ? a.item(0).r1 : a.ctx.hostRow); }
void fnCOLUMN(BuiltinArgs& a, Item& r) { setNumber(r, a.has(0) ? a.item(0).c1 : a.ctx.hostCol); }
void fnROWS(BuiltinArgs& a, Item& r) { setNumber(r, a.item(0).rows()); }
void fnCOLUMNS(BuiltinArgs& a, Item& r) { setNumber(r, a.item(0).cols()); }

constexpr ArgRule kKey = arg(ArgKind::Scalar);
constexpr ArgRule kTable = arg(ArgKind::Table);
constexpr ArgRule kAnyArg = arg(ArgKind::Any);
constexpr ArgRule kInteger = arg(ArgKind::Integer);

constexpr BuiltinFunction kLookup[] = {
    generalFunction("CHOOSE", 2, BuiltinFunction::kMany, {kInteger, kAnyArg}, fnCHOOSE),
    generalFunction("COLUMN", 0, 1, {optional(ArgKind::Reference)}, fnCOLUMN, kBuiltinPositionArgs),
    generalFunction("COLUMNS", 1, 1, {arg(ArgKind::TableOrValue)}, fnCOLUMNS, kBuiltinPositionArgs),
    generalFunction("COUNTIF", 2, 2, {arg(ArgKind::Range), kAnyArg}, fnCOUNTIF),
    generalFunction("HLOOKUP", 3, 4, {kKey, kTable, kInteger, optional(ArgKind::Boolean, 1)},
                    hvLookup<false>),
    generalFunction("INDEX", 2, 3,
                    {arg(ArgKind::TableOrValue), kInteger, optional(ArgKind::Integer, 0)}, fnINDEX),
    generalFunction("LOOKUP", 2, 3, {kKey, kTable, optionalIfAbsent(ArgKind::Any)}, fnLOOKUP),
    generalFunction("MATCH", 2, 3, {kKey, kTable, optional(ArgKind::Number, 1)}, fnMATCH),
    generalFunction("ROW", 0, 1, {optional(ArgKind::Reference)}, fnROW, kBuiltinPositionArgs),
    generalFunction("ROWS", 1, 1, {arg(ArgKind::TableOrValue)}, fnROWS, kBuiltinPositionArgs),
    generalFunction("SUMIF", 2, 3, {arg(ArgKind::Reference), kAnyArg, optional(ArgKind::Reference)},
                    fnSUMIF),
    generalFunction("VLOOKUP", 3, 4, {kKey, kTable, kInteger, optional(ArgKind::Boolean, 1)},
                    hvLookup<true>),
};

}  // namespace

std::span<const BuiltinFunction> lookupFunctions() { return kLookup; }

}  // namespace krv::sheet
