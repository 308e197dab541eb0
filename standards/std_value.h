#pragma once
#include "platform/core/krv_array.h"

namespace krv::standards {

// Snapping a value to a standard size within tolerances, with a rounding
// fallback. Throughout, low = value - down and high = value + up.

// The standard size for value among candidates (walked in order):
// the nearest candidate at or below the value (the first of equally near
// ones) is acceptable when it lies at most `down` below the value and not
// above high; the nearest candidate above the value is acceptable when it
// lies at most `up` above the value and not below low. The nearer of the
// two is taken when acceptable (on a tie the lower), else the other when
// acceptable. False when neither is.
bool findStdValue(const Krv_Array<double>& candidates, double down, double up, double value,
                  double& found);

// r = ObjectExportRoundTo(value, step); r - |step| when value is below r,
// else r: the multiple of the step at or below the value.
double roundDownTo(double value, double step);

// The value rounded to the step within the tolerances: the value clamped
// into [low, high] (v) is rounded up (ObjectExportRoundUp with the up
// tolerance; the multiple at or above v where that would give one below
// it) and down (roundDownTo); a rounded value is acceptable when it lies
// within its tolerance of the value and within [low, high]. The one nearer
// to the value is taken when acceptable (on a tie the lower), else the
// other when acceptable, else v. So whenever a multiple of the step lies
// in [low, high], the result does too.
double roundWithinTolerance(double value, double step, double up, double down);

}  // namespace krv::standards
