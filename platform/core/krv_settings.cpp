#include "platform/core/krv_settings.h"

#include <cstdlib>
#include <mutex>

#include "platform/core/file_paths.h"

namespace {

struct Folders {
  std::mutex mutex;
  Krv_String libDir, krvDir, language;
};

Folders& folders() {
  static Folders f;
  return f;
}

Krv_String configured(const Krv_String& set, const char* envName) {
  if (!set.isEmpty()) return set;
  const char* env = std::getenv(envName);
  return env ? Krv_String(env) : Krv_String();
}

}  // namespace

Krv_String Krv_Settings::libDir() {
  std::lock_guard<std::mutex> lock(folders().mutex);
  return krv::core::withTrailingSeparator(configured(folders().libDir, "KRV_LIBRARY_DIR"));
}

Krv_String Krv_Settings::krvDir() {
  std::lock_guard<std::mutex> lock(folders().mutex);
  return krv::core::withTrailingSeparator(configured(folders().krvDir, "KRV_INSTALL_DIR"));
}

Krv_String Krv_Settings::workLanguage() {
  std::lock_guard<std::mutex> lock(folders().mutex);
  Krv_String lang = configured(folders().language, "KRV_LANGUAGE").trimmed();
  return lang.isEmpty() ? Krv_String(L"en") : lang.lower();
}

void Krv_Settings::setLibDir(const Krv_String& folder) {
  std::lock_guard<std::mutex> lock(folders().mutex);
  folders().libDir = folder;
}

void Krv_Settings::setKrvDir(const Krv_String& folder) {
  std::lock_guard<std::mutex> lock(folders().mutex);
  folders().krvDir = folder;
}

void Krv_Settings::setWorkLanguage(const Krv_String& language) {
  std::lock_guard<std::mutex> lock(folders().mutex);
  folders().language = language;
}

Krv_Settings& Krv_Settings::current() {
  static Krv_Settings settings;
  return settings;
}
