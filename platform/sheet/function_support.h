#pragma once
// Helpers shared by the built-in functions (not part of the public API).
#include <string>
#include <vector>

#include "platform/sheet/evaluator.h"
#include "platform/sheet/value_coercion.h"

namespace krv::sheet::fn {

inline void set(Item& r, Value v) { r = Item::value(std::move(v)); }
inline void setError(Item& r, ErrorCode e) { r = Item::value(Value::error(e)); }
inline void setNumber(Item& r, double v) { r = Item::value(numberResult(v)); }

// Reads one argument as a number / text / boolean; on failure writes the
// error into `r` and returns false. An omitted argument reads as 0, "" or
// FALSE.
bool number(EvalContext& ctx, const Item& a, double& out, Item& r);
bool text(EvalContext& ctx, const Item& a, std::string& out, Item& r);
bool boolean(EvalContext& ctx, const Item& a, bool& out, Item& r);
// An integer argument, truncated toward zero and clamped to +-2^31.
bool integer(EvalContext& ctx, const Item& a, long long& out, Item& r);

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

}  // namespace krv::sheet::fn
