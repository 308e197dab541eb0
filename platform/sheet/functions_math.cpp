// Built-in functions, with their family tables: arithmetic and rounding,
// aggregates and statistics, logic and information.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/sheet/builtin_functions.h"
#include "platform/sheet/formula_number_text.h"
#include "platform/sheet/function_support.h"

namespace krv::sheet {

namespace {

using namespace fn;

// Snaps a quotient that is an integer up to rounding noise onto it.
double snapQuotient(double q) {
  double rq = std::round(q);
  if (std::fabs(q - rq) <= 1e-12 * std::max(1.0, std::fabs(q))) return rq;
  return q;
}

// ---- arithmetic and rounding ---------------------------------------------

Value fnEVEN(double x) {
  double m = std::ceil(snapQuotient(std::fabs(x) / 2)) * 2;
  return num(x < 0 ? -m : m);
}
Value fnODD(double x) {
  double m = std::ceil(snapQuotient(std::fabs(x)));
  if (std::fmod(m, 2) == 0) m += 1;
  return num(x < 0 ? -m : m);
}
Value fnFACT(double x) {
  if (x < 0) return err(ErrorCode::Num);
  x = std::floor(x);
  if (x > 170) return err(ErrorCode::Num);
  double f = 1;
  for (int i = 2; i <= static_cast<int>(x); ++i) f *= i;
  return num(f);
}
Value fnATAN2(double x, double y) {
  if (x == 0 && y == 0) return err(ErrorCode::Div0);
  return num(std::atan2(y, x));
}
Value fnLOG(double x, double base) {
  if (x <= 0 || base <= 0) return err(ErrorCode::Num);
  if (base == 1) return err(ErrorCode::Div0);
  return num(base == 10 ? std::log10(x) : std::log(x) / std::log(base));
}
Value fnMOD(double x, double y) {
  if (y == 0) return err(ErrorCode::Div0);
  double q = std::floor(snapQuotient(x / y));
  double m = x - y * q;
  if (m != 0 && (m < 0) != (y < 0)) m += y;
  return num(toDisplayPrecision(m));
}
Value fnPOWER(double x, double y) {
  if (x == 0 && y == 0) return err(ErrorCode::Num);
  if (x == 0 && y < 0) return err(ErrorCode::Div0);
  return num(std::pow(x, y));
}
template <RoundMode mode>
Value roundTo(double x, double digits) {
  digits = std::trunc(std::clamp(digits, -400.0, 400.0));
  return num(roundDecimal(x, static_cast<int>(digits), mode));
}
Value fnCEILING(double x, double s) {
  if (x == 0 || s == 0) return num(0);
  if (x > 0 && s < 0) return err(ErrorCode::Num);
  return num(toDisplayPrecision(std::ceil(snapQuotient(x / s)) * s));
}
Value fnFLOOR(double x, double s) {
  if (s == 0) return x == 0 ? num(0) : err(ErrorCode::Div0);
  if (x > 0 && s < 0) return err(ErrorCode::Num);
  return num(toDisplayPrecision(std::floor(snapQuotient(x / s)) * s));
}
void fnPI(BuiltinArgs&, Item& r) { setNumber(r, std::numbers::pi); }

constexpr BuiltinFunction kMath[] = {
    unaryFunction("ABS", [](double x) { return num(std::fabs(x)); }),
    unaryFunction(
        "ACOS", [](double x) { return x < -1 || x > 1 ? err(ErrorCode::Num) : num(std::acos(x)); }),
    unaryFunction(
        "ASIN", [](double x) { return x < -1 || x > 1 ? err(ErrorCode::Num) : num(std::asin(x)); }),
    unaryFunction("ATAN", [](double x) { return num(std::atan(x)); }),
    binaryFunction("ATAN2", fnATAN2),
    binaryFunction("CEILING", fnCEILING),
    unaryFunction("COS", [](double x) { return num(std::cos(x)); }),
    unaryFunction("DEGREES", [](double x) { return num(x * 180.0 / std::numbers::pi); }),
    unaryFunction("EVEN", fnEVEN),
    unaryFunction("EXP", [](double x) { return num(std::exp(x)); }),
    unaryFunction("FACT", fnFACT),
    binaryFunction("FLOOR", fnFLOOR),
    unaryFunction("INT", [](double x) { return num(std::floor(toDisplayPrecision(x))); }),
    unaryFunction("LN", [](double x) { return x <= 0 ? err(ErrorCode::Num) : num(std::log(x)); }),
    binaryFunction("LOG", fnLOG, optional(ArgKind::Number, 10)),
    unaryFunction("LOG10",
                  [](double x) { return x <= 0 ? err(ErrorCode::Num) : num(std::log10(x)); }),
    binaryFunction("MOD", fnMOD),
    unaryFunction("ODD", fnODD),
    generalFunction("PI", 0, 0, {}, fnPI),
    binaryFunction("POWER", fnPOWER),
    unaryFunction("RADIANS", [](double x) { return num(x * std::numbers::pi / 180.0); }),
    binaryFunction("ROUND", roundTo<RoundMode::HalfAway>),
    binaryFunction("ROUNDDOWN", roundTo<RoundMode::Down>),
    binaryFunction("ROUNDUP", roundTo<RoundMode::Up>),
    unaryFunction("SIGN", [](double x) { return num(x > 0   ? 1
                                                    : x < 0 ? -1
                                                            : 0); }),
    unaryFunction("SIN", [](double x) { return num(std::sin(x)); }),
    unaryFunction("SQRT", [](double x) { return x < 0 ? err(ErrorCode::Num) : num(std::sqrt(x)); }),
    unaryFunction("TAN", [](double x) { return num(std::tan(x)); }),
    binaryFunction("TRUNC", roundTo<RoundMode::Down>, optional(ArgKind::Number, 0)),
};

// ---- aggregates and statistics ---------------------------------------------

// SUM reads references without collecting their numbers first.
void fnSUM(BuiltinArgs& a, Item& r) {
  double sum = 0;
  for (int i = 0; i < a.count(); ++i) {
    const Item& it = a.item(i);
    if (it.kind == Item::Area) {
      ErrorCode e = ErrorCode::Value;
      bool bad = false;
      a.ctx.grid.forEachAllocated(it.c1, it.r1, it.c2, it.r2, [&](int32_t, int32_t, const Cell& c) {
        const Value& v = c.value;
        if (v.isNumber())
          sum += v.number();
        else if (v.isError() && !bad) {
          bad = true;
          e = v.error();
        }
      });
      if (bad) return setError(r, e);
      continue;
    }
    std::vector<double> nums;
    if (!collectNumbers(a.ctx, &a.item(i), 1, nums, r)) return;
    for (double d : nums) sum += d;
  }
  setNumber(r, sum);
}
Value fnPRODUCT(std::vector<double>& v) {
  if (v.empty()) return num(0);
  double p = 1;
  for (double d : v) p *= d;
  return num(p);
}
Value fnSUMSQ(std::vector<double>& v) {
  double s = 0;
  for (double d : v) s += d * d;
  return num(s);
}
Value fnAVERAGE(std::vector<double>& v) {
  if (v.empty()) return err(ErrorCode::Div0);
  double s = 0;
  for (double d : v) s += d;
  return num(s / static_cast<double>(v.size()));
}
Value fnMAX(std::vector<double>& v) {
  return num(v.empty() ? 0 : *std::max_element(v.begin(), v.end()));
}
Value fnMIN(std::vector<double>& v) {
  return num(v.empty() ? 0 : *std::min_element(v.begin(), v.end()));
}
Value fnMEDIAN(std::vector<double>& v) {
  if (v.empty()) return err(ErrorCode::Num);
  std::sort(v.begin(), v.end());
  size_t m = v.size() / 2;
  return num(v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2);
}
// The sample variance; #DIV/0! for fewer than two numbers.
Value variance(const std::vector<double>& v, bool root) {
  if (v.size() < 2) return err(ErrorCode::Div0);
  double mean = 0;
  for (double d : v) mean += d;
  mean /= static_cast<double>(v.size());
  double ss = 0;
  for (double d : v) ss += (d - mean) * (d - mean);
  double var = ss / static_cast<double>(v.size() - 1);
  return num(root ? std::sqrt(var) : var);
}
void fnCOUNT(BuiltinArgs& a, Item& r) {
  double count = 0;
  for (int i = 0; i < a.count(); ++i) {
    const Item& it = a.item(i);
    if (it.kind == Item::Val || it.kind == Item::Missing) {
      double d;
      ErrorCode e = ErrorCode::Value;
      if (it.kind == Item::Missing || (!it.v.isEmpty() && toNumber(it.v, d, e))) ++count;
      continue;
    }
    forEachValue(a.ctx, it, [&](const Value& v) {
      if (v.isNumber()) ++count;
      return true;
    });
  }
  setNumber(r, count);
}
void fnCOUNTA(BuiltinArgs& a, Item& r) {
  double count = 0;
  for (int i = 0; i < a.count(); ++i) {
    const Item& it = a.item(i);
    if (it.kind == Item::Val || it.kind == Item::Missing) {
      ++count;
      continue;
    }
    forEachValue(a.ctx, it, [&](const Value& v) {
      if (!v.isEmpty()) ++count;
      return true;
    });
  }
  setNumber(r, count);
}
void fnCOUNTBLANK(BuiltinArgs& a, Item& r) {
  const Item& it = a.item(0);
  double total = static_cast<double>(it.c2 - it.c1 + 1) * static_cast<double>(it.r2 - it.r1 + 1);
  double filled = 0;
  a.ctx.grid.forEachAllocated(it.c1, it.r1, it.c2, it.r2, [&](int32_t, int32_t, const Cell& c) {
    if (!c.value.isEmpty() && !(c.value.isText() && c.value.text().empty())) ++filled;
  });
  setNumber(r, total - filled);
}
// Errors and sizes are checked argument by argument, in that order.
void fnSUMPRODUCT(BuiltinArgs& a, Item& r) {
  const int n = a.count();
  int32_t rows = a.item(0).rows(), cols = a.item(0).cols();
  for (int i = 0; i < n; ++i) {
    const Item& it = a.item(i);
    if (it.kind == Item::Val && it.v.isError()) return setError(r, it.v.error());
    if (it.rows() != rows || it.cols() != cols) return setError(r, ErrorCode::Value);
  }
  if (static_cast<double>(rows) * cols > 4e6) return setError(r, ErrorCode::Num);
  double sum = 0;
  for (int32_t y = 0; y < rows; ++y)
    for (int32_t x = 0; x < cols; ++x) {
      double p = 1;
      for (int i = 0; i < n; ++i) {
        const Item& it = a.item(i);
        const Value& v = it.kind == Item::Val ? it.v : a.ctx.cellOf(it, y, x);
        if (v.isError()) return setError(r, v.error());
        p *= v.isNumber() ? v.number() : 0;
      }
      sum += p;
    }
  setNumber(r, sum);
}

constexpr ArgRule kAnyArg = arg(ArgKind::Any);
constexpr int kMany = BuiltinFunction::kMany;

constexpr BuiltinFunction kAggregates[] = {
    numbersFunction("AVERAGE", fnAVERAGE),
    generalFunction("COUNT", 1, kMany, {kAnyArg}, fnCOUNT),
    generalFunction("COUNTA", 1, kMany, {kAnyArg}, fnCOUNTA),
    generalFunction("COUNTBLANK", 1, 1, {arg(ArgKind::Reference)}, fnCOUNTBLANK),
    numbersFunction("MAX", fnMAX),
    numbersFunction("MEDIAN", fnMEDIAN),
    numbersFunction("MIN", fnMIN),
    numbersFunction("PRODUCT", fnPRODUCT),
    numbersFunction("STDEV", [](std::vector<double>& v) { return variance(v, true); }),
    generalFunction("SUM", 1, kMany, {kAnyArg}, fnSUM),
    generalFunction("SUMPRODUCT", 1, kMany, {kAnyArg}, fnSUMPRODUCT, kBuiltinArrayArgs),
    numbersFunction("SUMSQ", fnSUMSQ),
    numbersFunction("VAR", [](std::vector<double>& v) { return variance(v, false); }),
};

// ---- logic and information ---------------------------------------------------

// IF and IFERROR compile to jumps; these bodies run only if called as values.
void fnIF(BuiltinArgs& a, Item& r) {
  if (a.boolean(0))
    r = a.item(1);
  else if (a.has(2))
    r = a.item(2);
  else
    set(r, Value::boolean(false));
}
void fnIFERROR(BuiltinArgs& a, Item& r) { r = a.scalar(0).isError() ? a.item(1) : a.item(0); }
void fnNOT(BuiltinArgs& a, Item& r) { set(r, Value::boolean(!a.boolean(0))); }
void fnTRUE(BuiltinArgs&, Item& r) { set(r, Value::boolean(true)); }
void fnFALSE(BuiltinArgs&, Item& r) { set(r, Value::boolean(false)); }
void fnNA(BuiltinArgs&, Item& r) { setError(r, ErrorCode::NA); }
// An empty cell is blank; an empty value given directly is not.
void fnISBLANK(BuiltinArgs& a, Item& r) {
  const Item& it = a.item(0);
  set(r, Value::boolean(it.kind != Item::Missing && it.kind != Item::Val && a.scalar(0).isEmpty()));
}
void fnISERROR(BuiltinArgs& a, Item& r) { set(r, Value::boolean(a.scalar(0).isError())); }
void fnISERR(BuiltinArgs& a, Item& r) {
  Value v = a.scalar(0);
  set(r, Value::boolean(v.isError() && v.error() != ErrorCode::NA));
}
void fnISNA(BuiltinArgs& a, Item& r) {
  Value v = a.scalar(0);
  set(r, Value::boolean(v.isError() && v.error() == ErrorCode::NA));
}
void fnISNUMBER(BuiltinArgs& a, Item& r) { set(r, Value::boolean(a.scalar(0).isNumber())); }
void fnISTEXT(BuiltinArgs& a, Item& r) { set(r, Value::boolean(a.scalar(0).isText())); }
void fnISLOGICAL(BuiltinArgs& a, Item& r) { set(r, Value::boolean(a.scalar(0).isBool())); }

constexpr BuiltinFunction kLogic[] = {
    logicalsFunction("AND",
                     [](const std::vector<bool>& v) {
                       return Value::boolean(
                           std::all_of(v.begin(), v.end(), [](bool b) { return b; }));
                     }),
    generalFunction("FALSE", 0, 0, {}, fnFALSE),
    generalFunction("IF", 2, 3, {arg(ArgKind::Boolean), kAnyArg, optionalIfAbsent(ArgKind::Any)},
                    fnIF, kBuiltinIf),
    generalFunction("IFERROR", 2, 2, {kAnyArg, kAnyArg}, fnIFERROR, kBuiltinIfError),
    generalFunction("ISBLANK", 1, 1, {kAnyArg}, fnISBLANK),
    generalFunction("ISERR", 1, 1, {kAnyArg}, fnISERR),
    generalFunction("ISERROR", 1, 1, {kAnyArg}, fnISERROR),
    generalFunction("ISLOGICAL", 1, 1, {kAnyArg}, fnISLOGICAL),
    generalFunction("ISNA", 1, 1, {kAnyArg}, fnISNA),
    generalFunction("ISNUMBER", 1, 1, {kAnyArg}, fnISNUMBER),
    generalFunction("ISTEXT", 1, 1, {kAnyArg}, fnISTEXT),
    generalFunction("NA", 0, 0, {}, fnNA),
    generalFunction("NOT", 1, 1, {arg(ArgKind::Boolean)}, fnNOT),
    logicalsFunction("OR",
                     [](const std::vector<bool>& v) {
                       return Value::boolean(
                           std::any_of(v.begin(), v.end(), [](bool b) { return b; }));
                     }),
    generalFunction("TRUE", 0, 0, {}, fnTRUE),
    logicalsFunction("XOR",
                     [](const std::vector<bool>& v) {
                       return Value::boolean(std::count(v.begin(), v.end(), true) % 2 == 1);
                     }),
};

}  // namespace

std::span<const BuiltinFunction> mathFunctions() { return kMath; }
std::span<const BuiltinFunction> aggregateFunctions() { return kAggregates; }
std::span<const BuiltinFunction> logicFunctions() { return kLogic; }

}  // namespace krv::sheet
