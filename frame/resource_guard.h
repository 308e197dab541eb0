#pragma once
// The resource switch around every dialog of this module.
//
// The module keeps one VtTempResourceOverride. The module entry gives it the
// module's instance handle once at load (SaveDefaultResource); from then on
// every launch function holds a ResourceGuard while its dialog lives, so that
// templates, bitmaps and menus are looked up in this module and the host's
// lookup comes back on every exit path, exceptions included.
#include "platform/win/temp_resource_override.h"

namespace krv::frame {

// The module-wide resource override (created on first use, so that the
// module entry may reach it while static objects are still being built).
VtTempResourceOverride& moduleResourceOverride();

// Switches resource lookup to this module for its lifetime. It remembers
// whether the switch happened (not when no module was saved, or this module
// is current already, as in a nested launch) and undoes only a switch that
// happened.
class ResourceGuard {
 public:
  ResourceGuard();
  explicit ResourceGuard(VtTempResourceOverride& override);
  ~ResourceGuard();
  ResourceGuard(const ResourceGuard&) = delete;
  ResourceGuard& operator=(const ResourceGuard&) = delete;

  bool switched() const { return mSwitched; }

 private:
  VtTempResourceOverride& mOverride;
  bool mSwitched;
};

}  // namespace krv::frame
