// Numbers and logical values collected from the arguments of the aggregate and logical functions.
#include "platform/sheet/function_support.h"

namespace krv::sheet::fn {

bool collectNumbers(EvalContext& ctx, Item* args, int argc, std::vector<double>& out, Item& r) {
  for (int i = 0; i < argc; ++i) {
    const Item& a = args[i];
    if (a.kind == Item::Missing) {
      out.push_back(0);
      continue;
    }
    if (a.kind == Item::Val) {
      if (a.v.isEmpty()) continue;
      double d;
      ErrorCode e = ErrorCode::Value;
      if (!toNumber(a.v, d, e)) {
        setError(r, e);
        return false;
      }
      out.push_back(d);
      continue;
    }
    ErrorCode err = ErrorCode::Value;
    bool ok = forEachValue(ctx, a, [&](const Value& v) {
      if (v.isNumber())
        out.push_back(v.number());
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

bool collectLogicals(EvalContext& ctx, Item* args, int argc, std::vector<bool>& out, Item& r) {
  for (int i = 0; i < argc; ++i) {
    const Item& it = args[i];
    if (it.kind == Item::Missing) continue;
    if (it.kind == Item::Val) {
      if (it.v.isEmpty()) continue;
      bool b;
      ErrorCode e = ErrorCode::Value;
      if (!toBool(it.v, b, e)) {
        setError(r, e);
        return false;
      }
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

}  // namespace krv::sheet::fn
