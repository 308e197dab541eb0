// Snapping a value to a standard size within tolerances.
#include "standards/std_value.h"

#include <cmath>

#include "platform/core/c_number_text.h"

namespace krv::standards {
namespace {
// The distance meaning "no candidate yet".
constexpr double kNoCandidate = 999999999;
}  // namespace

bool findStdValue(const Krv_Array<double>& candidates, double down, double up, double value,
                  double& found) {
  const double low = value - down;
  const double high = value + up;
  double lowerDistance = kNoCandidate, upperDistance = kNoCandidate;
  double lower = 0, upper = 0;
  bool hasLower = false, hasUpper = false;
  for (const double candidate : candidates) {
    if (candidate - value <= 0) {
      const double distance = value - candidate;
      if (distance < lowerDistance) {
        lowerDistance = distance;
        lower = candidate;
        hasLower = true;
      }
    } else {
      const double distance = candidate - value;
      if (distance < upperDistance) {
        upperDistance = distance;
        upper = candidate;
        hasUpper = true;
      }
    }
  }
  const bool lowerOk = hasLower && lowerDistance <= down && lower <= high;
  const bool upperOk = hasUpper && upperDistance <= up && upper >= low;
  if (lowerDistance <= upperDistance) {
    if (lowerOk)
      found = lower;
    else if (upperOk)
      found = upper;
    else
      return false;
  } else {
    if (upperOk)
      found = upper;
    else if (lowerOk)
      found = lower;
    else
      return false;
  }
  return true;
}

double roundDownTo(double value, double step) {
  // The rounding ignores the step's sign; so does the step back down.
  step = std::fabs(step);
  const double r = ObjectExportRoundTo(value, step);
  return value < r ? r - step : r;
}

double roundWithinTolerance(double value, double step, double up, double down) {
  const double low = value - down;
  const double high = value + up;
  double v = value;
  if (high < v) v = high;
  if (low > v) v = low;
  // The core's round-up takes the multiple below when v lies within the
  // tolerance above it; that multiple is rd's to offer, and rounding up
  // never goes below v.
  double ru = ObjectExportRoundUp(v, step, up);
  if (ru < v) ru = ObjectExportRoundUp(v, step, 0);
  const double rd = roundDownTo(v, step);
  const double du = ru - value;
  const double dd = value - rd;
  const bool downOk = dd <= down && rd >= low;
  const bool upOk = du <= up && ru <= high;
  if (dd <= du) {
    if (downOk) return rd;
    if (upOk) return ru;
  } else {
    if (upOk) return ru;
    if (downOk) return rd;
  }
  return v;
}

}  // namespace krv::standards
