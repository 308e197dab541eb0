#include "platform/win/resource_modules.h"

#include "platform/win/string_items.h"

#include <memory>
#include <vector>

namespace krv {
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
  std::string lastError;
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

}  // namespace

std::optional<DialogTemplate> ResourceModule::dialogTemplate(UINT id, std::string& error) const {
  auto it = mTemplates.find(id);
  std::filesystem::path file =
      it != mTemplates.end() ? it->second : mFolder / "templates" / (std::to_string(id) + ".json");
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) {
    error = "no dialog template " + std::to_string(id) + " in module " + toUtf8(mName);
    return std::nullopt;
  }
  auto t = DialogTemplate::load(file, error);
  if (t && t->id != id) {
    error = file.filename().string() + ": holds template " + std::to_string(t->id) + ", not " +
            std::to_string(id);
    return std::nullopt;
  }
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

HICON ResourceModules::loadIcon(UINT id) { return LoadIcon(AfxGetResourceHandle(), id); }

bool ResourceModules::iconSource(HICON icon, HINSTANCE& instance, UINT& id) {
  for (const auto& e : modules().icons)
    if (reinterpret_cast<HICON>(e.get()) == icon) {
      instance = e->instance;
      id = e->id;
      return true;
    }
  return false;
}

const std::string& lastResourceError() { return modules().lastError; }
void setLastResourceError(std::string error) { modules().lastError = std::move(error); }

}  // namespace krv

HINSTANCE AfxGetResourceHandle() { return krv::modules().current; }
void AfxSetResourceHandle(HINSTANCE instance) {
  if (instance) krv::modules().current = instance;
}
HINSTANCE AfxGetInstanceHandle() { return krv::modules().application; }

HICON LoadIcon(HINSTANCE instance, UINT id) {
  auto& m = krv::modules();
  for (const auto& e : m.icons)
    if (e->instance == instance && e->id == id) return reinterpret_cast<HICON>(e.get());
  auto* module = krv::ResourceModules::find(instance);
  if (!module || module->iconPath(id).empty()) return nullptr;
  m.icons.push_back(std::make_unique<krv::IconEntry>(krv::IconEntry{instance, id}));
  return reinterpret_cast<HICON>(m.icons.back().get());
}
