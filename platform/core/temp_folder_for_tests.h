#pragma once
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/core/file_paths.h"

// A fresh folder under the system's temporary folder, removed with its
// contents at the end of the test.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> n{0};
    mPath = std::filesystem::temp_directory_path() /
            ("krv_core_" + std::to_string(::getpid()) + "_" + std::to_string(n++));
    std::filesystem::remove_all(mPath);
    std::filesystem::create_directories(mPath);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(mPath, ec);
  }
  const std::filesystem::path& path() const { return mPath; }
  // A path text below the folder, with '\' separators as the product writes.
  Krv_String text(const std::string& relative = "") const {
    return krv::core::fromOsPath(mPath) + L"\\" + Krv_String(relative);
  }
  void writeBytes(const std::string& relative, const std::string& bytes) const {
    const auto p = mPath / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
  }
  std::string readBytes(const std::string& relative) const {
    std::ifstream in(mPath / relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::filesystem::path mPath;
};
