#pragma once
// Resource modules: each loaded module has an instance handle and a folder
// of resources. Dialog templates, bitmaps, icons and strings are looked up
// as the framework does: in the module that is current
// (AfxGetResourceHandle) when it has the resource, else in the modules of
// the resource chain in the order they joined it. An extension library
// joins the chain with its CDynLinkLibrary, so that the host finds its
// resources while the host's own module is current.
//
// A module folder holds templates/<id>.json (dialog templates, see
// dialog_template.h), bitmaps/<id>.bmp and icons/<id>.ico.
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/win/dialog_template.h"

namespace krv::win {

class ResourceModule {
 public:
  ResourceModule(std::wstring name, std::filesystem::path folder)
      : mName(std::move(name)), mFolder(std::move(folder)) {}
  const std::wstring& name() const { return mName; }
  const std::filesystem::path& folder() const { return mFolder; }

  // The template `id`: from a file added with addTemplate, else from
  // templates/<id>.json. An error when missing or malformed, or when the
  // file's id differs.
  base::Result<DialogTemplate> dialogTemplate(UINT id) const;
  // Whether the module has a template `id` (readable or not).
  bool hasDialogTemplate(UINT id) const;
  void addTemplate(UINT id, std::filesystem::path file) { mTemplates[id] = std::move(file); }
  // Paths of bitmap and icon resources; empty when the file does not exist.
  std::filesystem::path bitmapPath(UINT id) const;
  std::filesystem::path iconPath(UINT id) const;
  // Texts of the module's string table.
  void addString(UINT id, std::wstring text) { mStrings[id] = std::move(text); }
  std::optional<std::wstring> string(UINT id) const;

 private:
  std::filesystem::path templatePath(UINT id) const;

  std::wstring mName;
  std::filesystem::path mFolder;
  std::map<UINT, std::filesystem::path> mTemplates;
  std::map<UINT, std::wstring> mStrings;
};

enum class ResourceKind { DialogTemplate, Bitmap, Icon, String };

class ResourceModules {
 public:
  // Registers a module and gives its new instance handle.
  static HINSTANCE add(std::wstring name, std::filesystem::path folder);
  // Forgets the module; a current resource handle of it is reset to the
  // application's.
  static bool remove(HINSTANCE instance);
  static ResourceModule* find(HINSTANCE instance);
  // The module that resources are looked up in now, or nullptr.
  static ResourceModule* current();
  // The module that resource `id` of `kind` is taken from: the current
  // module when it has it, else the first module of the resource chain that
  // has it; nullptr when none has.
  static ResourceModule* holding(UINT id, ResourceKind kind);
  // The icon handle of icon `id` of the module holding it (created once per
  // module and id); nullptr when no module has such an icon.
  static HICON loadIcon(UINT id);
  // The module and id an icon handle was loaded from.
  static bool iconSource(HICON icon, HINSTANCE& instance, UINT& id);
};

// The last error of a failed template lookup (for diagnosis and tests).
const base::Status& lastResourceError();
void setLastResourceError(base::Status error);

}  // namespace krv::win

// The framework's record of an extension library.
// AfxInitExtensionModule fills it for a module instance; the module then
// creates one CDynLinkLibrary for it, which links the module into the
// resource chain until AfxTermExtensionModule takes it out again.
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

namespace krv::win {
// The modules of the resource chain, in the order they joined.
std::vector<HMODULE> resourceChain();
}  // namespace krv::win

// The instance of the module that resource `id` of `kind` is taken from
// (see ResourceModules::holding); null when none has it.
HINSTANCE AfxFindResourceHandle(UINT id, krv::win::ResourceKind kind);

// The module whose resources are used; initially the application's.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE instance);
// The application's own instance handle (a module named "application"
// without resources unless one is registered for it).
HINSTANCE AfxGetInstanceHandle();
HICON LoadIcon(HINSTANCE instance, UINT id);
