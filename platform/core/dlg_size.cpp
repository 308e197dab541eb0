#include "platform/core/dlg_size.h"

#include <algorithm>
#include <cwchar>

#include "platform/win/registry.h"
#include "platform/win/wnd.h"

namespace {
constexpr wchar_t kKey[] = L"Software\\Korvane\\Dialog Sizes";
}

bool getDlgSize(const Krv_String& name, int& width, int& height) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  wchar_t buffer[64] = {};
  DWORD type = 0, bytes = sizeof(buffer) - sizeof(wchar_t);
  LSTATUS st =
      RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
  RegCloseKey(key);
  if (st != ERROR_SUCCESS || type != REG_SZ) return false;
  int w = 0, h = 0;
  wchar_t extra = 0;
  if (std::swscanf(buffer, L"%d %d %lc", &w, &h, &extra) != 2 || w <= 0 || h <= 0 || w > 100000 ||
      h > 100000) {
    return false;
  }
  width = w;
  height = h;
  return true;
}

bool ChangeDlgSize(CWnd* dialog, const Krv_String& name, bool onlyGrow) {
  if (!dialog || !dialog->GetSafeHwnd()) return false;
  int w = 0, h = 0;
  if (!getDlgSize(name, w, h)) return false;
  CRect r;
  dialog->GetWindowRect(&r);
  if (onlyGrow) {
    w = std::max(w, static_cast<int>(r.Width()));
    h = std::max(h, static_cast<int>(r.Height()));
  }
  dialog->SetWindowPos(nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
  return true;
}

bool WriteDlgSize(CWnd* dialog, const Krv_String& name) {
  if (!dialog || !dialog->GetSafeHwnd() || name.isEmpty()) return false;
  CRect r;
  dialog->GetWindowRect(&r);
  std::wstring text = std::to_wstring(r.Width()) + L" " + std::to_wstring(r.Height());
  HKEY key = nullptr;
  if (RegCreateKeyW(HKEY_CURRENT_USER, kKey, &key) != ERROR_SUCCESS) return false;
  LSTATUS st =
      RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return st == ERROR_SUCCESS;
}
