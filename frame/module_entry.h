#pragma once
// The module's life cycle in the host.
//
// The operating system attaches the library (DllMain with
// DLL_PROCESS_ATTACH), the host then sends kInitAppMsg to acrxEntryPoint,
// other modules call the exported functions, the host sends kUnloadAppMsg,
// and the library is detached. On this platform the shared library's
// load and unload hooks play the operating system's part (loadModule and
// unloadModule); tests call the same functions directly.
#include <filesystem>

#include "platform/acad/rx_system.h"
#include "platform/win/bitmap.h"
#include "platform/win/win_types.h"

constexpr DWORD DLL_PROCESS_DETACH = 0;
constexpr DWORD DLL_PROCESS_ATTACH = 1;
constexpr DWORD DLL_THREAD_ATTACH = 2;
constexpr DWORD DLL_THREAD_DETACH = 3;

// Attach: keeps `instance`, gives it to the module's resource override and
// initialises the extension-module record; when that fails the attach is
// refused (FALSE, and neither handle nor resource override is kept).
// Otherwise the module joins the resource chain (its CDynLinkLibrary).
// Detach: ends the extension module (the module leaves the chain), deletes
// the two bitmaps and forgets the instance. Thread notifications do nothing. TRUE except for a
// refused attach.
BOOL DllMain(HINSTANCE instance, DWORD reason, void* reserved);

// The host's application messages. kInitAppMsg unlocks the application and
// registers it as MDI-aware with the dynamic linker of the system registry,
// then loads the bitmaps 8134 and 8136 from the module's resources.
// kUnloadAppMsg removes the command group "KORVANE_SS" from the registered
// commands and closes every modeless macro dialog and the macro editor.
// Every other message is ignored. The answer is always kRetOK.
extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(
    AcRx::AppMsgCode msg, void* appId);
// The host interface version this module was built for.
extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion();

namespace krv::frame {

// The module's name as a resource module and its command group.
constexpr const wchar_t* kModuleName = L"korvane_ss";
constexpr const wchar_t* kModuleCommandGroup = L"KORVANE_SS";

// The two pictures of the picture-button cells in the macro editor's tables.
constexpr UINT kCellButtonBitmapA = 8134;
constexpr UINT kCellButtonBitmapB = 8136;

// The instance handle kept at attach; null before attach and after detach.
HINSTANCE moduleInstance();

// The bitmap kCellButtonBitmapA or kCellButtonBitmapB as loaded by
// kInitAppMsg; a bitmap that is not created (null handle) before that, for
// another id, or when its file was missing or unreadable.
const CBitmap& moduleBitmap(UINT id);

// The folder of the module's resources (templates/, bitmaps/, strings/):
// the environment variable KRV_RESOURCES_DIR when set, else "resources"
// in the module's folder when it exists, else the folder the module was
// built with.
std::filesystem::path moduleResourceFolder();

// What the loader does when the library is loaded: registers
// `resourceFolder` as the resource module of this module, giving the
// instance handle, and attaches (DllMain). Null when the attach is refused;
// the resource module is then forgotten again. Null too when the module is
// loaded already.
HINSTANCE loadModule(const std::filesystem::path& resourceFolder);
// Detaches and forgets the resource module. Nothing when not loaded.
void unloadModule();

}  // namespace krv::frame
