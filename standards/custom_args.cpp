// How the standards functions read their arguments and write their results.
#include "standards/custom_args.h"

#include <climits>
#include <cmath>

#include "platform/core/global_str.h"

namespace krv::standards {

bool beginCall(FunctionValue& result, const FunctionValue* args, std::int16_t count, int minimum) {
  result.setEmpty();
  return count >= minimum && (count == 0 || args != nullptr);
}

bool argNumber(const FunctionValue& arg, double& value) {
  if (arg.status != FunctionValue::Status::Ok) return false;
  if (arg.type == FunctionValue::Type::Long) {
    value = static_cast<double>(arg.longValue);
    return true;
  }
  if (arg.type == FunctionValue::Type::Double) {
    value = arg.doubleValue;
    return true;
  }
  return false;
}

bool argText(const FunctionValue& arg, Krv_String& text) {
  if (arg.status != FunctionValue::Status::Ok || arg.type != FunctionValue::Type::String)
    return false;
  if (!getGlobalStr(arg.stringHandle, text)) return false;
  if (text.startsWith(L"\"")) text = text.substr(1);
  if (text.endsWith(L"\"")) text = text.left(text.length() - 1);
  return true;
}

int truncatedIndex(double value) {
  if (std::isnan(value)) return -INT_MAX;
  const double t = std::trunc(value);
  if (t <= static_cast<double>(-INT_MAX)) return -INT_MAX;
  if (t >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(t);
}

bool setNumberResult(FunctionValue& result, double value) {
  result.setDouble(value);
  return true;
}

bool setTextResult(FunctionValue& result, const Krv_String& text) {
  if (text.isEmpty()) {
    result.setEmpty();
    return true;
  }
  const std::uint32_t handle = setGlobalStr(text);
  if (handle == 0) return false;
  result.status = FunctionValue::Status::Ok;
  result.type = FunctionValue::Type::String;
  result.stringHandle = handle;
  return true;
}

}  // namespace krv::standards
