#pragma once
// The framework's record of an extension library: a module whose resources
// join the host's resource chain, so that templates and bitmaps the current
// module lacks are still found in it.
//
// AfxInitExtensionModule fills the record for a module instance; the
// module then creates one CDynLinkLibrary for it, which links the module
// into the chain until AfxTermExtensionModule takes it out again.
#include <vector>

#include "platform/win/win_types.h"

struct AFX_EXTENSION_MODULE {
  BOOL bInitialized = FALSE;
  HMODULE hModule = nullptr;
  HMODULE hResource = nullptr;
};

// Initialises `state` for the module `instance`. FALSE when the instance is
// null or not a loaded resource module, or when the module's resource
// folder does not exist (its dialogs could not be shown). TRUE at once when
// the record is initialised already.
BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE instance);
// Deletes every CDynLinkLibrary of the record (taking the module out of the
// chain) and clears the record.
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all = FALSE);

// A link of the resource chain. Created with new after a successful
// AfxInitExtensionModule; AfxTermExtensionModule deletes it.
class CDynLinkLibrary {
 public:
  explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state);
  virtual ~CDynLinkLibrary();
  CDynLinkLibrary(const CDynLinkLibrary&) = delete;
  CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

  HMODULE m_hModule;
  HMODULE m_hResource;
  const AFX_EXTENSION_MODULE* m_pState;
};

namespace krv {

// The modules of the resource chain, in the order they joined.
std::vector<HMODULE> resourceChain();

enum class ResourceKind { DialogTemplate, Bitmap };

}  // namespace krv

// The module that holds resource `id`: the current resource module when it
// has it, else the first module of the chain that has it; null when none.
HINSTANCE AfxFindResourceHandle(UINT id, krv::ResourceKind kind);
