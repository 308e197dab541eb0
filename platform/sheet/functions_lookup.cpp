// Built-in functions: look-up and reference, conditional aggregates, and
// the table of all built-in functions.
#include <cmath>
#include <string>
#include <unordered_map>

#include "platform/sheet/builtin_functions.h"
#include "platform/sheet/function_support.h"
#include "platform/sheet/formula_number_text.h"
#include "platform/sheet/text_utils.h"

namespace krv::sheet::fn {

#define FN(name) void name(EvalContext& ctx, Item* a, int n, Item& r)

// ---- criteria of COUNTIF and SUMIF ----------------------------------------

namespace {

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
    if (t.rfind("<=", 0) == 0) k.cmp = Le, t.remove_prefix(2);
    else if (t.rfind(">=", 0) == 0) k.cmp = Ge, t.remove_prefix(2);
    else if (t.rfind("<>", 0) == 0) k.cmp = Ne, t.remove_prefix(2);
    else if (t.rfind("<", 0) == 0) k.cmp = Lt, t.remove_prefix(1);
    else if (t.rfind(">", 0) == 0) k.cmp = Gt, t.remove_prefix(1);
    else if (t.rfind("=", 0) == 0) k.cmp = Eq, t.remove_prefix(1);
    if (auto num = parseNumberText(t)) k.operand = Value::number(*num);
    else if (equalNoCase(t, "TRUE")) k.operand = Value::boolean(true);
    else if (equalNoCase(t, "FALSE")) k.operand = Value::boolean(false);
    else if (auto e = parseErrorText(upperText(t))) k.operand = Value::error(*e);
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
      case Lt: return c < 0;
      case Le: return c <= 0;
      case Gt: return c > 0;
      case Ge: return c >= 0;
      default: return false;
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

}  // namespace

FN(fnCOUNTIF) {
  (void)n;
  const Item& range = a[0];
  Value crit = ctx.scalar(a[1]);
  Criteria k = Criteria::from(crit);
  double count = 0;
  if (range.kind == Item::Area) {
    double total = static_cast<double>(range.c2 - range.c1 + 1) * static_cast<double>(range.r2 - range.r1 + 1);
    double seen = 0;
    ctx.grid.forEachAllocated(range.c1, range.r1, range.c2, range.r2, [&](int32_t, int32_t, const Cell& c) {
      ++seen;
      if (k.matches(c.value)) ++count;
    });
    if (k.matches(Value())) count += total - seen;
  } else if (range.kind == Item::Arr) {
    for (const Value& v : range.arr->values)
      if (k.matches(v)) ++count;
  } else {
    if (range.kind == Item::Val && range.v.isError()) return setError(r, range.v.error());
    return setError(r, ErrorCode::Value);
  }
  setNumber(r, count);
}

FN(fnSUMIF) {
  const Item& range = a[0];
  if (range.kind != Item::Area) {
    if (range.kind == Item::Val && range.v.isError()) return setError(r, range.v.error());
    return setError(r, ErrorCode::Value);
  }
  Criteria k = Criteria::from(ctx.scalar(a[1]));
  const Item* sum = (n > 2 && a[2].kind != Item::Missing) ? &a[2] : &range;
  if (sum->kind != Item::Area) {
    if (sum->kind == Item::Val && sum->v.isError()) return setError(r, sum->v.error());
    return setError(r, ErrorCode::Value);
  }
  int32_t c2 = range.c2, r2 = range.r2;
  clipToAllocated(ctx, c2, r2);
  double total = 0;
  for (int32_t c = range.c1; c <= c2; ++c)
    for (int32_t row = range.r1; row <= r2; ++row) {
      if (!k.matches(ctx.grid.value(c, row))) continue;
      const Value& v = ctx.grid.value(sum->c1 + (c - range.c1), sum->r1 + (row - range.r1));
      if (v.isError()) return setError(r, v.error());
      if (v.isNumber()) total += v.number();
    }
  setNumber(r, total);
}

// ---- look-ups -------------------------------------------------------------

namespace {

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
      if (c <= 0) found = i;
      else break;
    } else {
      if (c >= 0) found = i;
      else break;
    }
  }
  return found;
}

bool tableArg(const Item& t, Item& r) {
  if (t.kind == Item::Area || t.kind == Item::Arr) return true;
  if (t.kind == Item::Val && t.v.isError()) setError(r, t.v.error());
  else setError(r, ErrorCode::NA);
  return false;
}

// Result of a look-up: the cell's value (an empty cell gives 0).
void lookupResult(EvalContext& ctx, const Item& t, int32_t row, int32_t col, Item& r) {
  if (t.kind == Item::Area) {
    r = Item::area(t.c1 + col, t.r1 + row, t.c1 + col, t.r1 + row);
    return;
  }
  set(r, ctx.cellOf(t, row, col));
}

void hvLookup(EvalContext& ctx, Item* a, int n, Item& r, bool vertical) {
  Value key = ctx.scalar(a[0]);
  if (key.isError()) return setError(r, key.error());
  const Item& t = a[1];
  if (!tableArg(t, r)) return;
  long long index;
  if (!integer(ctx, a[2], index, r)) return;
  bool approx = true;
  if (n > 3 && a[3].kind != Item::Missing && !boolean(ctx, a[3], approx, r)) return;
  if (index < 1) return setError(r, ErrorCode::Value);
  long long limit = vertical ? t.cols() : t.rows();
  if (index > limit) return setError(r, ErrorCode::Ref);
  long long count = vertical ? t.rows() : t.cols();
  long long pos = lookupPosition(key, count, approx ? 1 : 0, [&](long long i) -> const Value& {
    return vertical ? ctx.cellOf(t, static_cast<int32_t>(i), 0) : ctx.cellOf(t, 0, static_cast<int32_t>(i));
  });
  if (pos < 0) return setError(r, ErrorCode::NA);
  if (vertical) lookupResult(ctx, t, static_cast<int32_t>(pos), static_cast<int32_t>(index - 1), r);
  else lookupResult(ctx, t, static_cast<int32_t>(index - 1), static_cast<int32_t>(pos), r);
}

}  // namespace

FN(fnVLOOKUP) { hvLookup(ctx, a, n, r, true); }
FN(fnHLOOKUP) { hvLookup(ctx, a, n, r, false); }

FN(fnMATCH) {
  Value key = ctx.scalar(a[0]);
  if (key.isError()) return setError(r, key.error());
  const Item& t = a[1];
  if (!tableArg(t, r)) return;
  double mode = 1;
  if (n > 2 && a[2].kind != Item::Missing && !number(ctx, a[2], mode, r)) return;
  if (t.rows() != 1 && t.cols() != 1) return setError(r, ErrorCode::NA);
  bool column = t.cols() == 1;
  long long count = column ? t.rows() : t.cols();
  int m = mode > 0 ? 1 : mode < 0 ? -1 : 0;
  long long pos = lookupPosition(key, count, m, [&](long long i) -> const Value& {
    return column ? ctx.cellOf(t, static_cast<int32_t>(i), 0) : ctx.cellOf(t, 0, static_cast<int32_t>(i));
  });
  if (pos < 0) return setError(r, ErrorCode::NA);
  setNumber(r, static_cast<double>(pos + 1));
}

FN(fnLOOKUP) {
  Value key = ctx.scalar(a[0]);
  if (key.isError()) return setError(r, key.error());
  const Item& t = a[1];
  if (!tableArg(t, r)) return;
  // Without a result vector a two-dimensional table is searched along its
  // longer side's first line and answered from the last line.
  bool alongRows = t.cols() > t.rows();  // search the first row
  long long count = alongRows ? t.cols() : t.rows();
  long long pos = lookupPosition(key, count, 1, [&](long long i) -> const Value& {
    return alongRows ? ctx.cellOf(t, 0, static_cast<int32_t>(i)) : ctx.cellOf(t, static_cast<int32_t>(i), 0);
  });
  if (pos < 0) return setError(r, ErrorCode::NA);
  if (n > 2) {
    const Item& res = a[2];
    if (!tableArg(res, r)) return;
    bool resRow = res.rows() == 1 && res.cols() > 1;
    long long len = resRow ? res.cols() : res.rows();
    if (pos >= len) return setError(r, ErrorCode::NA);
    if (resRow) lookupResult(ctx, res, 0, static_cast<int32_t>(pos), r);
    else lookupResult(ctx, res, static_cast<int32_t>(pos), 0, r);
    return;
  }
  if (alongRows) lookupResult(ctx, t, t.rows() - 1, static_cast<int32_t>(pos), r);
  else lookupResult(ctx, t, static_cast<int32_t>(pos), t.cols() - 1, r);
}

FN(fnINDEX) {
  const Item& t = a[0];
  // A single value is a table of one row and one column.
  const bool single = t.kind == Item::Val && !t.v.isError();
  if (!single && !tableArg(t, r)) return;
  long long row = 0, col = 0;
  if (a[1].kind != Item::Missing && !integer(ctx, a[1], row, r)) return;
  if (n > 2 && a[2].kind != Item::Missing && !integer(ctx, a[2], col, r)) return;
  if (row < 0 || col < 0) return setError(r, ErrorCode::Value);
  if (single) {
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

FN(fnCHOOSE) {
  long long k;
  if (!integer(ctx, a[0], k, r)) return;
  if (k < 1 || k >= n) return setError(r, ErrorCode::Value);
  r = a[k];
  if (r.kind == Item::Missing) setNumber(r, 0);
}

FN(fnROW) {
  if (n == 0 || a[0].kind == Item::Missing) return setNumber(r, ctx.hostRow);
  if (a[0].kind != Item::Area) {
    if (a[0].kind == Item::Val && a[0].v.isError()) return setError(r, a[0].v.error());
    return setError(r, ErrorCode::Value);
  }
  setNumber(r, a[0].r1);
}
FN(fnCOLUMN) {
  if (n == 0 || a[0].kind == Item::Missing) return setNumber(r, ctx.hostCol);
  if (a[0].kind != Item::Area) {
    if (a[0].kind == Item::Val && a[0].v.isError()) return setError(r, a[0].v.error());
    return setError(r, ErrorCode::Value);
  }
  setNumber(r, a[0].c1);
}
FN(fnROWS) {
  (void)ctx, (void)n;
  if (a[0].kind == Item::Val && a[0].v.isError()) return setError(r, a[0].v.error());
  setNumber(r, a[0].rows());
}
FN(fnCOLUMNS) {
  (void)ctx, (void)n;
  if (a[0].kind == Item::Val && a[0].v.isError()) return setError(r, a[0].v.error());
  setNumber(r, a[0].cols());
}

// Declared in the other function files.
FN(fnABS); FN(fnACOS); FN(fnASIN); FN(fnATAN); FN(fnATAN2); FN(fnCEILING); FN(fnCOS); FN(fnDEGREES);
FN(fnEVEN); FN(fnEXP); FN(fnFACT); FN(fnFLOOR); FN(fnINT); FN(fnLN); FN(fnLOG); FN(fnLOG10); FN(fnMOD);
FN(fnODD); FN(fnPI); FN(fnPOWER); FN(fnPRODUCT); FN(fnRADIANS); FN(fnROUND); FN(fnROUNDDOWN);
FN(fnROUNDUP); FN(fnSIGN); FN(fnSIN); FN(fnSQRT); FN(fnSUM); FN(fnSUMPRODUCT); FN(fnSUMSQ); FN(fnTAN);
FN(fnTRUNC); FN(fnAVERAGE); FN(fnCOUNT); FN(fnCOUNTA); FN(fnCOUNTBLANK); FN(fnMAX); FN(fnMEDIAN);
FN(fnMIN); FN(fnSTDEV); FN(fnVAR); FN(fnAND); FN(fnFALSE); FN(fnIF); FN(fnIFERROR); FN(fnNOT); FN(fnOR);
FN(fnTRUE); FN(fnXOR); FN(fnISBLANK); FN(fnISERROR); FN(fnISERR); FN(fnISNA); FN(fnISNUMBER);
FN(fnISTEXT); FN(fnISLOGICAL); FN(fnNA); FN(fnCHAR); FN(fnCODE); FN(fnCONCATENATE); FN(fnEXACT);
FN(fnFIND); FN(fnFIXED); FN(fnLEFT); FN(fnLEN); FN(fnLOWER); FN(fnMID); FN(fnPROPER); FN(fnREPLACE);
FN(fnREPT); FN(fnRIGHT); FN(fnSEARCH); FN(fnSUBSTITUTE); FN(fnT); FN(fnTEXT); FN(fnTRIM); FN(fnUPPER);
FN(fnVALUE);

#undef FN
}  // namespace krv::sheet::fn

namespace krv::sheet {

namespace {

constexpr int16_t kMany = 255;

const BuiltinFunction kBuiltins[] = {
    {"ABS", 1, 1, fn::fnABS, 0},
    {"ACOS", 1, 1, fn::fnACOS, 0},
    {"AND", 1, kMany, fn::fnAND, 0},
    {"ASIN", 1, 1, fn::fnASIN, 0},
    {"ATAN", 1, 1, fn::fnATAN, 0},
    {"ATAN2", 2, 2, fn::fnATAN2, 0},
    {"AVERAGE", 1, kMany, fn::fnAVERAGE, 0},
    {"CEILING", 2, 2, fn::fnCEILING, 0},
    {"CHAR", 1, 1, fn::fnCHAR, 0},
    {"CHOOSE", 2, kMany, fn::fnCHOOSE, 0},
    {"CODE", 1, 1, fn::fnCODE, 0},
    {"COLUMN", 0, 1, fn::fnCOLUMN, kBuiltinPositionArgs},
    {"COLUMNS", 1, 1, fn::fnCOLUMNS, kBuiltinPositionArgs},
    {"CONCATENATE", 1, kMany, fn::fnCONCATENATE, 0},
    {"COS", 1, 1, fn::fnCOS, 0},
    {"COUNT", 1, kMany, fn::fnCOUNT, 0},
    {"COUNTA", 1, kMany, fn::fnCOUNTA, 0},
    {"COUNTBLANK", 1, 1, fn::fnCOUNTBLANK, 0},
    {"COUNTIF", 2, 2, fn::fnCOUNTIF, 0},
    {"DEGREES", 1, 1, fn::fnDEGREES, 0},
    {"EVEN", 1, 1, fn::fnEVEN, 0},
    {"EXACT", 2, 2, fn::fnEXACT, 0},
    {"EXP", 1, 1, fn::fnEXP, 0},
    {"FACT", 1, 1, fn::fnFACT, 0},
    {"FALSE", 0, 0, fn::fnFALSE, 0},
    {"FIND", 2, 3, fn::fnFIND, 0},
    {"FIXED", 1, 3, fn::fnFIXED, 0},
    {"FLOOR", 2, 2, fn::fnFLOOR, 0},
    {"HLOOKUP", 3, 4, fn::fnHLOOKUP, 0},
    {"IF", 2, 3, fn::fnIF, kBuiltinIf},
    {"IFERROR", 2, 2, fn::fnIFERROR, kBuiltinIfError},
    {"INDEX", 2, 3, fn::fnINDEX, 0},
    {"INT", 1, 1, fn::fnINT, 0},
    {"ISBLANK", 1, 1, fn::fnISBLANK, 0},
    {"ISERR", 1, 1, fn::fnISERR, 0},
    {"ISERROR", 1, 1, fn::fnISERROR, 0},
    {"ISLOGICAL", 1, 1, fn::fnISLOGICAL, 0},
    {"ISNA", 1, 1, fn::fnISNA, 0},
    {"ISNUMBER", 1, 1, fn::fnISNUMBER, 0},
    {"ISTEXT", 1, 1, fn::fnISTEXT, 0},
    {"LEFT", 1, 2, fn::fnLEFT, 0},
    {"LEN", 1, 1, fn::fnLEN, 0},
    {"LN", 1, 1, fn::fnLN, 0},
    {"LOG", 1, 2, fn::fnLOG, 0},
    {"LOG10", 1, 1, fn::fnLOG10, 0},
    {"LOOKUP", 2, 3, fn::fnLOOKUP, 0},
    {"LOWER", 1, 1, fn::fnLOWER, 0},
    {"MATCH", 2, 3, fn::fnMATCH, 0},
    {"MAX", 1, kMany, fn::fnMAX, 0},
    {"MEDIAN", 1, kMany, fn::fnMEDIAN, 0},
    {"MID", 3, 3, fn::fnMID, 0},
    {"MIN", 1, kMany, fn::fnMIN, 0},
    {"MOD", 2, 2, fn::fnMOD, 0},
    {"NA", 0, 0, fn::fnNA, 0},
    {"NOT", 1, 1, fn::fnNOT, 0},
    {"ODD", 1, 1, fn::fnODD, 0},
    {"OR", 1, kMany, fn::fnOR, 0},
    {"PI", 0, 0, fn::fnPI, 0},
    {"POWER", 2, 2, fn::fnPOWER, 0},
    {"PRODUCT", 1, kMany, fn::fnPRODUCT, 0},
    {"PROPER", 1, 1, fn::fnPROPER, 0},
    {"RADIANS", 1, 1, fn::fnRADIANS, 0},
    {"REPLACE", 4, 4, fn::fnREPLACE, 0},
    {"REPT", 2, 2, fn::fnREPT, 0},
    {"RIGHT", 1, 2, fn::fnRIGHT, 0},
    {"ROUND", 2, 2, fn::fnROUND, 0},
    {"ROUNDDOWN", 2, 2, fn::fnROUNDDOWN, 0},
    {"ROUNDUP", 2, 2, fn::fnROUNDUP, 0},
    {"ROW", 0, 1, fn::fnROW, kBuiltinPositionArgs},
    {"ROWS", 1, 1, fn::fnROWS, kBuiltinPositionArgs},
    {"SEARCH", 2, 3, fn::fnSEARCH, 0},
    {"SIGN", 1, 1, fn::fnSIGN, 0},
    {"SIN", 1, 1, fn::fnSIN, 0},
    {"SQRT", 1, 1, fn::fnSQRT, 0},
    {"STDEV", 1, kMany, fn::fnSTDEV, 0},
    {"SUBSTITUTE", 3, 4, fn::fnSUBSTITUTE, 0},
    {"SUM", 1, kMany, fn::fnSUM, 0},
    {"SUMIF", 2, 3, fn::fnSUMIF, 0},
    {"SUMPRODUCT", 1, kMany, fn::fnSUMPRODUCT, kBuiltinArrayArgs},
    {"SUMSQ", 1, kMany, fn::fnSUMSQ, 0},
    {"T", 1, 1, fn::fnT, 0},
    {"TAN", 1, 1, fn::fnTAN, 0},
    {"TEXT", 2, 2, fn::fnTEXT, 0},
    {"TRIM", 1, 1, fn::fnTRIM, 0},
    {"TRUE", 0, 0, fn::fnTRUE, 0},
    {"TRUNC", 1, 2, fn::fnTRUNC, 0},
    {"UPPER", 1, 1, fn::fnUPPER, 0},
    {"VALUE", 1, 1, fn::fnVALUE, 0},
    {"VAR", 1, kMany, fn::fnVAR, 0},
    {"VLOOKUP", 3, 4, fn::fnVLOOKUP, 0},
    {"XOR", 1, kMany, fn::fnXOR, 0},
};

const std::unordered_map<std::string_view, int>& builtinIndex() {
  static const std::unordered_map<std::string_view, int> index = [] {
    std::unordered_map<std::string_view, int> m;
    for (int i = 0; i < static_cast<int>(std::size(kBuiltins)); ++i) m[kBuiltins[i].name] = i;
    return m;
  }();
  return index;
}

}  // namespace

int findBuiltin(std::string_view name) {
  if (name.size() > 32) return -1;
  char buf[33];
  for (size_t i = 0; i < name.size(); ++i) {
    char c = name[i];
    buf[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
  }
  std::string_view upper(buf, name.size());
  auto& idx = builtinIndex();
  auto it = idx.find(upper);
  return it == idx.end() ? -1 : it->second;
}

const BuiltinFunction& builtinAt(int index) { return kBuiltins[index]; }
int builtinCount() { return static_cast<int>(std::size(kBuiltins)); }

}  // namespace krv::sheet
