#include "platform/sheet/function_support.h"

#include <cmath>

namespace krv::sheet::fn {

bool number(EvalContext& ctx, const Item& a, double& out, Item& r) {
  Value v = ctx.scalar(a);
  ErrorCode e = ErrorCode::Value;
  if (!toNumber(v, out, e)) {
    setError(r, e);
    return false;
  }
  return true;
}

bool text(EvalContext& ctx, const Item& a, std::string& out, Item& r) {
  Value v = ctx.scalar(a);
  if (v.isError()) {
    setError(r, v.error());
    return false;
  }
  out = toText(v);
  return true;
}

bool boolean(EvalContext& ctx, const Item& a, bool& out, Item& r) {
  Value v = ctx.scalar(a);
  ErrorCode e = ErrorCode::Value;
  if (!toBool(v, out, e)) {
    setError(r, e);
    return false;
  }
  return true;
}

bool integer(EvalContext& ctx, const Item& a, long long& out, Item& r) {
  double d;
  if (!number(ctx, a, d, r)) return false;
  d = std::trunc(d);
  if (d > 2147483647.0) d = 2147483647.0;
  if (d < -2147483648.0) d = -2147483648.0;
  out = static_cast<long long>(d);
  return true;
}

bool collectNumbers(EvalContext& ctx, Item* args, int argc, std::vector<double>& out, Item& r) {
  for (int i = 0; i < argc; ++i) {
    const Item& a = args[i];
    if (a.kind == Item::Missing) {
      out.push_back(0);
      continue;
    }
    if (a.kind == Item::Val) {
      double d;
      if (a.v.isEmpty()) continue;
      if (!number(ctx, a, d, r)) return false;
      out.push_back(d);
      continue;
    }
    ErrorCode err = ErrorCode::Value;
    bool ok = forEachValue(ctx, a, [&](const Value& v) {
      if (v.isNumber()) out.push_back(v.number());
      else if (v.isError()) {
        err = v.error();
        return false;
      }
      return true;
    });
    if (!ok) {
      setError(r, err);
      return false;
    }
  }
  return true;
}

}  // namespace krv::sheet::fn
