#include "platform/core/dlg_open_multi.h"

#include <string>
#include <vector>

#include "platform/core/file_paths.h"
#include "platform/win/user_interface.h"

bool DlgOpenMulti(const Krv_String& rootFolder, const Krv_String& typeDescription,
                  const Krv_String& extension, const Krv_String& prompt, Krv_StringArray& paths,
                  CWnd* owner) {
  paths.removeAll();
  Krv_String ext = extension;
  if (ext.startsWith(L".")) ext = ext.substr(1);
  const Krv_String pattern = L"*." + ext;

  FileDialogRequest request;
  request.open = true;
  request.multiSelect = true;
  request.foldersToo = true;
  request.title = prompt.str();
  request.defaultExt = ext.str();
  request.filter = (typeDescription + L" (" + pattern + L")|" + pattern + L"||").str();
  request.initialFolder = krv::core::withTrailingSeparator(rootFolder).str();
  request.owner = owner;

  std::vector<std::wstring> chosen;
  if (!UserInterface::current().chooseFiles(request, chosen)) return false;
  for (const auto& path : chosen) {
    if (path.empty()) continue;
    Krv_String text = path;
    text.replaceSubString(L"/", L"\\");
    paths.append(text);
  }
  return paths.length() > 0;
}
