#include "platform/win/guid.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

bool GUID::operator==(const GUID& o) const {
  return Data1 == o.Data1 && Data2 == o.Data2 && Data3 == o.Data3 &&
         std::memcmp(Data4, o.Data4, sizeof Data4) == 0;
}

namespace krv::win {
namespace {

constexpr wchar_t kHex[] = L"0123456789ABCDEF";

void appendHex(std::wstring& out, unsigned long long value, int digits) {
  for (int i = digits - 1; i >= 0; --i) out += kHex[(value >> (4 * i)) & 0xF];
}

int hexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// Reads `digits` hex digits at `pos`; false on any other character.
bool readHex(std::wstring_view text, std::size_t pos, int digits, unsigned long long& value) {
  value = 0;
  for (int i = 0; i < digits; ++i) {
    const int v = hexValue(text[pos + i]);
    if (v < 0) return false;
    value = (value << 4) | static_cast<unsigned>(v);
  }
  return true;
}

}  // namespace

std::wstring guidToString(const GUID& g) {
  std::wstring s;
  s.reserve(38);
  s += L'{';
  appendHex(s, g.Data1, 8);
  s += L'-';
  appendHex(s, g.Data2, 4);
  s += L'-';
  appendHex(s, g.Data3, 4);
  s += L'-';
  appendHex(s, g.Data4[0], 2);
  appendHex(s, g.Data4[1], 2);
  s += L'-';
  for (int i = 2; i < 8; ++i) appendHex(s, g.Data4[i], 2);
  s += L'}';
  return s;
}

std::optional<GUID> guidFromString(std::wstring_view t) {
  // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
  if (t.size() != 38 || t[0] != L'{' || t[37] != L'}' || t[9] != L'-' || t[14] != L'-' ||
      t[19] != L'-' || t[24] != L'-')
    return std::nullopt;
  GUID g;
  unsigned long long v = 0;
  if (!readHex(t, 1, 8, v)) return std::nullopt;
  g.Data1 = static_cast<DWORD>(v);
  if (!readHex(t, 10, 4, v)) return std::nullopt;
  g.Data2 = static_cast<WORD>(v);
  if (!readHex(t, 15, 4, v)) return std::nullopt;
  g.Data3 = static_cast<WORD>(v);
  const std::size_t bytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    if (!readHex(t, bytePos[i], 2, v)) return std::nullopt;
    g.Data4[i] = static_cast<BYTE>(v);
  }
  return g;
}

}  // namespace krv::win

void* CoTaskMemAlloc(std::size_t bytes) { return std::malloc(bytes ? bytes : 1); }
void CoTaskMemFree(void* p) { std::free(p); }

HRESULT StringFromCLSID(REFCLSID clsid, LPOLESTR* out) {
  if (!out) return E_INVALIDARG;
  const std::wstring s = krv::win::guidToString(clsid);
  auto* buffer = static_cast<LPOLESTR>(CoTaskMemAlloc((s.size() + 1) * sizeof(OLECHAR)));
  if (!buffer) return E_OUTOFMEMORY;
  std::wmemcpy(buffer, s.c_str(), s.size() + 1);
  *out = buffer;
  return S_OK;
}

int StringFromGUID2(REFGUID guid, LPOLESTR buffer, int capacity) {
  const std::wstring s = krv::win::guidToString(guid);
  if (!buffer || capacity < static_cast<int>(s.size()) + 1) return 0;
  std::wmemcpy(buffer, s.c_str(), s.size() + 1);
  return static_cast<int>(s.size()) + 1;
}

HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID out) {
  if (!out) return E_INVALIDARG;
  *out = GUID{};
  if (!text) return CO_E_CLASSSTRING;
  const auto g = krv::win::guidFromString(text);
  if (!g) return CO_E_CLASSSTRING;
  *out = *g;
  return S_OK;
}

HRESULT IIDFromString(LPCOLESTR text, IID* out) {
  const HRESULT hr = CLSIDFromString(text, out);
  return hr == CO_E_CLASSSTRING ? E_INVALIDARG : hr;
}
