#pragma once
// VtTempResourceOverride: switches resource lookup to a module and back.
// SaveDefaultResource remembers the module's instance once; each
// SetDefaultResource makes it current and tells whether it switched (false
// when no module was saved or it is current already); each successful
// switch is undone by one RestoreOriginalResource, innermost first.
#include <vector>

#include "platform/win/win_types.h"

class VtTempResourceOverride {
 public:
  virtual ~VtTempResourceOverride() = default;
  void SaveDefaultResource(HINSTANCE instance) { mDefault = instance; }
  HINSTANCE defaultResource() const { return mDefault; }
  bool SetDefaultResource();
  // Restores the lookup that the last successful switch replaced; false
  // when there is no switch to undo.
  bool RestoreOriginalResource();

 private:
  HINSTANCE mDefault = nullptr;
  std::vector<HINSTANCE> mReplaced;
};
