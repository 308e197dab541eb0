#pragma once
// The registry: a hierarchical store of keys under the predefined roots
// HKEY_CLASSES_ROOT, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE. Each key has
// subkeys and values (the default value has the empty name); values keep the
// type and the bytes they were set with. Key and value names compare without
// regard to letter case and keep the case they were created with.
//
// The functions follow the host API: they return ERROR_SUCCESS (0) or the
// error code the host gives (ERROR_FILE_NOT_FOUND for a missing key or value,
// ERROR_INVALID_HANDLE for a closed or unknown handle, ERROR_MORE_DATA for a
// small buffer, ERROR_NO_MORE_ITEMS at the end of an enumeration,
// ERROR_ACCESS_DENIED for a write through a read-only handle or for
// RegDeleteKeyW on a key with subkeys, ERROR_KEY_DELETED for a handle whose
// key was deleted). They never throw.
//
// The store lives in memory (krv::win::Registry::resetInMemory gives tests a fresh,
// empty one) or is backed by a file (krv::win::Registry::attachFile): a versioned
// JSON document rewritten atomically after every change, or, while saves are
// held, once when the caller saves.
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/base/status.h"
#include "platform/win/win_types.h"

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;
using LSTATUS = LONG;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(std::uintptr_t{0x80000000});
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002});

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_WRITE_FAULT = 29;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_BAD_PATHNAME = 161;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NO_MORE_ITEMS = 259;
constexpr LONG ERROR_KEY_DELETED = 1018;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// Creates the key path `subKey` below `key` (every missing level) or opens it
// when it exists; `disposition` tells which. `subKey` may not start with a
// backslash or contain empty levels (ERROR_BAD_PATHNAME).
LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                        REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                        LPDWORD disposition);
LSTATUS RegCreateKeyW(HKEY key, LPCWSTR subKey, PHKEY result);
// Opens an existing key; a null or empty `subKey` opens `key` itself again.
LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LSTATUS RegOpenKeyW(HKEY key, LPCWSTR subKey, PHKEY result);
LSTATUS RegCloseKey(HKEY key);
// Sets a value (null or empty name: the default value). REG_DWORD needs
// exactly four bytes; REG_SZ data is wide characters with their terminator.
LSTATUS RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD size);
// Reads a value: its type into `type`, its bytes into `data` when `data` is
// given and `*size` is large enough (else ERROR_MORE_DATA), and the byte
// count into `*size`. A null `data` only asks for the type and size.
LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD size);
LSTATUS RegDeleteValueW(HKEY key, LPCWSTR valueName);
// Deletes a key that has no subkeys (ERROR_ACCESS_DENIED otherwise).
LSTATUS RegDeleteKeyW(HKEY key, LPCWSTR subKey);
// Deletes a key with all its subkeys and values.
LSTATUS SHDeleteKeyW(HKEY key, LPCWSTR subKey);
// The name of the `index`-th subkey in case-insensitive name order;
// `*nameLength` is the buffer size in characters on entry and the name's
// length without terminator on return.
LSTATUS RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved,
                      LPWSTR keyClass, LPDWORD classLength, FILETIME* lastWrite);
// The name, type and bytes of the `index`-th value in name order.
LSTATUS RegEnumValueW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved,
                      LPDWORD type, LPBYTE data, LPDWORD size);

namespace krv::win {

// The largest registry file that is read.
inline constexpr std::uintmax_t kMaxRegistryFileBytes = 64u * 1024u * 1024u;

// The registry store behind the Reg* functions.
class Registry {
 public:
  struct Node;

  // The store the Reg* functions use.
  static Registry& current();
  // Makes the current store a fresh, empty, in-memory one and closes every
  // open handle. Tests call this first.
  static void resetInMemory();
  // Backs the current store with `path`: reads the file when it exists and
  // from then on rewrites it after every change. A missing file starts an
  // empty store. A file that cannot be read (no regular file, larger than
  // kMaxRegistryFileBytes) or is not a registry document of a known version
  // is refused with an error that names the file and the place in it, and
  // the store and the previous backing file stay as they were.
  base::Status attachFile(const std::filesystem::path& path);
  // Stops persisting; the contents stay in memory.
  void detachFile();
  const std::filesystem::path& file() const { return mFile; }
  // Writes the store to the attached file now (temporary file and rename).
  // A read-only file is refused; a replaced file keeps its permissions.
  base::Status save() const;
  // While held, changes stay in memory (hasUnsavedChanges tells) and the
  // file is written only by save(), so that a command that makes many
  // changes writes the file once: all of them or, when that fails, none.
  void holdSaves(bool hold);
  bool hasUnsavedChanges() const { return mDirty; }
  // The last failed load or save; success when none failed since.
  const base::Status& lastError() const { return mLastError; }
  // Makes every later open of `path` under `root` fail with
  // ERROR_ACCESS_DENIED, as a key protected by the host would.
  void denyAccess(HKEY root, const std::wstring& path);
  // Makes every later value write (RegSetValueExW) on the key `path` under
  // `root` fail with ERROR_WRITE_FAULT, as a store that cannot take the
  // write would; the key itself can still be created and opened. Tests use
  // it to fail one write among many. resetInMemory() forgets it.
  void failValueWrites(HKEY root, const std::wstring& path);

  // The JSON text of the store, and loading one (a malformed document is
  // refused with its place; the store is then unchanged).
  std::string toJson() const;
  base::Status fromJson(const std::string& text);

  // Used by the Reg* functions.
  struct Open {
    std::shared_ptr<Node> node;
    REGSAM access = 0;
  };
  LSTATUS resolve(HKEY key, Open& out) const;
  HKEY addHandle(std::shared_ptr<Node> node, REGSAM access);
  LSTATUS closeHandle(HKEY key);
  bool isDenied(const Node& node) const;
  bool failsValueWrites(const Node& node) const;
  LSTATUS changed();  // persists after a change

  Registry();
  ~Registry();

 private:
  // Replaces the keys by `roots`; open handles are closed.
  void takeRoots(std::map<std::wstring, std::shared_ptr<Node>> roots);

  std::map<std::wstring, std::shared_ptr<Node>> mRoots;  // by root name
  std::map<std::uintptr_t, Open> mHandles;
  std::uintptr_t mNextHandle = 0x1000;
  std::filesystem::path mFile;
  bool mHoldSaves = false;
  mutable bool mDirty = false;
  mutable base::Status mLastError;
};

// The registry file of the program: the user's configuration folder
// ($XDG_CONFIG_HOME, else ~/.config) + "korvane/registry.json".
std::filesystem::path defaultRegistryFile();

}  // namespace krv::win
