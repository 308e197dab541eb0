#include "tools/desktop_user_interface.h"

namespace krv::tools {

bool DesktopUserInterface::chooseFiles(const FileDialogRequest& request,
                                       std::vector<std::wstring>& chosen) {
  chosen.clear();
  const std::optional<std::filesystem::path> answer = mNext ? mNext() : std::nullopt;
  if (!answer) return QtUserInterface::chooseFiles(request, chosen);
  if (answer->empty()) return false;
  chosen.push_back(std::filesystem::absolute(*answer).wstring());
  return true;
}

}  // namespace krv::tools
