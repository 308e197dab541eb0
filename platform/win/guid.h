#pragma once
// Globally unique identifiers and their registry text form
// "{2CE559DB-0008-4AA7-8E1D-7DCEBAB7D2C4}" (braces, upper-case hexadecimal).
#include <optional>
#include <string>
#include <string_view>

#include "platform/win/win_types.h"

struct GUID {
  DWORD Data1 = 0;
  WORD Data2 = 0;
  WORD Data3 = 0;
  BYTE Data4[8] = {};
  bool operator==(const GUID& o) const;
};
using CLSID = GUID;
using IID = GUID;
using REFGUID = const GUID&;
using REFCLSID = const GUID&;
using REFIID = const GUID&;
using LPCLSID = CLSID*;
using OLECHAR = wchar_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;

constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3u);

// Writes the text form of `clsid` into a buffer allocated with CoTaskMemAlloc;
// the caller frees it with CoTaskMemFree. E_INVALIDARG when `out` is null.
HRESULT StringFromCLSID(REFCLSID clsid, LPOLESTR* out);
// Writes the text form and its terminator into `buffer` of `capacity`
// characters; returns the characters written including the terminator, or 0
// when the buffer is too small (39 characters are needed).
int StringFromGUID2(REFGUID guid, LPOLESTR buffer, int capacity);
// Parses the braced text form (hex digits of either case). CO_E_CLASSSTRING
// and an all-zero result for anything else, including a null text.
HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID out);
HRESULT IIDFromString(LPCOLESTR text, IID* out);

void* CoTaskMemAlloc(std::size_t bytes);
void CoTaskMemFree(void* p);

namespace krv::win {
// The braced upper-case text form of `guid`.
std::wstring guidToString(const GUID& guid);
// The GUID of a braced text form, or nothing when `text` is not one.
std::optional<GUID> guidFromString(std::wstring_view text);
}  // namespace krv::win
