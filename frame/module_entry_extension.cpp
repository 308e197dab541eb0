#include "frame/module_entry_extension.h"

#include <algorithm>
#include <filesystem>

#include "platform/win/resource_modules.h"

namespace {

std::vector<CDynLinkLibrary*>& chain() {
  static std::vector<CDynLinkLibrary*> links;
  return links;
}

bool hasResource(HINSTANCE instance, UINT id, krv::ResourceKind kind) {
  const krv::ResourceModule* module = krv::ResourceModules::find(instance);
  if (!module) return false;
  if (kind == krv::ResourceKind::Bitmap) return !module->bitmapPath(id).empty();
  std::string error;
  return module->dialogTemplate(id, error).has_value();
}

}  // namespace

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE instance) {
  if (state.bInitialized) return TRUE;
  if (!instance) return FALSE;
  const krv::ResourceModule* module = krv::ResourceModules::find(instance);
  if (!module) return FALSE;
  std::error_code ec;
  if (!std::filesystem::is_directory(module->folder(), ec)) return FALSE;
  state.hModule = instance;
  state.hResource = instance;
  state.bInitialized = TRUE;
  return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL) {
  std::vector<CDynLinkLibrary*> mine;
  for (CDynLinkLibrary* link : chain())
    if (link->m_pState == &state) mine.push_back(link);
  for (CDynLinkLibrary* link : mine) delete link;
  state = AFX_EXTENSION_MODULE{};
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_pState(&state) {
  chain().push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
  auto& links = chain();
  links.erase(std::remove(links.begin(), links.end(), this), links.end());
}

namespace krv {

std::vector<HMODULE> resourceChain() {
  std::vector<HMODULE> modules;
  for (const CDynLinkLibrary* link : chain()) modules.push_back(link->m_hResource);
  return modules;
}

}  // namespace krv

HINSTANCE AfxFindResourceHandle(UINT id, krv::ResourceKind kind) {
  const HINSTANCE current = AfxGetResourceHandle();
  if (hasResource(current, id, kind)) return current;
  for (const CDynLinkLibrary* link : chain())
    if (hasResource(link->m_hResource, id, kind)) return link->m_hResource;
  return nullptr;
}
