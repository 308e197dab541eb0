// The spreadsheet editor's language and default settings set in the registry.
#include "spread/vt_ss_registry_sets.h"

#include <vector>

#include "platform/base/case_folding.h"
#include "platform/win/registry.h"

namespace {

bool readText(HKEY key, const wchar_t* name, Krv_String& out) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return false;
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(buffer.data()), &size) !=
      ERROR_SUCCESS)
    return false;
  out = Krv_String(buffer.data());
  return true;
}

bool writeText(HKEY key, const wchar_t* name, const Krv_String& value) {
  const auto bytes = static_cast<DWORD>((value.str().size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        bytes) == ERROR_SUCCESS;
}

}  // namespace

int VtSSRegistrySets::languageIndex(const Krv_String& code) {
  for (int i = 0; i < 3; ++i) {
    if (krv::base::compareNoCase(code.str(), std::wstring_view(kLanguageCodes[i])) == 0) return i;
  }
  return 1;
}

Krv_String VtSSRegistrySets::languageCode(int index) {
  return index >= 0 && index < 3 ? Krv_String(kLanguageCodes[index]) : Krv_String(L"EN");
}

bool VtSSRegistrySets::read() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  const bool lang = readText(key, kLanguageValue, language);
  const bool settings = readText(key, kDefaultSettingsValue, defaultSettings);
  RegCloseKey(key);
  return lang && settings;
}

bool VtSSRegistrySets::write() const {
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &key, &disposition) != ERROR_SUCCESS)
    return false;
  const bool lang = writeText(key, kLanguageValue, language);
  const bool settings = writeText(key, kDefaultSettingsValue, defaultSettings);
  RegCloseKey(key);
  return lang && settings;
}
