// The registry API (Reg* functions) over krv::win::Registry, and the registry file it is kept in.
#include "platform/win/registry.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>
#include <set>
#include <vector>

#include "platform/base/case_folding.h"
#include "platform/base/display_text.h"
#include "platform/base/file_io.h"
#include "platform/base/file_text.h"
#include "platform/base/json_document.h"
#include "platform/base/json_io.h"
#include "platform/base/utf.h"

namespace krv::win {

struct Registry::Node {
  std::wstring name;      // as created
  std::wstring fullPath;  // folded, "HKEY_...\a\b", for access checks
  int depth = 0;          // levels below the root
  struct Value {
    std::wstring name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
  };
  std::map<std::wstring, std::shared_ptr<Node>> keys;  // by folded name
  std::map<std::wstring, Value> values;                // by folded name
  bool deleted = false;
};

namespace regdetail {
std::wstring fold(std::wstring_view s);
bool splitPath(LPCWSTR subKey, std::vector<std::wstring>& parts);
void markDeleted(Registry::Node& node);
constexpr std::size_t kMaxNameLength = 16383;
constexpr int kMaxDepth = 512;  // levels of keys below a root
}  // namespace regdetail
using namespace regdetail;

namespace {

const wchar_t* const kRootNames[] = {L"HKEY_CLASSES_ROOT", L"HKEY_CURRENT_USER",
                                     L"HKEY_LOCAL_MACHINE"};
constexpr int kFormatVersion = 1;
std::set<std::wstring>& deniedPaths() {
  static std::set<std::wstring> paths;
  return paths;
}
std::set<std::wstring>& failingValuePaths() {
  static std::set<std::wstring> paths;
  return paths;
}

}  // namespace

std::wstring regdetail::fold(std::wstring_view s) { return base::foldCase(s); }

namespace {

const wchar_t* rootName(HKEY key) {
  if (key == HKEY_CLASSES_ROOT) return kRootNames[0];
  if (key == HKEY_CURRENT_USER) return kRootNames[1];
  if (key == HKEY_LOCAL_MACHINE) return kRootNames[2];
  return nullptr;
}

}  // namespace

void regdetail::markDeleted(Registry::Node& node) {
  node.deleted = true;
  for (auto& [_, child] : node.keys) markDeleted(*child);
}

// Splits a subkey path at backslashes; a single trailing backslash is allowed.
bool regdetail::splitPath(LPCWSTR subKey, std::vector<std::wstring>& parts) {
  parts.clear();
  if (!subKey || !*subKey) return true;
  std::wstring_view p(subKey);
  if (p.front() == L'\\') return false;
  if (p.back() == L'\\') p.remove_suffix(1);
  std::size_t start = 0;
  while (start <= p.size()) {
    const std::size_t end = std::min(p.find(L'\\', start), p.size());
    if (end == start || end - start > 255) return false;
    parts.emplace_back(p.substr(start, end - start));
    start = end + 1;
  }
  return parts.size() <= static_cast<std::size_t>(kMaxDepth);
}

namespace {

// ---- wide texts stored in the file (written with base::toUtf8, read with base::utf8ToWide) ----

bool isTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// A text value is kept as text in the file when its bytes are whole wide
// characters; the terminator is implied.
bool textOf(const std::vector<BYTE>& data, std::wstring& text) {
  if (data.size() % sizeof(wchar_t) != 0) return false;
  text.assign(data.size() / sizeof(wchar_t), L'\0');
  if (!data.empty()) std::memcpy(text.data(), data.data(), data.size());
  if (text.empty() || text.back() != L'\0') return false;
  text.pop_back();
  return text.find(L'\0') == std::wstring::npos;
}

std::vector<BYTE> bytesOfText(const std::wstring& text) {
  std::vector<BYTE> data((text.size() + 1) * sizeof(wchar_t));
  std::memcpy(data.data(), text.c_str(), data.size());
  return data;
}

std::string hexOf(const std::vector<BYTE>& data) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (BYTE b : data) {
    out += digits[b >> 4];
    out += digits[b & 0xF];
  }
  return out;
}

bool bytesOfHex(const std::string& hex, std::vector<BYTE>& data) {
  auto value = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (hex.size() % 2) return false;
  data.clear();
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int hi = value(hex[i]), lo = value(hex[i + 1]);
    if (hi < 0 || lo < 0) return false;
    data.push_back(static_cast<BYTE>(hi * 16 + lo));
  }
  return true;
}

using base::Json;
using base::JsonIo;
using base::Status;

// Names and texts are UTF-8 in the file and wide in the store.
struct WideText {
  Status read(const Json& j, std::wstring& value) const {
    if (!j.is_string()) return Status::error("a text is expected");
    value = base::utf8ToWide(j.get_ref<const std::string&>());
    return {};
  }
  Json write(const std::wstring& value) const { return base::toUtf8(value); }
};

struct HexBytes {
  Status read(const Json& j, std::vector<BYTE>& data) const {
    if (!j.is_string() || !bytesOfHex(j.get_ref<const std::string&>(), data))
      return Status::error("hexadecimal bytes are expected");
    return {};
  }
  Json write(const std::vector<BYTE>& data) const { return hexOf(data); }
};

// A value: its data as "text" (a text type holding whole wide characters
// with one terminator), "dword" (four bytes of REG_DWORD) or "hex".
void mapValue(JsonIo& io, Registry::Node::Value& v) {
  io.field("name", v.name, WideText{});
  io.field("type", v.type, base::Integer<DWORD>{});
  std::wstring text;
  DWORD dword = 0;
  if (io.writing()) {
    if (isTextType(v.type) && textOf(v.data, text)) {
      io.field("text", text, WideText{});
    } else if (v.type == REG_DWORD && v.data.size() == 4) {
      std::memcpy(&dword, v.data.data(), 4);
      io.field("dword", dword);
    } else {
      io.field("hex", v.data, HexBytes{});
    }
  } else if (io.has("text")) {
    io.field("text", text, WideText{});
    v.data = bytesOfText(text);
  } else if (io.has("dword")) {
    io.field("dword", dword);
    v.data.resize(4);
    std::memcpy(v.data.data(), &dword, 4);
  } else if (io.has("hex")) {
    io.field("hex", v.data, HexBytes{});
  } else {
    io.fail("the value has no data (\"text\", \"dword\" or \"hex\")");
  }
}

// A key with its values and subkeys. Reading fills `node`, whose depth and
// full path the caller has set for a root; a subkey's come from its parent.
void mapKey(JsonIo& io, Registry::Node& node) {
  if (io.writing()) {
    io.field("name", node.name, WideText{});
  } else if (node.depth > 0) {  // a root's name is its place
    io.field("name", node.name, WideText{});
    if (io.ok() && (node.name.empty() || node.name.size() > 255 ||
                    node.name.find(L'\\') != std::wstring::npos))
      io.fail("name", "not a valid key name");
    node.fullPath += L'\\' + fold(node.name);
  }
  if (node.depth > kMaxDepth) io.fail("keys are nested too deeply");

  std::vector<Registry::Node::Value> values;
  std::vector<Registry::Node> keys;
  if (io.writing()) {
    for (const auto& [_, v] : node.values) values.push_back(v);
    for (const auto& [_, child] : node.keys) keys.push_back(*child);
  }
  io.alwaysWritten(
      "values", values, {},
      base::ListOf<Registry::Node::Value, base::Record<Registry::Node::Value>>{{mapValue}});
  // Each subkey starts from its parent's place.
  const base::Record<Registry::Node> subkey{[&node](JsonIo& sub, Registry::Node& child) {
    if (sub.reading()) {
      child.depth = node.depth + 1;
      child.fullPath = node.fullPath;
    }
    mapKey(sub, child);
  }};
  io.alwaysWritten("keys", keys, {},
                   base::ListOf<Registry::Node, base::Record<Registry::Node>>{subkey});
  if (!io.reading() || !io.ok()) return;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::wstring key = fold(values[i].name);
    if (!node.values.emplace(key, std::move(values[i])).second)
      io.fail(JsonIo::at("values", i), "a value of this name exists already");
  }
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const std::wstring key = fold(keys[i].name);
    if (!node.keys.emplace(key, std::make_shared<Registry::Node>(std::move(keys[i]))).second)
      io.fail(JsonIo::at("keys", i), "a key of this name exists already");
  }
}

const base::DocumentKind& registryKind() {
  static const base::DocumentKind kind = [] {
    base::DocumentKind k;
    k.format = "korvane registry";
    k.version = kFormatVersion;
    k.what = "registry document";
    k.limits.maxBytes = kMaxRegistryFileBytes;
    // A key is two levels (its object and its "keys" array) below its parent.
    k.limits.maxDepth = 2 * kMaxDepth + 8;
    return k;
  }();
  return kind;
}

std::unique_ptr<Registry>& currentStore() {
  static std::unique_ptr<Registry> store = std::make_unique<Registry>();
  return store;
}

}  // namespace

Registry::Registry() {
  for (const wchar_t* name : kRootNames) {
    auto node = std::make_shared<Node>();
    node->name = name;
    node->fullPath = fold(name);
    mRoots[name] = node;
  }
}

Registry::~Registry() = default;

Registry& Registry::current() { return *currentStore(); }

void Registry::resetInMemory() {
  currentStore() = std::make_unique<Registry>();
  deniedPaths().clear();
  failingValuePaths().clear();
}

namespace {
// The folded full path of `path` under `root` as nodes carry it; empty for
// an unknown root.
std::wstring fullPathOf(HKEY root, const std::wstring& path) {
  const wchar_t* name = rootName(root);
  if (!name) return {};
  std::wstring full = fold(name);
  if (!path.empty()) full += L'\\' + fold(path);
  return full;
}
}  // namespace

void Registry::denyAccess(HKEY root, const std::wstring& path) {
  if (std::wstring full = fullPathOf(root, path); !full.empty()) deniedPaths().insert(full);
}

void Registry::failValueWrites(HKEY root, const std::wstring& path) {
  if (std::wstring full = fullPathOf(root, path); !full.empty()) failingValuePaths().insert(full);
}

bool Registry::isDenied(const Node& node) const { return deniedPaths().count(node.fullPath) > 0; }

bool Registry::failsValueWrites(const Node& node) const {
  return failingValuePaths().count(node.fullPath) > 0;
}

LSTATUS Registry::resolve(HKEY key, Open& out) const {
  if (const wchar_t* name = rootName(key)) {
    out.node = mRoots.at(name);
    out.access = KEY_ALL_ACCESS;
    return ERROR_SUCCESS;
  }
  const auto it = mHandles.find(reinterpret_cast<std::uintptr_t>(key));
  if (it == mHandles.end()) return ERROR_INVALID_HANDLE;
  out = it->second;
  return out.node->deleted ? ERROR_KEY_DELETED : ERROR_SUCCESS;
}

HKEY Registry::addHandle(std::shared_ptr<Node> node, REGSAM access) {
  const std::uintptr_t h = mNextHandle;
  mNextHandle += 4;
  mHandles[h] = Open{std::move(node), access};
  return reinterpret_cast<HKEY>(h);
}

LSTATUS Registry::closeHandle(HKEY key) {
  if (rootName(key)) return ERROR_SUCCESS;
  return mHandles.erase(reinterpret_cast<std::uintptr_t>(key)) ? ERROR_SUCCESS
                                                               : ERROR_INVALID_HANDLE;
}

std::string Registry::toJson() const {
  Json doc{{"format", registryKind().format}, {"version", kFormatVersion}};
  Json roots = Json::object();
  for (const auto& [name, node] : mRoots) {
    JsonIo io = JsonIo::writer(roots[base::toUtf8(name)]);
    mapKey(io, *node);
  }
  doc["roots"] = std::move(roots);
  // Members sorted by name, as the file has always had them.
  return base::sortedByName(std::move(doc)).dump(1);
}

namespace {

using Roots = std::map<std::wstring, std::shared_ptr<Registry::Node>>;

// The keys of a registry document, by root name.
base::Result<Roots> rootsOf(const Json& doc) {
  const auto roots = doc.find("roots");
  if (roots == doc.end() || !roots->is_object()) return Status::error("the document has no roots");
  Roots read;
  for (const wchar_t* name : kRootNames) {
    auto node = std::make_shared<Registry::Node>();
    node->name = name;
    node->fullPath = fold(name);
    read[name] = node;
    if (const auto j = roots->find(base::toUtf8(name)); j != roots->end()) {
      JsonIo io = JsonIo::reader(*j);
      mapKey(io, *node);
      if (!io.ok()) return io.status().within("roots." + base::toUtf8(name));
    }
  }
  for (const auto& [name, _] : roots->items())
    if (!read.count(base::utf8ToWide(name)))
      return Status::fileError({}, "unknown registry root \"" + base::quotable(name, 80) + "\"",
                               "roots");
  return read;
}

}  // namespace

void Registry::takeRoots(std::map<std::wstring, std::shared_ptr<Node>> roots) {
  for (auto& [_, node] : mRoots) markDeleted(*node);
  mRoots = std::move(roots);
  mHandles.clear();
}

base::Status Registry::fromJson(const std::string& text) {
  const base::Result<Json> doc = base::readDocument(text, registryKind());
  if (!doc) return mLastError = doc.status();
  base::Result<Roots> roots = rootsOf(*doc);
  if (!roots) return mLastError = roots.status();
  takeRoots(std::move(*roots));
  return {};
}

base::Status Registry::attachFile(const std::filesystem::path& path) {
  std::error_code ec;
  if (std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found) {
    const base::Result<Json> doc = base::readDocumentFile(path, registryKind());
    if (!doc) return mLastError = doc.status();
    base::Result<Roots> roots = rootsOf(*doc);
    if (!roots) return mLastError = roots.status().inFile(path);
    takeRoots(std::move(*roots));
  }
  mFile = path;
  mDirty = false;
  mLastError = {};
  return {};
}

void Registry::detachFile() { mFile.clear(); }

void Registry::holdSaves(bool hold) { mHoldSaves = hold; }

base::Status Registry::save() const {
  if (mFile.empty()) return {};
  auto fail = [&](const std::string& why) {
    return mLastError =
               Status::error("cannot write the registry file " + mFile.string() + ": " + why);
  };
  if (Status s = base::checkReplaceable(mFile); !s) return fail(s.message());
  // The whole text first, so that a failure to make it writes nothing.
  std::string text;
  try {
    text = toJson() + '\n';
  } catch (const std::exception& e) {
    return fail(e.what());
  }
  std::error_code ec;
  if (mFile.has_parent_path()) std::filesystem::create_directories(mFile.parent_path(), ec);
  if (const Status written = base::writeFileAtomic(mFile, text); !written)
    return fail(written.message());
  mDirty = false;
  mLastError = {};
  return {};
}

LSTATUS Registry::changed() {
  if (mHoldSaves) {
    mDirty = true;
    return ERROR_SUCCESS;
  }
  return save().ok() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

std::filesystem::path defaultRegistryFile() {
  std::filesystem::path base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    base = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home)
    base = std::filesystem::path(home) / ".config";
  else
    base = ".";
  return base / "korvane" / "registry.json";
}

}  // namespace krv::win

// ---- the host API over the current store ----

using krv::win::Registry;
using Node = Registry::Node;

namespace {

std::wstring foldName(LPCWSTR name) { return krv::win::regdetail::fold(name ? name : L""); }

// Walks `subKey` below `start`; with `create`, adds the missing levels.
LSTATUS walk(Registry& reg, const std::shared_ptr<Node>& start, LPCWSTR subKey, bool create,
             std::shared_ptr<Node>& result, bool& created) {
  std::vector<std::wstring> parts;
  created = false;
  if (!krv::win::regdetail::splitPath(subKey, parts)) return ERROR_BAD_PATHNAME;
  std::shared_ptr<Node> node = start;
  for (const auto& part : parts) {
    const std::wstring key = foldName(part.c_str());
    auto it = node->keys.find(key);
    if (it == node->keys.end()) {
      if (!create) return ERROR_FILE_NOT_FOUND;
      if (node->depth >= krv::win::regdetail::kMaxDepth) return ERROR_BAD_PATHNAME;
      auto child = std::make_shared<Node>();
      child->depth = node->depth + 1;
      child->name = part;
      child->fullPath = node->fullPath + L'\\' + key;
      it = node->keys.emplace(key, std::move(child)).first;
      created = true;
    }
    node = it->second;
  }
  if (reg.isDenied(*node)) return ERROR_ACCESS_DENIED;
  result = node;
  return ERROR_SUCCESS;
}

}  // namespace

LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM access,
                        LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  Registry& reg = Registry::current();
  Registry::Open open;
  if (LSTATUS s = reg.resolve(key, open); s != ERROR_SUCCESS) return s;
  std::shared_ptr<Node> node;
  bool created = false;
  // Look first: opening an existing key needs no create right.
  LSTATUS s = walk(reg, open.node, subKey, false, node, created);
  if (s == ERROR_FILE_NOT_FOUND) {
    if (!(open.access & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
    s = walk(reg, open.node, subKey, true, node, created);
  }
  if (s != ERROR_SUCCESS) return s;
  *result = reg.addHandle(node, access);
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return created ? reg.changed() : ERROR_SUCCESS;
}

LSTATUS RegCreateKeyW(HKEY key, LPCWSTR subKey, PHKEY result) {
  return RegCreateKeyExW(key, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                         result, nullptr);
}

LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM access, PHKEY result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  Registry& reg = Registry::current();
  Registry::Open open;
  if (LSTATUS s = reg.resolve(key, open); s != ERROR_SUCCESS) return s;
  std::shared_ptr<Node> node;
  bool created = false;
  if (LSTATUS s = walk(reg, open.node, subKey, false, node, created); s != ERROR_SUCCESS) return s;
  *result = reg.addHandle(node, access);
  return ERROR_SUCCESS;
}

LSTATUS RegOpenKeyW(HKEY key, LPCWSTR subKey, PHKEY result) {
  return RegOpenKeyExW(key, subKey, 0, KEY_ALL_ACCESS, result);
}

LSTATUS RegCloseKey(HKEY key) { return Registry::current().closeHandle(key); }

LSTATUS RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD, DWORD type, const BYTE* data,
                       DWORD size) {
  Registry& reg = Registry::current();
  Registry::Open open;
  if (LSTATUS s = reg.resolve(key, open); s != ERROR_SUCCESS) return s;
  if (!(open.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  if (reg.failsValueWrites(*open.node)) return ERROR_WRITE_FAULT;
  if ((size && !data) || (type == REG_DWORD && size != 4)) return ERROR_INVALID_PARAMETER;
  if (valueName && std::wcslen(valueName) > krv::win::regdetail::kMaxNameLength)
    return ERROR_INVALID_PARAMETER;
  Node::Value& v = open.node->values[foldName(valueName)];
  v.name = valueName ? valueName : L"";
  v.type = type;
  v.data.assign(data, data + size);
  return reg.changed();
}

LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD, LPDWORD type, LPBYTE data,
                         LPDWORD size) {
  Registry& reg = Registry::current();
  Registry::Open open;
  if (LSTATUS s = reg.resolve(key, open); s != ERROR_SUCCESS) return s;
  if (!(open.access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  if (data && !size) return ERROR_INVALID_PARAMETER;
  const auto it = open.node->values.find(foldName(valueName));
  if (it == open.node->values.end()) return ERROR_FILE_NOT_FOUND;
  const Node::Value& v = it->second;
  if (type) *type = v.type;
  const auto needed = static_cast<DWORD>(v.data.size());
  if (data) {
    if (*size < needed) {
      *size = needed;
      return ERROR_MORE_DATA;
    }
    if (needed) std::memcpy(data, v.data.data(), needed);
  }
  if (size) *size = needed;
  return ERROR_SUCCESS;
}

LSTATUS RegDeleteValueW(HKEY key, LPCWSTR valueName) {
  Registry& reg = Registry::current();
  Registry::Open open;
  if (LSTATUS s = reg.resolve(key, open); s != ERROR_SUCCESS) return s;
  if (!(open.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  if (!open.node->values.erase(foldName(valueName))) return ERROR_FILE_NOT_FOUND;
  return reg.changed();
}

namespace {

LSTATUS deleteKey(HKEY key, LPCWSTR subKey, bool recursive) {
  Registry& reg = Registry::current();
  Registry::Open open;
  if (LSTATUS s = reg.resolve(key, open); s != ERROR_SUCCESS) return s;
  if (!subKey || !*subKey) return ERROR_INVALID_PARAMETER;
  std::vector<std::wstring> parts;
  if (!krv::win::regdetail::splitPath(subKey, parts)) return ERROR_BAD_PATHNAME;
  std::shared_ptr<Node> parent = open.node;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    const auto it = parent->keys.find(foldName(parts[i].c_str()));
    if (it == parent->keys.end()) return ERROR_FILE_NOT_FOUND;
    parent = it->second;
  }
  const auto it = parent->keys.find(foldName(parts.back().c_str()));
  if (it == parent->keys.end()) return ERROR_FILE_NOT_FOUND;
  if (reg.isDenied(*it->second)) return ERROR_ACCESS_DENIED;
  if (!recursive && !it->second->keys.empty()) return ERROR_ACCESS_DENIED;
  krv::win::regdetail::markDeleted(*it->second);
  parent->keys.erase(it);
  return reg.changed();
}

}  // namespace

LSTATUS RegDeleteKeyW(HKEY key, LPCWSTR subKey) { return deleteKey(key, subKey, false); }

LSTATUS SHDeleteKeyW(HKEY key, LPCWSTR subKey) { return deleteKey(key, subKey, true); }

LSTATUS RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD,
                      LPWSTR keyClass, LPDWORD classLength, FILETIME* lastWrite) {
  Registry& reg = Registry::current();
  Registry::Open open;
  if (LSTATUS s = reg.resolve(key, open); s != ERROR_SUCCESS) return s;
  if (!name || !nameLength) return ERROR_INVALID_PARAMETER;
  if (index >= open.node->keys.size()) return ERROR_NO_MORE_ITEMS;
  auto it = open.node->keys.begin();
  std::advance(it, index);
  const std::wstring& found = it->second->name;
  if (*nameLength < found.size() + 1) return ERROR_MORE_DATA;
  std::wmemcpy(name, found.c_str(), found.size() + 1);
  *nameLength = static_cast<DWORD>(found.size());
  if (keyClass && classLength && *classLength) *keyClass = L'\0';
  if (classLength) *classLength = 0;
  if (lastWrite) *lastWrite = FILETIME{};
  return ERROR_SUCCESS;
}

LSTATUS RegEnumValueW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD, LPDWORD type,
                      LPBYTE data, LPDWORD size) {
  Registry& reg = Registry::current();
  Registry::Open open;
  if (LSTATUS s = reg.resolve(key, open); s != ERROR_SUCCESS) return s;
  if (!name || !nameLength || (data && !size)) return ERROR_INVALID_PARAMETER;
  if (index >= open.node->values.size()) return ERROR_NO_MORE_ITEMS;
  auto it = open.node->values.begin();
  std::advance(it, index);
  const Node::Value& v = it->second;
  if (*nameLength < v.name.size() + 1) return ERROR_MORE_DATA;
  const auto needed = static_cast<DWORD>(v.data.size());
  if (data && *size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  std::wmemcpy(name, v.name.c_str(), v.name.size() + 1);
  *nameLength = static_cast<DWORD>(v.name.size());
  if (type) *type = v.type;
  if (data && needed) std::memcpy(data, v.data.data(), needed);
  if (size) *size = needed;
  return ERROR_SUCCESS;
}
