// Runs compiled formulas on a stack: operators, references, the calls of
// built-in and custom functions, and the jumps of IF and IFERROR.
#include "platform/sheet/evaluator.h"

#include <cmath>

#include "platform/sheet/builtin_functions.h"
#include "platform/sheet/custom_function.h"
#include "platform/sheet/text_utils.h"
#include "platform/sheet/value_coercion.h"

namespace krv::sheet {

namespace {

const Value kRefError = Value::error(ErrorCode::Ref);

bool areaInside(const EvalContext& ctx, int32_t c1, int32_t r1, int32_t c2, int32_t r2) {
  return c1 >= 1 && r1 >= 1 && c2 <= ctx.maxCols && r2 <= ctx.maxRows;
}

}  // namespace

const Value& EvalContext::cellOf(const Item& item, int32_t r, int32_t c) const {
  if (item.kind == Item::Arr) return item.arr->at(r, c);
  if (item.kind == Item::Area) return grid.value(item.c1 + c, item.r1 + r);
  return item.v;
}

Value EvalContext::scalar(const Item& item) const {
  switch (item.kind) {
    case Item::Val:
      return item.v;
    case Item::Missing:
      return Value();
    case Item::Arr:
      return item.arr->values.empty() ? Value() : item.arr->values[0];
    case Item::Area:
      if (item.c1 == item.c2 && item.r1 == item.r2) return grid.value(item.c1, item.r1);
      // Implicit intersection with the formula's own row or column.
      if (item.c1 == item.c2 && hostRow >= item.r1 && hostRow <= item.r2)
        return grid.value(item.c1, hostRow);
      if (item.r1 == item.r2 && hostCol >= item.c1 && hostCol <= item.c2)
        return grid.value(hostCol, item.r1);
      return Value::error(ErrorCode::Value);
  }
  return Value();
}

namespace {

Value unaryOp(Op op, const Value& a) {
  double x;
  ErrorCode e = ErrorCode::Value;
  if (op == Op::Plus) return a;  // unary plus leaves the value as it is
  if (!toNumber(a, x, e)) return Value::error(e);
  if (op == Op::Neg) return numberResult(-x);
  return numberResult(x / 100.0);
}

Value binaryOp(Op op, const Value& a, const Value& b) {
  if (a.isError()) return a;
  if (b.isError()) return b;
  switch (op) {
    case Op::Concat: {
      std::string t = toText(a);
      t += toText(b);
      if (t.size() > kMaxTextBytes && charCount(t) > kMaxTextChars)
        return Value::error(ErrorCode::Value);
      return Value::text(std::move(t));
    }
    case Op::Eq:
      return Value::boolean(compareValues(a, b) == 0);
    case Op::Ne:
      return Value::boolean(compareValues(a, b) != 0);
    case Op::Lt:
      return Value::boolean(compareValues(a, b) < 0);
    case Op::Le:
      return Value::boolean(compareValues(a, b) <= 0);
    case Op::Gt:
      return Value::boolean(compareValues(a, b) > 0);
    case Op::Ge:
      return Value::boolean(compareValues(a, b) >= 0);
    default:
      break;
  }
  double x, y;
  ErrorCode e = ErrorCode::Value;
  if (!toNumber(a, x, e) || !toNumber(b, y, e)) return Value::error(e);
  switch (op) {
    case Op::Add:
      return numberResult(x + y);
    case Op::Sub:
      return numberResult(x - y);
    case Op::Mul:
      return numberResult(x * y);
    case Op::Div:
      if (y == 0) return Value::error(ErrorCode::Div0);
      return numberResult(x / y);
    case Op::Pow:
      if (x == 0 && y == 0) return Value::error(ErrorCode::Num);
      if (x == 0 && y < 0) return Value::error(ErrorCode::Div0);
      return numberResult(std::pow(x, y));
    default:
      return Value::error(ErrorCode::Value);
  }
}

// Treats an item as a matrix for element-wise operators.
bool isMulti(const Item& i, bool arrayContext) {
  if (i.kind == Item::Arr) return true;
  return arrayContext && i.kind == Item::Area && !i.isSingleCell();
}

const size_t kMaxArrayCells = 4u << 20;

Item elementWise(const EvalContext& ctx, Op op, const Item& a, const Item* b, bool arrayContext) {
  auto dims = [&](const Item& i, int32_t& r, int32_t& c) {
    if (isMulti(i, arrayContext)) {
      r = i.rows();
      c = i.cols();
    } else {
      r = c = 1;
    }
  };
  int32_t ra, ca, rb = 1, cb = 1;
  dims(a, ra, ca);
  if (b) dims(*b, rb, cb);
  int32_t rows = ra > rb ? ra : rb, cols = ca > cb ? ca : cb;
  if (static_cast<size_t>(rows) * cols > kMaxArrayCells)
    return Item::value(Value::error(ErrorCode::Num));
  Value sa = isMulti(a, arrayContext) ? Value() : ctx.scalar(a);
  Value sb = (b && !isMulti(*b, arrayContext)) ? ctx.scalar(*b) : Value();
  auto m = std::make_shared<Matrix>();
  m->rows = rows;
  m->cols = cols;
  m->values.reserve(static_cast<size_t>(rows) * cols);
  auto pick = [&](const Item& i, const Value& s, int32_t ri, int32_t ci, int32_t r,
                  int32_t c) -> Value {
    if (!isMulti(i, arrayContext)) return s;
    if (ri == 1) r = 0;
    if (ci == 1) c = 0;
    if (r >= ri || c >= ci) return Value::error(ErrorCode::NA);
    return ctx.cellOf(i, r, c);
  };
  for (int32_t r = 0; r < rows; ++r)
    for (int32_t c = 0; c < cols; ++c) {
      Value x = pick(a, sa, ra, ca, r, c);
      if (b)
        m->values.push_back(binaryOp(op, x, pick(*b, sb, rb, cb, r, c)));
      else
        m->values.push_back(unaryOp(op, x));
    }
  return Item::array(std::move(m));
}

Item intersect(const Item& a, const Item& b) {
  if (a.kind == Item::Val && a.v.isError()) return a;
  if (b.kind == Item::Val && b.v.isError()) return b;
  if (a.kind != Item::Area || b.kind != Item::Area)
    return Item::value(Value::error(ErrorCode::Value));
  int32_t c1 = std::max(a.c1, b.c1), r1 = std::max(a.r1, b.r1);
  int32_t c2 = std::min(a.c2, b.c2), r2 = std::min(a.r2, b.r2);
  if (c1 > c2 || r1 > r2) return Item::value(Value::error(ErrorCode::Null));
  return Item::area(c1, r1, c2, r2);
}

// Converts one argument for a custom function's callback.
FunctionValue toRecord(const EvalContext& ctx, const Item& item, uint32_t flags,
                       std::vector<uint32_t>& handles) {
  FunctionValue r;
  if (item.kind == Item::Area && (!item.isSingleCell() || (flags & kCustomRefsAsCells))) {
    r.status = FunctionValue::Status::Ok;
    r.col = item.c1;
    r.row = item.r1;
    if (item.isSingleCell()) {
      r.type = FunctionValue::Type::Cell;
    } else {
      r.type = FunctionValue::Type::Range;
      r.col2 = item.c2;
      r.row2 = item.r2;
    }
    return r;
  }
  if (item.kind == Item::Missing) return r;
  Value v = ctx.scalar(item);
  switch (v.type()) {
    case ValueType::Empty:
      break;
    case ValueType::Number:
      r.setDouble(v.number());
      break;
    case ValueType::Bool:
      r.setLong(v.boolean() ? 1 : 0);
      break;
    case ValueType::Text:
      if (r.setString(v.text()))
        handles.push_back(r.stringHandle);
      else
        r.status = FunctionValue::Status::Error;
      break;
    case ValueType::Error:
      r.status = FunctionValue::Status::Error;
      r.errorCode = static_cast<uint8_t>(v.error());
      break;
  }
  return r;
}

Value fromRecord(const EvalContext& ctx, const FunctionValue& r) {
  switch (r.status) {
    case FunctionValue::Status::Empty:
      return Value();
    case FunctionValue::Status::Error:
      if (r.errorCode >= 1 && r.errorCode <= static_cast<uint8_t>(ErrorCode::NA))
        return Value::error(static_cast<ErrorCode>(r.errorCode));
      return Value::error(ErrorCode::Value);
    case FunctionValue::Status::Ok:
      break;
  }
  switch (r.type) {
    case FunctionValue::Type::Long:
      return Value::number(static_cast<double>(r.longValue));
    case FunctionValue::Type::Double:
      return numberResult(r.doubleValue);
    case FunctionValue::Type::String: {
      auto t = StringHandles::global().get(r.stringHandle);
      StringHandles::global().release(r.stringHandle);
      if (!t) return Value::error(ErrorCode::Value);
      return Value::text(std::move(*t));
    }
    case FunctionValue::Type::Cell:
      if (r.col < 1 || r.row < 1 || r.col > ctx.maxCols || r.row > ctx.maxRows)
        return Value::error(ErrorCode::Ref);
      return ctx.grid.value(r.col, r.row);
    case FunctionValue::Type::Range:
      return Value::error(ErrorCode::Value);
  }
  return Value::error(ErrorCode::Value);
}

// Runs a custom function of the document on the arguments: #NAME? when the
// document has none of that name, #VALUE! for a wrong number of arguments
// or when the callback fails (which also sets ctx.customFailed).
Value callCustomFunction(EvalContext& ctx, const std::string& name, const Item* args, int argc) {
  const CustomFunction* f = ctx.customFunctions ? ctx.customFunctions->find(name) : nullptr;
  if (!f) return Value::error(ErrorCode::Name);
  if (argc < f->minArgs || argc > f->maxArgs) return Value::error(ErrorCode::Value);
  std::vector<uint32_t> handles;
  std::vector<FunctionValue> records;
  records.reserve(static_cast<size_t>(argc));
  for (int i = 0; i < argc; ++i) records.push_back(toRecord(ctx, args[i], f->flags, handles));
  FunctionValue res;
  bool ok = false;
  CustomCallback cb = f->callback;  // the table may change while it runs
  try {
    ok = cb(res, records.data(), static_cast<int16_t>(argc));
  } catch (...) {
    ok = false;
  }
  for (uint32_t h : handles) StringHandles::global().release(h);
  if (!ok) {
    ctx.customFailed = true;
    if (res.status == FunctionValue::Status::Ok && res.type == FunctionValue::Type::String)
      StringHandles::global().release(res.stringHandle);
    return Value::error(ErrorCode::Value);
  }
  return fromRecord(ctx, res);
}

// The item of an area reference: whole columns and rows reach to the
// sheet's end; a reference outside the sheet is #REF!.
Item areaItem(const EvalContext& ctx, const AreaRef& r) {
  int32_t c1 = r.first.col, r1 = r.first.row, c2 = r.last.col, r2 = r.last.row;
  if (r.wholeColumns) r2 = ctx.maxRows;
  if (r.wholeRows) c2 = ctx.maxCols;
  if (!areaInside(ctx, c1, r1, c2, r2)) return Item::value(kRefError);
  return Item::area(c1, r1, c2, r2);
}

// A binary operator: `a` becomes `a op b`.
void binaryStep(const EvalContext& ctx, const Instr& in, Item& a, const Item& b) {
  if (isMulti(a, in.arrayContext) || isMulti(b, in.arrayContext)) {
    a = elementWise(ctx, in.op, a, &b, in.arrayContext);
    return;
  }
  if (a.kind == Item::Val && b.kind == Item::Val && a.v.isNumber() && b.v.isNumber() &&
      in.op <= Op::Div) {
    // Fast path for the most common case: two plain numbers.
    double x = a.v.number(), y = b.v.number();
    switch (in.op) {
      case Op::Add:
        a.v = numberResult(x + y);
        return;
      case Op::Sub:
        a.v = numberResult(x - y);
        return;
      case Op::Mul:
        a.v = numberResult(x * y);
        return;
      default:
        a.v = y == 0 ? Value::error(ErrorCode::Div0) : numberResult(x / y);
        return;
    }
  }
  a = Item::value(binaryOp(in.op, ctx.scalar(a), ctx.scalar(b)));
}

}  // namespace

Value Evaluator::evaluate(const FormulaCode& fc, EvalContext& ctx) {
  const size_t base = mStack.size();
  const Instr* code = fc.code.data();
  const size_t n = fc.code.size();
  size_t pc = 0;
  while (pc < n) {
    const Instr& in = code[pc];
    switch (in.op) {
      case Op::Number:
        mStack.push_back(Item::value(Value::number(fc.numbers[in.a])));
        break;
      case Op::Text:
        mStack.push_back(Item::value(Value::text(fc.texts[in.a])));
        break;
      case Op::Bool:
        mStack.push_back(Item::value(Value::boolean(in.a != 0)));
        break;
      case Op::Error:
        mStack.push_back(Item::value(Value::error(static_cast<ErrorCode>(in.a))));
        break;
      case Op::Missing: {
        Item m;
        m.kind = Item::Missing;
        mStack.push_back(std::move(m));
        break;
      }
      case Op::Area:
        mStack.push_back(areaItem(ctx, fc.areas[in.a]));
        break;
      case Op::Array:
        mStack.push_back(Item::array(fc.arrays[in.a]));
        break;
      case Op::Neg:
      case Op::Plus:
      case Op::Percent: {
        Item& a = mStack.back();
        if (isMulti(a, in.arrayContext))
          a = elementWise(ctx, in.op, a, nullptr, in.arrayContext);
        else
          a = Item::value(unaryOp(in.op, ctx.scalar(a)));
        break;
      }
      case Op::Add:
      case Op::Sub:
      case Op::Mul:
      case Op::Div:
      case Op::Pow:
      case Op::Concat:
      case Op::Eq:
      case Op::Ne:
      case Op::Lt:
      case Op::Le:
      case Op::Gt:
      case Op::Ge:
        binaryStep(ctx, in, mStack[mStack.size() - 2], mStack.back());
        mStack.pop_back();
        break;
      case Op::Intersect: {
        Item& a = mStack[mStack.size() - 2];
        a = intersect(a, mStack.back());
        mStack.pop_back();
        break;
      }
      case Op::Call: {
        size_t first = mStack.size() - in.argc;
        Item result;
        callBuiltin(builtinAt(static_cast<int>(in.a)), ctx, mStack.data() + first, in.argc, result);
        mStack.resize(first);
        mStack.push_back(std::move(result));
        break;
      }
      case Op::CallName: {
        size_t first = mStack.size() - in.argc;
        Value result = callCustomFunction(ctx, fc.texts[in.a], mStack.data() + first, in.argc);
        mStack.resize(first);
        mStack.push_back(Item::value(std::move(result)));
        break;
      }
      case Op::JumpIfNot: {
        // IF's layout, as the parser emits it (Parser::parseLazy in formula_parser.cpp):
        //   condition, JumpIfNot -> else, then-branch, Jump -> end, else: else-branch, end:
        // so the instruction before the else branch is always the Jump to
        // the end, and an error condition skips both branches through it.
        Value c = ctx.scalar(mStack.back());
        mStack.pop_back();
        bool b;
        ErrorCode e = ErrorCode::Value;
        if (!toBool(c, b, e)) {
          mStack.push_back(Item::value(Value::error(e)));
          pc = code[in.a - 1].a;
          continue;
        }
        if (!b) {
          pc = in.a;
          continue;
        }
        break;
      }
      case Op::Jump:
        pc = in.a;
        continue;
      case Op::JumpIfNoError: {
        Item& top = mStack.back();
        Value v = ctx.scalar(top);
        if (!v.isError()) {
          top = Item::value(v.isEmpty() && top.kind != Item::Val ? Value::number(0) : std::move(v));
          pc = in.a;
          continue;
        }
        mStack.pop_back();
        break;
      }
    }
    ++pc;
  }
  Value result;
  if (mStack.size() == base + 1) {
    const Item& top = mStack.back();
    result = ctx.scalar(top);
    if (result.isEmpty() && top.kind != Item::Val) result = Value::number(0);
    if (result.isNumber()) result = numberResult(result.number());
  } else {
    result = Value::error(ErrorCode::Value);
  }
  mStack.resize(base);
  return result;
}

}  // namespace krv::sheet
