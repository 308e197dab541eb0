// The module's life cycle in the host: load, unload, instance and bitmaps.
#include "frame/module_entry.h"

#include <cstdlib>
#include <string>

#include "frame/exported_functions.h"
#include "frame/module_entry_folder.h"
#include "frame/resource_guard.h"
#include "platform/acad/command_line.h"
#include "platform/core/krv_string.h"
#include "platform/win/resource_modules.h"

#ifndef KRV_RESOURCES_DIR
#define KRV_RESOURCES_DIR "resources"
#endif

namespace krv::frame {
namespace {

struct ModuleState {
  HINSTANCE instance = nullptr;
  AFX_EXTENSION_MODULE extension;
  CBitmap bitmapA;
  CBitmap bitmapB;
  CBitmap none;
};

// Created on first use: the load hook may run before other static objects
// of the library are built.
ModuleState& state() {
  static ModuleState s;
  return s;
}

void loadBitmap(CBitmap& bitmap, UINT id) {
  bitmap.DeleteObject();
  const krv::win::ResourceModule* module = krv::win::ResourceModules::find(state().instance);
  const std::filesystem::path file = module ? module->bitmapPath(id) : std::filesystem::path();
  const krv::base::Status loaded =
      file.empty() ? krv::base::Status::error("no such bitmap in the module's resources")
                   : bitmap.loadFile(file);
  if (loaded) return;
  acutPrintf(L"\nBitmap %d of %s not loaded: %s\n", static_cast<int>(id), kModuleName,
             Krv_String(loaded.text()).c_str());
}

template <typename T>
T* sysRegistryService(const wchar_t* name) {
  AcRxDictionary* registry = acrxSysRegistry();
  return registry ? dynamic_cast<T*>(registry->at(name)) : nullptr;
}

}  // namespace

HINSTANCE moduleInstance() { return state().instance; }

const CBitmap& moduleBitmap(UINT id) {
  if (id == kCellButtonBitmapA) return state().bitmapA;
  if (id == kCellButtonBitmapB) return state().bitmapB;
  return state().none;
}

std::filesystem::path moduleResourceFolder() {
  if (const char* env = std::getenv("KRV_RESOURCES_DIR"); env && *env) return env;
  std::error_code ec;
  const std::filesystem::path folder = moduleFolder();
  if (!folder.empty() && std::filesystem::is_directory(folder / "resources", ec))
    return folder / "resources";
  return KRV_RESOURCES_DIR;
}

HINSTANCE loadModule(const std::filesystem::path& resourceFolder) {
  if (state().instance) return nullptr;
  HINSTANCE instance = krv::win::ResourceModules::add(kModuleName, resourceFolder);
  if (!DllMain(instance, DLL_PROCESS_ATTACH, nullptr)) {
    krv::win::ResourceModules::remove(instance);
    return nullptr;
  }
  return instance;
}

void unloadModule() {
  HINSTANCE instance = state().instance;
  if (!instance) return;
  DllMain(instance, DLL_PROCESS_DETACH, nullptr);
  krv::win::ResourceModules::remove(instance);
}

}  // namespace krv::frame

BOOL DllMain(HINSTANCE instance, DWORD reason, void*) {
  auto& s = krv::frame::state();
  if (reason == DLL_PROCESS_ATTACH) {
    s.instance = instance;
    krv::frame::moduleResourceOverride().SaveDefaultResource(instance);
    if (!AfxInitExtensionModule(s.extension, instance)) {
      // A module whose resources cannot be found must not stay half set up.
      s.instance = nullptr;
      krv::frame::moduleResourceOverride().SaveDefaultResource(nullptr);
      return FALSE;
    }
    // Joins the resource chain; AfxTermExtensionModule deletes it.
    new CDynLinkLibrary(s.extension);
  } else if (reason == DLL_PROCESS_DETACH) {
    AfxTermExtensionModule(s.extension);
    // The module's objects go with it, as its static objects would.
    s.bitmapA.DeleteObject();
    s.bitmapB.DeleteObject();
    s.instance = nullptr;
    krv::frame::moduleResourceOverride().SaveDefaultResource(nullptr);
  }
  return TRUE;
}

AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
  switch (msg) {
    case AcRx::kInitAppMsg:
      if (auto* linker = krv::frame::sysRegistryService<AcRxDynamicLinker>(L"DynamicLinker")) {
        linker->unlockApplication(appId);
        linker->registerAppMDIAware(appId);
      }
      krv::frame::loadBitmap(krv::frame::state().bitmapA, krv::frame::kCellButtonBitmapA);
      krv::frame::loadBitmap(krv::frame::state().bitmapB, krv::frame::kCellButtonBitmapB);
      break;
    case AcRx::kUnloadAppMsg:
      if (auto* commands =
              krv::frame::sysRegistryService<AcEdCommandStack>(L"ACAD_REGISTERED_COMMANDS"))
        commands->removeGroup(krv::frame::kModuleCommandGroup);
      DestroyAllMacroDlgs();
      EndDlgEditConstraints();
      break;
    default:
      break;
  }
  return AcRx::kRetOK;
}

int acrxGetApiVersion() { return kAcadApiVersion; }
