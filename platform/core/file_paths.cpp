#include "platform/core/file_paths.h"

#include <algorithm>
#include <system_error>

#include "platform/base/case_folding.h"
#include "platform/base/file_io.h"
#include "platform/base/utf.h"
#include "platform/core/text_file.h"
#include "platform/core/text_functions.h"

namespace fs = std::filesystem;

namespace {

bool isSep(wchar_t c) { return c == L'\\' || c == L'/'; }

int lastSeparator(const Krv_String& path) {
  for (int i = path.length() - 1; i >= 0; --i)
    if (isSep(path[i])) return i;
  return -1;
}

bool pathExists(const fs::path& p) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(p, ec));
}

// The entry of folder whose name equals name ignoring case; empty when none.
fs::path findIgnoringCase(const fs::path& folder, const std::wstring& name) {
  std::error_code ec;
  const std::wstring folded = krv::base::foldCase(name);
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    const std::wstring entry = krv::base::utf8ToWide(it->path().filename().string());
    if (krv::base::foldCase(entry) == folded) return it->path().filename();
  }
  return {};
}

}  // namespace

namespace krv::core {

fs::path osPath(const Krv_String& path) {
  std::string text = path.utf8();
  std::replace(text.begin(), text.end(), '\\', '/');
  const fs::path direct(text);
  if (text.empty() || pathExists(direct)) return direct;

  // Walk the components, replacing each missing one by an existing entry
  // that differs only in letter case.
  fs::path result = direct.root_path();
  fs::path rel = direct.relative_path();
  bool resolving = true;
  for (const fs::path& part : rel) {
    const std::string s = part.string();
    if (s.empty() || s == "." || s == "..") {
      result /= part;
      continue;
    }
    if (resolving && !pathExists(result.empty() ? part : result / part)) {
      const fs::path match = findIgnoringCase(result, base::utf8ToWide(s));
      if (!match.empty()) {
        result /= match;
        continue;
      }
      resolving = false;
    }
    result /= part;
  }
  if (!text.empty() && text.back() == '/' && !result.empty() && result.string().back() != '/')
    result += "/";
  return result;
}

Krv_String fromOsPath(const fs::path& path) {
  std::wstring text = base::utf8ToWide(path.string());
  std::replace(text.begin(), text.end(), L'/', L'\\');
  return Krv_String(text);
}

bool samePath(const Krv_String& a, const Krv_String& b) {
  auto norm = [](const Krv_String& p) {
    std::wstring t = base::foldCase(p.str());
    std::replace(t.begin(), t.end(), L'/', L'\\');
    while (t.size() > 1 && t.back() == L'\\') t.pop_back();
    return t;
  };
  return norm(a) == norm(b);
}

bool wildcardMatch(const Krv_String& pattern, const Krv_String& name, bool caseSensitive) {
  const std::wstring p = caseSensitive ? pattern.str() : base::foldCase(pattern.str());
  const std::wstring n = caseSensitive ? name.str() : base::foldCase(name.str());
  // Iterative matcher with one backtrack point per '*'.
  size_t pi = 0, ni = 0, starP = std::wstring::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == L'?' || p[pi] == n[ni])) {
      ++pi, ++ni;
    } else if (pi < p.size() && p[pi] == L'*') {
      starP = pi++;
      starN = ni;
    } else if (starP != std::wstring::npos) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == L'*') ++pi;
  return pi == p.size();
}

bool hasWildcards(const Krv_String& text) { return text.find(L'*') >= 0 || text.find(L'?') >= 0; }

Krv_String withTrailingSeparator(const Krv_String& folder) {
  if (folder.isEmpty()) return folder;
  std::wstring t = folder.str();
  std::replace(t.begin(), t.end(), L'/', L'\\');
  while (!t.empty() && t.back() == L'\\') t.pop_back();
  return Krv_String(t + L'\\');
}

}  // namespace krv::core

Krv_String getPath(const Krv_String& path) {
  const int p = lastSeparator(path);
  return p < 0 ? Krv_String() : path.left(p + 1);
}

bool getFileName(const Krv_String& path, Krv_String& name) {
  name = path.substr(lastSeparator(path) + 1);
  return !name.isEmpty();
}

Krv_String getFileName(const Krv_String& path) { return path.substr(lastSeparator(path) + 1); }

void removeExtension(Krv_String& path) {
  const int nameStart = lastSeparator(path) + 1;
  const int dot = path.findLast(L'.');
  if (dot > nameStart) path = path.left(dot);
}

void changeExtension(Krv_String& path, const Krv_String& ext) {
  removeExtension(path);
  Krv_String e = ext;
  while (e.startsWith(L".")) e = e.substr(1);
  if (!e.isEmpty()) path += L'.' + e;
}

Krv_String ensureNoStartBSlash(const Krv_String& path) {
  int i = 0;
  while (i < path.length() && isSep(path[i])) ++i;
  return path.substr(i);
}

bool fileExists(const Krv_String& path) {
  if (path.isEmpty()) return false;
  const Krv_String name = getFileName(path);
  if (!krv::core::hasWildcards(name)) return pathExists(krv::core::osPath(path));
  const Krv_String folder = getPath(path);
  std::error_code ec;
  fs::directory_iterator it(folder.isEmpty() ? fs::path(".") : krv::core::osPath(folder), ec), end;
  for (; !ec && it != end; it.increment(ec))
    if (krv::core::wildcardMatch(name, Krv_String(it->path().filename().string()))) return true;
  return false;
}

bool folderExists(const Krv_String& path) {
  std::error_code ec;
  return !path.isEmpty() && fs::is_directory(krv::core::osPath(path), ec);
}

bool copyFile(const Krv_String& from, const Krv_String& to) {
  if (from.isEmpty() || to.isEmpty()) return false;
  const krv::base::Result<std::string> bytes =
      krv::base::readFile(krv::core::osPath(from), UINTMAX_MAX);
  return bytes.ok() && krv::base::writeFileAtomic(krv::core::osPath(to), *bytes).ok();
}

bool deleteFile(const Krv_String& path) {
  if (path.isEmpty()) return false;
  const fs::path p = krv::core::osPath(path);
  std::error_code ec;
  if (fs::is_directory(fs::symlink_status(p, ec))) return false;
  return fs::remove(p, ec) && !ec;
}

bool ObjectExportFindFilesRecursive(const Krv_String& folder, const Krv_String& pattern,
                                    Krv_StringArray& files) {
  files.removeAll();
  const fs::path root = krv::core::osPath(folder.isEmpty() ? Krv_String(L".") : folder);
  std::error_code ec;
  if (!fs::is_directory(root, ec)) return false;
  const Krv_String prefix = krv::core::withTrailingSeparator(folder);
  std::vector<Krv_String> found;
  fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    if (!krv::core::wildcardMatch(pattern, Krv_String(it->path().filename().string()))) continue;
    found.push_back(prefix + krv::core::fromOsPath(it->path().lexically_relative(root)));
  }
  std::sort(found.begin(), found.end(),
            [](const Krv_String& a, const Krv_String& b) { return compareNatural(a, b) < 0; });
  for (auto& f : found) files.append(f);
  return true;
}

bool ObjectExportGetFileTime(const Krv_String& path, Krv_FileTime& time) {
  std::error_code ec;
  if (path.isEmpty()) return false;
  const auto t = fs::last_write_time(krv::core::osPath(path), ec);
  if (ec) return false;
  time = t;
  return true;
}
