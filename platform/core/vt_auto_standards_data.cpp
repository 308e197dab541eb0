#include "platform/core/vt_auto_standards_data.h"

namespace {
bool sameTexts(const Krv_StringArray& a, const Krv_StringArray& b) {
  if (a.length() != b.length()) return false;
  for (int i = 0; i < a.length(); ++i)
    if (!(a[i] == b[i])) return false;
  return true;
}
}  // namespace

bool VtAutoStandardsData::operator==(const VtAutoStandardsData& o) const {
  return sameTexts(mDwgGenVars, o.mDwgGenVars) && sameTexts(mDwgGenValues, o.mDwgGenValues) &&
         sameTexts(mDwgGenFilters, o.mDwgGenFilters) && sameTexts(mStdGenVars, o.mStdGenVars) &&
         sameTexts(mStdGenValues, o.mStdGenValues) &&
         sameTexts(mStdGenOverrides, o.mStdGenOverrides) &&
         sameTexts(mStdGenFilters, o.mStdGenFilters);
}
