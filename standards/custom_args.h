#pragma once
#include <cstdint>

#include "platform/core/krv_string.h"
#include "platform/sheet/custom_function.h"

// The calling convention shared by the standards functions: how argument
// records are read and results written.
namespace krv::standards {

using sheet::FunctionValue;

// Sets the result to status empty (type long) and tells whether at least
// `minimum` arguments were given.
bool beginCall(FunctionValue& result, const FunctionValue* args, std::int16_t count, int minimum);

// A number argument: an ok record of type long (taken as a double) or
// double. False for anything else.
bool argNumber(const FunctionValue& arg, double& value);
// A text argument: an ok record of type string whose handle can be read;
// one leading and one trailing double quote are removed. False for
// anything else.
bool argText(const FunctionValue& arg, Krv_String& text);
// A number as an integer position: truncated towards zero and clamped to
// -INT_MAX .. INT_MAX, so that it can be decreased by one (NaN gives
// -INT_MAX).
int truncatedIndex(double value);

// A number result: an ok record of type double. Always true.
bool setNumberResult(FunctionValue& result, double value);
// A text result: an ok record of type string; an empty text gives status
// empty. False when no string handle can be made.
bool setTextResult(FunctionValue& result, const Krv_String& text);

}  // namespace krv::standards
