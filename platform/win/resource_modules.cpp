#include "platform/win/resource_modules.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/base/utf.h"
#include "platform/win/string_items.h"

namespace krv::win {
namespace {

struct IconEntry {
  HINSTANCE instance;
  UINT id;
};

struct Modules {
  std::map<HINSTANCE, std::unique_ptr<ResourceModule>> modules;
  std::vector<std::unique_ptr<HINSTANCE__>> handles;
  std::vector<std::unique_ptr<IconEntry>> icons;
  HINSTANCE application = nullptr;
  HINSTANCE current = nullptr;
  base::Status lastError;
  Modules() {
    handles.push_back(std::make_unique<HINSTANCE__>());
    application = handles.back().get();
    current = application;
  }
};

Modules& modules() {
  static Modules m;
  return m;
}

std::vector<CDynLinkLibrary*>& chain() {
  static std::vector<CDynLinkLibrary*> links;
  return links;
}

bool has(const ResourceModule& module, UINT id, ResourceKind kind) {
  switch (kind) {
    case ResourceKind::DialogTemplate:
      return module.hasDialogTemplate(id);
    case ResourceKind::Bitmap:
      return !module.bitmapPath(id).empty();
    case ResourceKind::Icon:
      return !module.iconPath(id).empty();
    case ResourceKind::String:
      return module.string(id).has_value();
  }
  return false;
}

}  // namespace

std::filesystem::path ResourceModule::templatePath(UINT id) const {
  auto it = mTemplates.find(id);
  return it != mTemplates.end() ? it->second
                                : mFolder / "templates" / (std::to_string(id) + ".json");
}

bool ResourceModule::hasDialogTemplate(UINT id) const {
  std::error_code ec;
  return std::filesystem::is_regular_file(templatePath(id), ec);
}

base::Result<DialogTemplate> ResourceModule::dialogTemplate(UINT id) const {
  const std::filesystem::path file = templatePath(id);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec))
    return base::Status::error("no dialog template " + std::to_string(id) + " in module " +
                               base::toUtf8(mName));
  base::Result<DialogTemplate> t = DialogTemplate::load(file);
  if (t && t->id != id)
    return base::Status::fileError(
        file.filename(), "holds template " + std::to_string(t->id) + ", not " + std::to_string(id));
  return t;
}

std::filesystem::path ResourceModule::bitmapPath(UINT id) const {
  auto p = mFolder / "bitmaps" / (std::to_string(id) + ".bmp");
  std::error_code ec;
  return std::filesystem::is_regular_file(p, ec) ? p : std::filesystem::path();
}

std::filesystem::path ResourceModule::iconPath(UINT id) const {
  auto p = mFolder / "icons" / (std::to_string(id) + ".ico");
  std::error_code ec;
  return std::filesystem::is_regular_file(p, ec) ? p : std::filesystem::path();
}

std::optional<std::wstring> ResourceModule::string(UINT id) const {
  auto it = mStrings.find(id);
  if (it == mStrings.end()) return std::nullopt;
  return it->second;
}

HINSTANCE ResourceModules::add(std::wstring name, std::filesystem::path folder) {
  auto& m = modules();
  m.handles.push_back(std::make_unique<HINSTANCE__>());
  HINSTANCE h = m.handles.back().get();
  m.modules[h] = std::make_unique<ResourceModule>(std::move(name), std::move(folder));
  return h;
}

bool ResourceModules::remove(HINSTANCE instance) {
  auto& m = modules();
  if (!m.modules.erase(instance)) return false;
  if (m.current == instance) m.current = m.application;
  return true;
}

ResourceModule* ResourceModules::find(HINSTANCE instance) {
  auto& m = modules();
  auto it = m.modules.find(instance);
  return it == m.modules.end() ? nullptr : it->second.get();
}

ResourceModule* ResourceModules::current() { return find(modules().current); }

ResourceModule* ResourceModules::holding(UINT id, ResourceKind kind) {
  return find(AfxFindResourceHandle(id, kind));
}

HICON ResourceModules::loadIcon(UINT id) {
  return LoadIcon(AfxFindResourceHandle(id, ResourceKind::Icon), id);
}

bool ResourceModules::iconSource(HICON icon, HINSTANCE& instance, UINT& id) {
  for (const auto& e : modules().icons)
    if (reinterpret_cast<HICON>(e.get()) == icon) {
      instance = e->instance;
      id = e->id;
      return true;
    }
  return false;
}

const base::Status& lastResourceError() { return modules().lastError; }
void setLastResourceError(base::Status error) { modules().lastError = std::move(error); }

std::vector<HMODULE> resourceChain() {
  std::vector<HMODULE> links;
  for (const CDynLinkLibrary* link : chain()) links.push_back(link->m_hResource);
  return links;
}

}  // namespace krv::win

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE instance) {
  if (state.bInitialized) return TRUE;
  if (!instance) return FALSE;
  const krv::win::ResourceModule* module = krv::win::ResourceModules::find(instance);
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
  for (CDynLinkLibrary* link : krv::win::chain())
    if (link->m_pState == &state) mine.push_back(link);
  for (CDynLinkLibrary* link : mine) delete link;
  state = AFX_EXTENSION_MODULE{};
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_pState(&state) {
  krv::win::chain().push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
  auto& links = krv::win::chain();
  links.erase(std::remove(links.begin(), links.end(), this), links.end());
}

HINSTANCE AfxFindResourceHandle(UINT id, krv::win::ResourceKind kind) {
  auto holds = [&](HINSTANCE instance) {
    const krv::win::ResourceModule* module = krv::win::ResourceModules::find(instance);
    return module && krv::win::has(*module, id, kind);
  };
  if (const HINSTANCE now = AfxGetResourceHandle(); holds(now)) return now;
  for (const CDynLinkLibrary* link : krv::win::chain())
    if (holds(link->m_hResource)) return link->m_hResource;
  return nullptr;
}

HINSTANCE AfxGetResourceHandle() { return krv::win::modules().current; }
void AfxSetResourceHandle(HINSTANCE instance) {
  if (instance) krv::win::modules().current = instance;
}
HINSTANCE AfxGetInstanceHandle() { return krv::win::modules().application; }

HICON LoadIcon(HINSTANCE instance, UINT id) {
  auto& m = krv::win::modules();
  for (const auto& e : m.icons)
    if (e->instance == instance && e->id == id) return reinterpret_cast<HICON>(e.get());
  auto* module = krv::win::ResourceModules::find(instance);
  if (!module || module->iconPath(id).empty()) return nullptr;
  m.icons.push_back(std::make_unique<krv::win::IconEntry>(krv::win::IconEntry{instance, id}));
  return reinterpret_cast<HICON>(m.icons.back().get());
}
