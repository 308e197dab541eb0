#include "platform/sheet/value_coercion.h"

#include <cmath>

#include "platform/sheet/formula_number_text.h"
#include "platform/sheet/text_utils.h"

namespace krv::sheet {

bool toNumber(const Value& v, double& out, ErrorCode& err) {
  switch (v.type()) {
    case ValueType::Number:
      out = v.number();
      return true;
    case ValueType::Bool:
      out = v.boolean() ? 1 : 0;
      return true;
    case ValueType::Empty:
      out = 0;
      return true;
    case ValueType::Error:
      err = v.error();
      return false;
    case ValueType::Text: {
      auto n = parseNumberText(v.text());
      if (!n) {
        err = ErrorCode::Value;
        return false;
      }
      out = *n;
      return true;
    }
  }
  err = ErrorCode::Value;
  return false;
}

std::string toText(const Value& v) {
  switch (v.type()) {
    case ValueType::Number:
      return formatGeneral(v.number());
    case ValueType::Bool:
      return v.boolean() ? "TRUE" : "FALSE";
    case ValueType::Text:
      return v.text();
    case ValueType::Error:
      return errorText(v.error());
    case ValueType::Empty:
      return {};
  }
  return {};
}

bool toBool(const Value& v, bool& out, ErrorCode& err) {
  switch (v.type()) {
    case ValueType::Number:
    case ValueType::Bool:
      out = v.number() != 0;
      return true;
    case ValueType::Empty:
      out = false;
      return true;
    case ValueType::Error:
      err = v.error();
      return false;
    case ValueType::Text:
      if (equalNoCase(v.text(), "TRUE")) {
        out = true;
        return true;
      }
      if (equalNoCase(v.text(), "FALSE")) {
        out = false;
        return true;
      }
      err = ErrorCode::Value;
      return false;
  }
  return false;
}

namespace {
int rank(ValueType t) { return t == ValueType::Number ? 0 : t == ValueType::Text ? 1 : 2; }
}  // namespace

int compareValues(const Value& a, const Value& b) {
  ValueType ta = a.type(), tb = b.type();
  if (ta == ValueType::Empty && tb == ValueType::Empty) return 0;
  if (ta == ValueType::Empty) {
    if (tb == ValueType::Text) return b.text().empty() ? 0 : -1;
    if (tb == ValueType::Bool) return b.boolean() ? -1 : 0;
    return 0 < b.number() ? -1 : (0 > b.number() ? 1 : 0);
  }
  if (tb == ValueType::Empty) return -compareValues(b, a);
  if (rank(ta) != rank(tb)) return rank(ta) < rank(tb) ? -1 : 1;
  if (ta == ValueType::Text) return compareNoCase(a.text(), b.text());
  double x = a.number(), y = b.number();
  if (x == y) return 0;
  // Numbers equal in their 15-digit display compare equal (0.1+0.2 = 0.3).
  if (std::fabs(x - y) <= std::fmax(std::fabs(x), std::fabs(y)) * 3.6e-15) return 0;
  return x < y ? -1 : 1;
}

Value numberResult(double v) {
  if (!std::isfinite(v)) return Value::error(ErrorCode::Num);
  return Value::number(v == 0 ? 0.0 : v);
}

}  // namespace krv::sheet
