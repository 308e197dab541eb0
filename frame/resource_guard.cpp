// The resource switch around every dialog of this module.
#include "frame/resource_guard.h"

namespace krv::frame {

VtTempResourceOverride& moduleResourceOverride() {
  static VtTempResourceOverride override;
  return override;
}

ResourceGuard::ResourceGuard() : ResourceGuard(moduleResourceOverride()) {}

ResourceGuard::ResourceGuard(VtTempResourceOverride& override)
    : mOverride(override), mSwitched(override.SetDefaultResource()) {}

ResourceGuard::~ResourceGuard() {
  if (mSwitched) mOverride.RestoreOriginalResource();
}

}  // namespace krv::frame
