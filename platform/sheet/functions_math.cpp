// Built-in functions: arithmetic, rounding, aggregates and statistics,
// logic and information.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/sheet/function_support.h"
#include "platform/sheet/formula_number_text.h"

namespace krv::sheet::fn {

#define FN(name) void name(EvalContext& ctx, Item* a, int n, Item& r)

namespace {

template <class F>
void unaryMath(EvalContext& ctx, Item* a, Item& r, F f) {
  double x;
  if (!number(ctx, a[0], x, r)) return;
  set(r, f(x));
}

Value num(double v) { return numberResult(v); }
Value err(ErrorCode e) { return Value::error(e); }

// Snaps a quotient that is an integer up to rounding noise onto it.
double snapQuotient(double q) {
  double rq = std::round(q);
  if (std::fabs(q - rq) <= 1e-12 * std::max(1.0, std::fabs(q))) return rq;
  return q;
}

}  // namespace

FN(fnABS) { (void)n; unaryMath(ctx, a, r, [](double x) { return num(std::fabs(x)); }); }
FN(fnACOS) {
  (void)n;
  unaryMath(ctx, a, r, [](double x) { return x < -1 || x > 1 ? err(ErrorCode::Num) : num(std::acos(x)); });
}
FN(fnASIN) {
  (void)n;
  unaryMath(ctx, a, r, [](double x) { return x < -1 || x > 1 ? err(ErrorCode::Num) : num(std::asin(x)); });
}
FN(fnATAN) { (void)n; unaryMath(ctx, a, r, [](double x) { return num(std::atan(x)); }); }
FN(fnATAN2) {
  (void)n;
  double x, y;
  if (!number(ctx, a[0], x, r) || !number(ctx, a[1], y, r)) return;
  if (x == 0 && y == 0) return setError(r, ErrorCode::Div0);
  setNumber(r, std::atan2(y, x));
}
FN(fnCOS) { (void)n; unaryMath(ctx, a, r, [](double x) { return num(std::cos(x)); }); }
FN(fnSIN) { (void)n; unaryMath(ctx, a, r, [](double x) { return num(std::sin(x)); }); }
FN(fnTAN) { (void)n; unaryMath(ctx, a, r, [](double x) { return num(std::tan(x)); }); }
FN(fnDEGREES) { (void)n; unaryMath(ctx, a, r, [](double x) { return num(x * 180.0 / std::numbers::pi); }); }
FN(fnRADIANS) { (void)n; unaryMath(ctx, a, r, [](double x) { return num(x * std::numbers::pi / 180.0); }); }
FN(fnEXP) { (void)n; unaryMath(ctx, a, r, [](double x) { return num(std::exp(x)); }); }
FN(fnLN) {
  (void)n;
  unaryMath(ctx, a, r, [](double x) { return x <= 0 ? err(ErrorCode::Num) : num(std::log(x)); });
}
FN(fnLOG10) {
  (void)n;
  unaryMath(ctx, a, r, [](double x) { return x <= 0 ? err(ErrorCode::Num) : num(std::log10(x)); });
}
FN(fnLOG) {
  double x, base = 10;
  if (!number(ctx, a[0], x, r)) return;
  if (n > 1 && a[1].kind != Item::Missing && !number(ctx, a[1], base, r)) return;
  if (x <= 0 || base <= 0) return setError(r, ErrorCode::Num);
  if (base == 1) return setError(r, ErrorCode::Div0);
  setNumber(r, base == 10 ? std::log10(x) : std::log(x) / std::log(base));
}
FN(fnSQRT) {
  (void)n;
  unaryMath(ctx, a, r, [](double x) { return x < 0 ? err(ErrorCode::Num) : num(std::sqrt(x)); });
}
FN(fnSIGN) { (void)n; unaryMath(ctx, a, r, [](double x) { return num(x > 0 ? 1 : x < 0 ? -1 : 0); }); }
FN(fnINT) { (void)n; unaryMath(ctx, a, r, [](double x) { return num(std::floor(toDisplayPrecision(x))); }); }
FN(fnPI) { (void)ctx, (void)a, (void)n; setNumber(r, std::numbers::pi); }
FN(fnEVEN) {
  (void)n;
  unaryMath(ctx, a, r, [](double x) {
    double m = std::ceil(snapQuotient(std::fabs(x) / 2)) * 2;
    return num(x < 0 ? -m : m);
  });
}
FN(fnODD) {
  (void)n;
  unaryMath(ctx, a, r, [](double x) {
    double ax = snapQuotient(std::fabs(x));
    double m = std::ceil(ax);
    if (std::fmod(m, 2) == 0) m += 1;
    return num(x < 0 ? -m : m);
  });
}
FN(fnFACT) {
  (void)n;
  unaryMath(ctx, a, r, [](double x) {
    if (x < 0) return err(ErrorCode::Num);
    x = std::floor(x);
    if (x > 170) return err(ErrorCode::Num);
    double f = 1;
    for (int i = 2; i <= static_cast<int>(x); ++i) f *= i;
    return num(f);
  });
}
FN(fnMOD) {
  (void)n;
  double x, y;
  if (!number(ctx, a[0], x, r) || !number(ctx, a[1], y, r)) return;
  if (y == 0) return setError(r, ErrorCode::Div0);
  double q = std::floor(snapQuotient(x / y));
  double m = x - y * q;
  if (m != 0 && (m < 0) != (y < 0)) m += y;
  setNumber(r, toDisplayPrecision(m));
}
FN(fnPOWER) {
  (void)n;
  double x, y;
  if (!number(ctx, a[0], x, r) || !number(ctx, a[1], y, r)) return;
  if (x == 0 && y == 0) return setError(r, ErrorCode::Num);
  if (x == 0 && y < 0) return setError(r, ErrorCode::Div0);
  setNumber(r, std::pow(x, y));
}

namespace {
void roundWith(EvalContext& ctx, Item* a, int n, Item& r, RoundMode mode) {
  double x, d = 0;
  if (!number(ctx, a[0], x, r)) return;
  if (n > 1 && !number(ctx, a[1], d, r)) return;
  d = std::trunc(std::clamp(d, -400.0, 400.0));
  setNumber(r, roundDecimal(x, static_cast<int>(d), mode));
}
}  // namespace

FN(fnROUND) { roundWith(ctx, a, n, r, RoundMode::HalfAway); }
FN(fnROUNDUP) { roundWith(ctx, a, n, r, RoundMode::Up); }
FN(fnROUNDDOWN) { roundWith(ctx, a, n, r, RoundMode::Down); }
FN(fnTRUNC) { roundWith(ctx, a, n, r, RoundMode::Down); }

FN(fnCEILING) {
  (void)n;
  double x, s;
  if (!number(ctx, a[0], x, r) || !number(ctx, a[1], s, r)) return;
  if (x == 0 || s == 0) return setNumber(r, 0);
  if (x > 0 && s < 0) return setError(r, ErrorCode::Num);
  setNumber(r, toDisplayPrecision(std::ceil(snapQuotient(x / s)) * s));
}
FN(fnFLOOR) {
  (void)n;
  double x, s;
  if (!number(ctx, a[0], x, r) || !number(ctx, a[1], s, r)) return;
  if (s == 0) return x == 0 ? setNumber(r, 0) : setError(r, ErrorCode::Div0);
  if (x > 0 && s < 0) return setError(r, ErrorCode::Num);
  setNumber(r, toDisplayPrecision(std::floor(snapQuotient(x / s)) * s));
}

// ---- aggregates --------------------------------------------------------

FN(fnSUM) {
  double sum = 0;
  for (int i = 0; i < n; ++i) {
    const Item& it = a[i];
    if (it.kind == Item::Area) {
      ErrorCode e = ErrorCode::Value;
      bool bad = false;
      ctx.grid.forEachAllocated(it.c1, it.r1, it.c2, it.r2, [&](int32_t, int32_t, const Cell& c) {
        const Value& v = c.value;
        if (v.isNumber()) sum += v.number();
        else if (v.isError() && !bad) {
          bad = true;
          e = v.error();
        }
      });
      if (bad) return setError(r, e);
      continue;
    }
    std::vector<double> nums;
    if (!collectNumbers(ctx, a + i, 1, nums, r)) return;
    for (double d : nums) sum += d;
  }
  setNumber(r, sum);
}
FN(fnPRODUCT) {
  std::vector<double> v;
  if (!collectNumbers(ctx, a, n, v, r)) return;
  if (v.empty()) return setNumber(r, 0);
  double p = 1;
  for (double d : v) p *= d;
  setNumber(r, p);
}
FN(fnSUMSQ) {
  std::vector<double> v;
  if (!collectNumbers(ctx, a, n, v, r)) return;
  double s = 0;
  for (double d : v) s += d * d;
  setNumber(r, s);
}
FN(fnAVERAGE) {
  std::vector<double> v;
  if (!collectNumbers(ctx, a, n, v, r)) return;
  if (v.empty()) return setError(r, ErrorCode::Div0);
  double s = 0;
  for (double d : v) s += d;
  setNumber(r, s / static_cast<double>(v.size()));
}
FN(fnMAX) {
  std::vector<double> v;
  if (!collectNumbers(ctx, a, n, v, r)) return;
  setNumber(r, v.empty() ? 0 : *std::max_element(v.begin(), v.end()));
}
FN(fnMIN) {
  std::vector<double> v;
  if (!collectNumbers(ctx, a, n, v, r)) return;
  setNumber(r, v.empty() ? 0 : *std::min_element(v.begin(), v.end()));
}
FN(fnMEDIAN) {
  std::vector<double> v;
  if (!collectNumbers(ctx, a, n, v, r)) return;
  if (v.empty()) return setError(r, ErrorCode::Num);
  std::sort(v.begin(), v.end());
  size_t m = v.size() / 2;
  setNumber(r, v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2);
}
namespace {
bool variance(EvalContext& ctx, Item* a, int n, Item& r, double& out) {
  std::vector<double> v;
  if (!collectNumbers(ctx, a, n, v, r)) return false;
  if (v.size() < 2) {
    setError(r, ErrorCode::Div0);
    return false;
  }
  double mean = 0;
  for (double d : v) mean += d;
  mean /= static_cast<double>(v.size());
  double ss = 0;
  for (double d : v) ss += (d - mean) * (d - mean);
  out = ss / static_cast<double>(v.size() - 1);
  return true;
}
}  // namespace
FN(fnVAR) {
  double v;
  if (variance(ctx, a, n, r, v)) setNumber(r, v);
}
FN(fnSTDEV) {
  double v;
  if (variance(ctx, a, n, r, v)) setNumber(r, std::sqrt(v));
}
FN(fnCOUNT) {
  double count = 0;
  for (int i = 0; i < n; ++i) {
    const Item& it = a[i];
    if (it.kind == Item::Val || it.kind == Item::Missing) {
      double d;
      ErrorCode e = ErrorCode::Value;
      if (it.kind == Item::Missing || (!it.v.isEmpty() && toNumber(it.v, d, e))) ++count;
      continue;
    }
    forEachValue(ctx, it, [&](const Value& v) {
      if (v.isNumber()) ++count;
      return true;
    });
  }
  setNumber(r, count);
}
FN(fnCOUNTA) {
  double count = 0;
  for (int i = 0; i < n; ++i) {
    const Item& it = a[i];
    if (it.kind == Item::Val || it.kind == Item::Missing) {
      ++count;
      continue;
    }
    forEachValue(ctx, it, [&](const Value& v) {
      if (!v.isEmpty()) ++count;
      return true;
    });
  }
  setNumber(r, count);
}
FN(fnCOUNTBLANK) {
  (void)n;
  const Item& it = a[0];
  if (it.kind != Item::Area) {
    if (it.kind == Item::Val && it.v.isError()) return setError(r, it.v.error());
    return setError(r, ErrorCode::Value);
  }
  double total = static_cast<double>(it.c2 - it.c1 + 1) * static_cast<double>(it.r2 - it.r1 + 1);
  double filled = 0;
  ctx.grid.forEachAllocated(it.c1, it.r1, it.c2, it.r2, [&](int32_t, int32_t, const Cell& c) {
    if (!c.value.isEmpty() && !(c.value.isText() && c.value.text().empty())) ++filled;
  });
  setNumber(r, total - filled);
}

FN(fnSUMPRODUCT) {
  int32_t rows = a[0].rows(), cols = a[0].cols();
  for (int i = 0; i < n; ++i) {
    if (a[i].kind == Item::Val && a[i].v.isError()) return setError(r, a[i].v.error());
    if (a[i].rows() != rows || a[i].cols() != cols) return setError(r, ErrorCode::Value);
  }
  if (static_cast<double>(rows) * cols > 4e6) return setError(r, ErrorCode::Num);
  double sum = 0;
  for (int32_t y = 0; y < rows; ++y)
    for (int32_t x = 0; x < cols; ++x) {
      double p = 1;
      for (int i = 0; i < n; ++i) {
        const Value& v = a[i].kind == Item::Val ? a[i].v : ctx.cellOf(a[i], y, x);
        if (v.isError()) return setError(r, v.error());
        p *= v.isNumber() ? v.number() : 0;
      }
      sum += p;
    }
  setNumber(r, sum);
}

// ---- logic -------------------------------------------------------------

namespace {
// Collects the logical values of AND, OR and XOR; false with the error set.
bool logicals(EvalContext& ctx, Item* a, int n, Item& r, std::vector<bool>& out) {
  for (int i = 0; i < n; ++i) {
    const Item& it = a[i];
    if (it.kind == Item::Missing) continue;
    if (it.kind == Item::Val) {
      if (it.v.isEmpty()) continue;
      bool b;
      if (!boolean(ctx, it, b, r)) return false;
      out.push_back(b);
      continue;
    }
    ErrorCode e = ErrorCode::Value;
    bool ok = forEachValue(ctx, it, [&](const Value& v) {
      if (v.isError()) {
        e = v.error();
        return false;
      }
      if (v.isNumber() || v.isBool()) out.push_back(v.number() != 0);
      return true;
    });
    if (!ok) {
      setError(r, e);
      return false;
    }
  }
  if (out.empty()) {
    setError(r, ErrorCode::Value);
    return false;
  }
  return true;
}
}  // namespace

FN(fnAND) {
  std::vector<bool> v;
  if (!logicals(ctx, a, n, r, v)) return;
  set(r, Value::boolean(std::all_of(v.begin(), v.end(), [](bool b) { return b; })));
}
FN(fnOR) {
  std::vector<bool> v;
  if (!logicals(ctx, a, n, r, v)) return;
  set(r, Value::boolean(std::any_of(v.begin(), v.end(), [](bool b) { return b; })));
}
FN(fnXOR) {
  std::vector<bool> v;
  if (!logicals(ctx, a, n, r, v)) return;
  set(r, Value::boolean(std::count(v.begin(), v.end(), true) % 2 == 1));
}
FN(fnNOT) {
  (void)n;
  bool b;
  if (boolean(ctx, a[0], b, r)) set(r, Value::boolean(!b));
}
FN(fnTRUE) { (void)ctx, (void)a, (void)n; set(r, Value::boolean(true)); }
FN(fnFALSE) { (void)ctx, (void)a, (void)n; set(r, Value::boolean(false)); }
// IF and IFERROR compile to jumps; these run only if called as values.
FN(fnIF) {
  bool b;
  if (!boolean(ctx, a[0], b, r)) return;
  if (b) r = a[1];
  else if (n > 2) r = a[2];
  else set(r, Value::boolean(false));
}
FN(fnIFERROR) {
  (void)n;
  Value v = ctx.scalar(a[0]);
  r = v.isError() ? a[1] : a[0];
}

// ---- information -------------------------------------------------------

FN(fnISBLANK) {
  (void)n;
  set(r, Value::boolean(a[0].kind != Item::Missing && ctx.scalar(a[0]).isEmpty() &&
                        !(a[0].kind == Item::Val)));
}
FN(fnISERROR) { (void)n; set(r, Value::boolean(ctx.scalar(a[0]).isError())); }
FN(fnISERR) {
  (void)n;
  Value v = ctx.scalar(a[0]);
  set(r, Value::boolean(v.isError() && v.error() != ErrorCode::NA));
}
FN(fnISNA) {
  (void)n;
  Value v = ctx.scalar(a[0]);
  set(r, Value::boolean(v.isError() && v.error() == ErrorCode::NA));
}
FN(fnISNUMBER) { (void)n; set(r, Value::boolean(ctx.scalar(a[0]).isNumber())); }
FN(fnISTEXT) { (void)n; set(r, Value::boolean(ctx.scalar(a[0]).isText())); }
FN(fnISLOGICAL) { (void)n; set(r, Value::boolean(ctx.scalar(a[0]).isBool())); }
FN(fnNA) { (void)ctx, (void)a, (void)n; setError(r, ErrorCode::NA); }

#undef FN
}  // namespace krv::sheet::fn
