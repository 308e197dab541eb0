#pragma once
// Resource modules: each loaded module has an instance handle and a folder
// of resources; dialog templates, bitmaps and icons are looked up in the
// module that is current (AfxGetResourceHandle), as the framework does.
//
// A module folder holds templates/<id>.json (dialog templates, see
// dialog_template.h), bitmaps/<id>.bmp and icons/<id>.ico.
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/win/dialog_template.h"

namespace krv {

class ResourceModule {
 public:
  ResourceModule(std::wstring name, std::filesystem::path folder)
      : mName(std::move(name)), mFolder(std::move(folder)) {}
  const std::wstring& name() const { return mName; }
  const std::filesystem::path& folder() const { return mFolder; }

  // The template `id`: from a file added with addTemplate, else from
  // templates/<id>.json. nullopt with a message when missing or malformed,
  // or when the file's id differs.
  std::optional<DialogTemplate> dialogTemplate(UINT id, std::string& error) const;
  void addTemplate(UINT id, std::filesystem::path file) { mTemplates[id] = std::move(file); }
  // Paths of bitmap and icon resources; empty when the file does not exist.
  std::filesystem::path bitmapPath(UINT id) const;
  std::filesystem::path iconPath(UINT id) const;
  // Texts of the module's string table.
  void addString(UINT id, std::wstring text) { mStrings[id] = std::move(text); }
  std::optional<std::wstring> string(UINT id) const;

 private:
  std::wstring mName;
  std::filesystem::path mFolder;
  std::map<UINT, std::filesystem::path> mTemplates;
  std::map<UINT, std::wstring> mStrings;
};

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
  // The icon handle of icon `id` of the current module (created once per
  // module and id); nullptr when it has no such icon.
  static HICON loadIcon(UINT id);
  // The module and id an icon handle was loaded from.
  static bool iconSource(HICON icon, HINSTANCE& instance, UINT& id);
};

// The last error of a failed template lookup (for diagnosis and tests).
const std::string& lastResourceError();
void setLastResourceError(std::string error);

}  // namespace krv

// The module whose resources are used; initially the application's.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE instance);
// The application's own instance handle (a module named "application"
// without resources unless one is registered for it).
HINSTANCE AfxGetInstanceHandle();
HICON LoadIcon(HINSTANCE instance, UINT id);
