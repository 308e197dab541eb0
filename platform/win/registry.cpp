#include "platform/win/registry.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <vector>

#include "platform/base/case_folding.h"
#include "platform/base/display_text.h"
#include "platform/base/file_io.h"
#include "platform/base/file_text.h"
#include "platform/base/utf.h"

namespace krv {

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

nlohmann::json nodeToJson(const Registry::Node& node) {
  nlohmann::json j = nlohmann::json::object();
  j["name"] = base::toUtf8(node.name);
  nlohmann::json values = nlohmann::json::array();
  for (const auto& [_, v] : node.values) {
    nlohmann::json jv = {{"name", base::toUtf8(v.name)}, {"type", v.type}};
    std::wstring text;
    if (isTextType(v.type) && textOf(v.data, text)) {
      jv["text"] = base::toUtf8(text);
    } else if (v.type == REG_DWORD && v.data.size() == 4) {
      DWORD d;
      std::memcpy(&d, v.data.data(), 4);
      jv["dword"] = d;
    } else {
      jv["hex"] = hexOf(v.data);
    }
    values.push_back(std::move(jv));
  }
  j["values"] = std::move(values);
  nlohmann::json keys = nlohmann::json::array();
  for (const auto& [_, child] : node.keys) keys.push_back(nodeToJson(*child));
  j["keys"] = std::move(keys);
  return j;
}

struct LoadError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::shared_ptr<Registry::Node> nodeFromJson(const nlohmann::json& j, const std::wstring& parentPath,
                                             bool isRoot, const std::wstring& rootName, int depth) {
  if (!j.is_object()) throw LoadError("a key is not an object");
  if (depth > kMaxDepth) throw LoadError("keys are nested too deeply");
  auto node = std::make_shared<Registry::Node>();
  node->depth = depth;
  if (isRoot) {
    node->name = rootName;
    node->fullPath = fold(rootName);
  } else {
    if (!j.contains("name") || !j["name"].is_string()) throw LoadError("a key has no name");
    node->name = base::utf8ToWide(j["name"].get<std::string>());
    if (node->name.empty() || node->name.size() > 255 || node->name.find(L'\\') != std::wstring::npos)
      throw LoadError("invalid key name \"" + j["name"].get<std::string>() + "\"");
    node->fullPath = parentPath + L'\\' + fold(node->name);
  }
  if (j.contains("values")) {
    if (!j["values"].is_array()) throw LoadError("\"values\" is not an array");
    for (const auto& jv : j["values"]) {
      if (!jv.is_object() || !jv.contains("name") || !jv["name"].is_string() || !jv.contains("type") ||
          !jv["type"].is_number_unsigned())
        throw LoadError("a value needs a name and a type");
      Registry::Node::Value v;
      v.name = base::utf8ToWide(jv["name"].get<std::string>());
      const auto type = jv["type"].get<std::uint64_t>();
      if (type > 0xFFFFFFFFu) throw LoadError("a value type is out of range");
      v.type = static_cast<DWORD>(type);
      if (jv.contains("text") && jv["text"].is_string()) {
        v.data = bytesOfText(base::utf8ToWide(jv["text"].get<std::string>()));
      } else if (jv.contains("dword") && jv["dword"].is_number_unsigned() &&
                 jv["dword"].get<std::uint64_t>() <= 0xFFFFFFFFu) {
        const auto d = static_cast<DWORD>(jv["dword"].get<std::uint64_t>());
        v.data.resize(4);
        std::memcpy(v.data.data(), &d, 4);
      } else if (jv.contains("hex") && jv["hex"].is_string()) {
        if (!bytesOfHex(jv["hex"].get<std::string>(), v.data)) throw LoadError("bad hex data");
      } else {
        throw LoadError("value \"" + jv["name"].get<std::string>() + "\" has no data");
      }
      const std::wstring key = fold(v.name);
      if (!node->values.emplace(key, std::move(v)).second) throw LoadError("a value name repeats");
    }
  }
  if (j.contains("keys")) {
    if (!j["keys"].is_array()) throw LoadError("\"keys\" is not an array");
    for (const auto& jk : j["keys"]) {
      auto child = nodeFromJson(jk, node->fullPath, false, L"", depth + 1);
      const std::wstring key = fold(child->name);
      if (!node->keys.emplace(key, std::move(child)).second) throw LoadError("a key name repeats");
    }
  }
  return node;
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
  return mHandles.erase(reinterpret_cast<std::uintptr_t>(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

std::string Registry::toJson() const {
  nlohmann::json doc = {{"format", "korvane registry"}, {"version", kFormatVersion}};
  nlohmann::json roots = nlohmann::json::object();
  for (const auto& [name, node] : mRoots) roots[base::toUtf8(name)] = nodeToJson(*node);
  doc["roots"] = std::move(roots);
  return doc.dump(1);
}

bool Registry::fromJson(const std::string& text, std::string* error) {
  auto fail = [&](const std::string& message) {
    mLastError = message;
    if (error) *error = message;
    return false;
  };
  try {
    // Refuse deep nesting while parsing, before anything recurses over it.
    const nlohmann::json::parser_callback_t limitDepth = [](int depth, nlohmann::json::parse_event_t,
                                                             nlohmann::json&) {
      if (depth > 2 * kMaxDepth + 8) throw LoadError("the document is nested too deeply");
      return true;
    };
    const nlohmann::json doc = nlohmann::json::parse(text, limitDepth);
    if (!doc.is_object() || doc.value("format", std::string()) != "korvane registry")
      return fail("not a registry document");
    if (!doc.contains("version") || !doc["version"].is_number_integer() ||
        doc["version"].get<int>() != kFormatVersion)
      return fail("unsupported registry document version");
    if (!doc.contains("roots") || !doc["roots"].is_object()) return fail("the document has no roots");
    std::map<std::wstring, std::shared_ptr<Node>> roots;
    for (const wchar_t* name : kRootNames) {
      const std::string key = base::toUtf8(name);
      roots[name] = doc["roots"].contains(key) ? nodeFromJson(doc["roots"][key], L"", true, name, 0)
                                               : Registry().mRoots.at(name);
    }
    for (const auto& [name, _] : doc["roots"].items())
      if (!roots.count(base::utf8ToWide(name)))
        return fail("unknown registry root \"" + base::displayText(std::string_view(name)) + "\"");
    for (auto& [_, node] : mRoots) markDeleted(*node);
    mRoots = std::move(roots);
    mHandles.clear();
    return true;
  } catch (const std::exception& e) {
    // The messages may quote bytes and names of the document.
    return fail("malformed registry document: " +
                base::displayText(std::string_view(e.what()), 300));
  }
}

bool Registry::attachFile(const std::filesystem::path& path, std::string* error) {
  auto fail = [&](const std::string& message) {
    mLastError = message;
    if (error) *error = mLastError;
    return false;
  };
  std::error_code ec;
  if (std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found) {
    std::string message;
    const krv::base::Result<std::string> bytes = krv::base::readFile(path, kMaxRegistryFileBytes);
    if (!bytes) return fail("cannot read the registry file: " + bytes.status().message());
    const krv::base::Result<std::string> text = krv::base::fileTextAsUtf8(*bytes);
    if (!krv::base::reportTo(text.status(), message) || !fromJson(*text, &message))
      return fail(path.string() + ": " + message);
  }
  mFile = path;
  mDirty = false;
  mLastError.clear();
  return true;
}

void Registry::detachFile() { mFile.clear(); }

void Registry::holdSaves(bool hold) { mHoldSaves = hold; }

bool Registry::save(std::string* error) const {
  if (mFile.empty()) return true;
  auto fail = [&](const std::string& message) {
    mLastError = message;
    if (error) *error = message;
    return false;
  };
  if (krv::base::Status s = krv::base::checkReplaceable(mFile); !s)
    return fail("cannot write the registry file " + mFile.string() + ": " + s.message());
  // The whole text first, so that a failure to make it writes nothing.
  std::string text;
  try {
    text = toJson() + '\n';
  } catch (const std::exception& e) {
    return fail("cannot write the registry file " + mFile.string() + ": " + e.what());
  }
  std::error_code ec;
  if (mFile.has_parent_path()) std::filesystem::create_directories(mFile.parent_path(), ec);
  const krv::base::Status written = krv::base::writeFileAtomic(mFile, text);
  if (!written)
    return fail("cannot write the registry file " + mFile.string() + ": " + written.message());
  mDirty = false;
  mLastError.clear();
  return true;
}

LSTATUS Registry::changed() {
  if (mHoldSaves) {
    mDirty = true;
    return ERROR_SUCCESS;
  }
  return save() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

std::filesystem::path defaultRegistryFile() {
  std::filesystem::path base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) base = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home) base = std::filesystem::path(home) / ".config";
  else base = ".";
  return base / "korvane" / "registry.json";
}

}  // namespace krv

// ---- the host API over the current store ----

using krv::Registry;
using Node = Registry::Node;

namespace {

std::wstring foldName(LPCWSTR name) { return krv::regdetail::fold(name ? name : L""); }

// Walks `subKey` below `start`; with `create`, adds the missing levels.
LSTATUS walk(Registry& reg, const std::shared_ptr<Node>& start, LPCWSTR subKey, bool create,
             std::shared_ptr<Node>& result, bool& created) {
  std::vector<std::wstring> parts;
  created = false;
  if (!krv::regdetail::splitPath(subKey, parts)) return ERROR_BAD_PATHNAME;
  std::shared_ptr<Node> node = start;
  for (const auto& part : parts) {
    const std::wstring key = foldName(part.c_str());
    auto it = node->keys.find(key);
    if (it == node->keys.end()) {
      if (!create) return ERROR_FILE_NOT_FOUND;
      if (node->depth >= krv::regdetail::kMaxDepth) return ERROR_BAD_PATHNAME;
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

LSTATUS RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD size) {
  Registry& reg = Registry::current();
  Registry::Open open;
  if (LSTATUS s = reg.resolve(key, open); s != ERROR_SUCCESS) return s;
  if (!(open.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  if (reg.failsValueWrites(*open.node)) return ERROR_WRITE_FAULT;
  if ((size && !data) || (type == REG_DWORD && size != 4)) return ERROR_INVALID_PARAMETER;
  if (valueName && std::wcslen(valueName) > krv::regdetail::kMaxNameLength) return ERROR_INVALID_PARAMETER;
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
  if (!krv::regdetail::splitPath(subKey, parts)) return ERROR_BAD_PATHNAME;
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
  krv::regdetail::markDeleted(*it->second);
  parent->keys.erase(it);
  return reg.changed();
}

}  // namespace

LSTATUS RegDeleteKeyW(HKEY key, LPCWSTR subKey) { return deleteKey(key, subKey, false); }

LSTATUS SHDeleteKeyW(HKEY key, LPCWSTR subKey) { return deleteKey(key, subKey, true); }

LSTATUS RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD, LPWSTR keyClass,
                      LPDWORD classLength, FILETIME* lastWrite) {
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
