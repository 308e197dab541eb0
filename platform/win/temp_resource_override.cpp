#include "platform/win/temp_resource_override.h"

#include "platform/win/resource_modules.h"

bool VtTempResourceOverride::SetDefaultResource() {
  HINSTANCE now = AfxGetResourceHandle();
  if (!mDefault || now == mDefault) return false;
  mReplaced.push_back(now);
  AfxSetResourceHandle(mDefault);
  return true;
}

bool VtTempResourceOverride::RestoreOriginalResource() {
  if (mReplaced.empty()) return false;
  AfxSetResourceHandle(mReplaced.back());
  mReplaced.pop_back();
  return true;
}
