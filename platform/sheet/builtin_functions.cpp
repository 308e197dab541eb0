// The registry of the built-in functions (gathered from the family tables)
// and the adapter that prepares their arguments.
#include "platform/sheet/builtin_functions.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <unordered_map>

#include "platform/sheet/function_support.h"

namespace krv::sheet {

namespace {

// The argument's one value as a number; false with the error in `err`.
bool readNumber(const EvalContext& ctx, const Item& it, double& out, ErrorCode& err) {
  if (it.kind == Item::Val && it.v.isNumber()) {
    out = it.v.number();
    return true;
  }
  err = ErrorCode::Value;
  return toNumber(ctx.scalar(it), out, err);
}

double clampToInteger(double d) {
  d = std::trunc(d);
  if (d > 2147483647.0) d = 2147483647.0;
  if (d < -2147483648.0) d = -2147483648.0;
  return d;
}

// Whether a reference kind takes the item; otherwise `err` is the item's
// own error or the kind's refusal.
bool takesShape(ArgKind kind, const Item& it, ErrorCode& err) {
  bool ok = false;
  ErrorCode refusal = ErrorCode::Value;
  switch (kind) {
    case ArgKind::Reference:
      ok = it.kind == Item::Area;
      break;
    case ArgKind::Range:
      ok = it.kind == Item::Area || it.kind == Item::Arr;
      break;
    case ArgKind::Table:
      ok = it.kind == Item::Area || it.kind == Item::Arr;
      refusal = ErrorCode::NA;
      break;
    case ArgKind::TableOrValue:
      ok = it.kind == Item::Area || it.kind == Item::Arr ||
           (it.kind == Item::Val && !it.v.isError());
      refusal = ErrorCode::NA;
      break;
    default:
      ok = true;
      break;
  }
  if (ok) return true;
  err = it.kind == Item::Val && it.v.isError() ? it.v.error() : refusal;
  return false;
}

}  // namespace

bool BuiltinArgs::prepare(const BuiltinFunction& f, Item& result) {
  const int prepared = std::max<int>(mCount, f.ruleCount);
  if (prepared > kInlineSlots) mMore.resize(static_cast<size_t>(prepared - kInlineSlots));
  for (int i = 0; i < prepared; ++i) {
    const ArgRule& rule = f.rule(i);
    Slot& s = slot(i);
    const bool given = i < mCount;
    if (!given || (rule.omitted == Omitted::Default && mItems[i].kind == Item::Missing)) {
      s.number = rule.dflt;
      continue;
    }
    s.present = true;
    const Item& it = mItems[i];
    ErrorCode err = ErrorCode::Value;
    bool ok = true;
    switch (rule.kind) {
      case ArgKind::Number:
        ok = readNumber(ctx, it, s.number, err);
        break;
      case ArgKind::Integer:
        ok = readNumber(ctx, it, s.number, err);
        s.number = clampToInteger(s.number);
        break;
      case ArgKind::Boolean: {
        bool b = false;
        ok = toBool(ctx.scalar(it), b, err);
        s.number = b ? 1 : 0;
        break;
      }
      case ArgKind::Text:
      case ArgKind::Scalar: {
        Value v = ctx.scalar(it);
        if (v.isError()) {
          err = v.error();
          ok = false;
        } else {
          s.value = rule.kind == ArgKind::Text ? Value::text(toText(v)) : std::move(v);
        }
        break;
      }
      case ArgKind::Reference:
      case ArgKind::Range:
      case ArgKind::Table:
      case ArgKind::TableOrValue:
        ok = takesShape(rule.kind, it, err);
        break;
      case ArgKind::Any:
        break;
    }
    if (!ok) {
      fn::setError(result, err);
      return false;
    }
  }
  return true;
}

void callBuiltin(const BuiltinFunction& f, EvalContext& ctx, Item* args, int argc, Item& result) {
  if (argc < f.minArgs || argc > f.maxArgs) return fn::setError(result, ErrorCode::Value);
  switch (f.family) {
    case BuiltinFamily::Unary: {
      double x;
      ErrorCode err;
      if (!readNumber(ctx, args[0], x, err)) return fn::setError(result, err);
      return fn::set(result, f.unary(x));
    }
    case BuiltinFamily::Binary: {
      double x, y = f.rules[1].dflt;
      ErrorCode err;
      if (!readNumber(ctx, args[0], x, err)) return fn::setError(result, err);
      const bool second =
          argc > 1 && !(f.rules[1].omitted == Omitted::Default && args[1].kind == Item::Missing);
      if (second && !readNumber(ctx, args[1], y, err)) return fn::setError(result, err);
      return fn::set(result, f.binary(x, y));
    }
    case BuiltinFamily::Numbers: {
      std::vector<double> numbers;
      if (!fn::collectNumbers(ctx, args, argc, numbers, result)) return;
      return fn::set(result, f.numbers(numbers));
    }
    case BuiltinFamily::Logicals: {
      std::vector<bool> values;
      if (!fn::collectLogicals(ctx, args, argc, values, result)) return;
      return fn::set(result, f.logicals(values));
    }
    case BuiltinFamily::General: {
      BuiltinArgs prepared(ctx, args, argc);
      if (!prepared.prepare(f, result)) return;
      return f.general(prepared, result);
    }
  }
}

// ---- the registry -----------------------------------------------------------

namespace {

struct Registry {
  std::vector<const BuiltinFunction*> all;  // by name
  std::unordered_map<std::string_view, int> index;

  Registry() {
    for (auto table : {mathFunctions(), aggregateFunctions(), logicFunctions(), textFunctions(),
                       lookupFunctions()})
      for (const BuiltinFunction& f : table) all.push_back(&f);
    std::sort(all.begin(), all.end(), [](const BuiltinFunction* a, const BuiltinFunction* b) {
      return std::string_view(a->name) < b->name;
    });
    for (int i = 0; i < static_cast<int>(all.size()); ++i) {
      [[maybe_unused]] bool added = index.emplace(all[i]->name, i).second;
      assert(added && "a built-in function is in two family tables");
    }
  }
};

const Registry& registry() {
  static const Registry r;
  return r;
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
  const auto& idx = registry().index;
  auto it = idx.find(upper);
  return it == idx.end() ? -1 : it->second;
}

const BuiltinFunction& builtinAt(int index) { return *registry().all[static_cast<size_t>(index)]; }
int builtinCount() { return static_cast<int>(registry().all.size()); }

}  // namespace krv::sheet
