#include "tools/sample_folders.h"

namespace krv::tools {

std::filesystem::path checkoutFolder(std::string_view relative) {
  namespace fs = std::filesystem;
  const fs::path rel(relative);
  if (fs::is_directory(rel)) return fs::absolute(rel);
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const fs::path candidate = exe.parent_path().parent_path().parent_path() / rel;
    if (fs::is_directory(candidate)) return candidate;
  }
  return fs::absolute(rel);
}

}  // namespace krv::tools
