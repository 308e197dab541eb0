// Where this module lives: its own folder and file.
#include "frame/module_entry_folder.h"

#include <dlfcn.h>

#include <mutex>

namespace krv::frame {
namespace {

std::mutex gFolderMutex;
std::filesystem::path gFolderOverride;

}  // namespace

std::filesystem::path moduleFile() {
  Dl_info info{};
  // Any function of this file tells which loaded object holds the module.
  if (!dladdr(reinterpret_cast<void*>(&moduleFile), &info) || !info.dli_fname || !*info.dli_fname)
    return {};
  std::error_code ec;
  std::filesystem::path path(info.dli_fname);
  // The main program is reported by the name it was started with, which
  // may have been found on PATH; the kernel knows its real file.
  if (path.filename() == path) path = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  path = std::filesystem::absolute(path, ec);
  if (ec) return {};
  auto canonical = std::filesystem::weakly_canonical(path, ec);
  return ec ? path : canonical;
}

std::filesystem::path moduleFolder() {
  {
    std::lock_guard lock(gFolderMutex);
    if (!gFolderOverride.empty()) return gFolderOverride;
  }
  return moduleFile().parent_path();
}

void setModuleFolder(std::filesystem::path folder) {
  std::lock_guard lock(gFolderMutex);
  gFolderOverride = std::move(folder);
}

}  // namespace krv::frame
