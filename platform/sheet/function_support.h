#pragma once
// Helpers shared by the built-in functions and their adapter (not part of
// the public API).
#include <string>
#include <vector>

#include "platform/sheet/builtin_functions.h"
#include "platform/sheet/evaluator.h"
#include "platform/sheet/value_coercion.h"

namespace krv::sheet::fn {

inline void set(Item& r, Value v) { r = Item::value(std::move(v)); }
inline void setError(Item& r, ErrorCode e) { r = Item::value(Value::error(e)); }
inline void setNumber(Item& r, double v) { r = Item::value(numberResult(v)); }
// A number result (infinities and NaN are #NUM!) and an error result.
inline Value num(double v) { return numberResult(v); }
inline Value err(ErrorCode e) { return Value::error(e); }

// Calls f(value) for every value of a reference or array argument, or
// once for a plain value. Stops and returns false when f does.
template <class F>
bool forEachValue(EvalContext& ctx, const Item& a, F&& f) {
  if (a.kind == Item::Area) {
    bool go = true;
    ctx.grid.forEachAllocated(a.c1, a.r1, a.c2, a.r2, [&](int32_t, int32_t, const Cell& c) {
      if (go && !c.value.isEmpty()) go = f(c.value);
    });
    return go;
  }
  if (a.kind == Item::Arr) {
    for (const Value& v : a.arr->values)
      if (!f(v)) return false;
    return true;
  }
  return f(a.v);
}

// The numbers of the arguments as the aggregate functions see them:
// values given directly count when they are numbers, booleans or numeric
// texts (other texts: #VALUE!); in references and arrays only numbers
// count. Errors propagate. Returns false with the error in `r`.
bool collectNumbers(EvalContext& ctx, Item* args, int argc, std::vector<double>& out, Item& r);
// The logical values of the arguments of AND, OR and XOR: values given
// directly as booleans (numbers, "TRUE"/"FALSE"; empty ones are skipped), in
// references and arrays the numbers and booleans only. Errors propagate;
// no logical value at all is #VALUE!. Returns false with the error in `r`.
bool collectLogicals(EvalContext& ctx, Item* args, int argc, std::vector<bool>& out, Item& r);

}  // namespace krv::sheet::fn
