#pragma once
#include <string>

#include "platform/sheet/cell_value.h"

// Conversions between value types as the formula language makes them.
namespace krv::sheet {

// Empty -> 0, booleans -> 1/0, texts that read as numbers -> the number;
// other texts give #VALUE!, an error gives itself. False on failure.
bool toNumber(const Value& v, double& out, ErrorCode& err);
// Numbers in the General format, booleans "TRUE"/"FALSE", empty "".
// Not for errors.
std::string toText(const Value& v);
// Numbers: not 0; texts "TRUE"/"FALSE" (any case); empty: false. Other
// texts give #VALUE!, an error gives itself.
bool toBool(const Value& v, bool& out, ErrorCode& err);
// Orders two non-error values: numbers < texts < booleans; texts without
// regard to case; an empty value is taken as 0, "" or FALSE to match the
// other side. Returns <0, 0, >0.
int compareValues(const Value& a, const Value& b);
// A number result: infinities and NaN become #NUM!, -0 becomes 0.
Value numberResult(double v);

}  // namespace krv::sheet
