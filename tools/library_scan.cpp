// What a library folder holds: standards, mapping files and their keys, data files.
#include "tools/library_scan.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/core/file_paths.h"
#include "platform/core/text_file.h"
#include "platform/core/text_functions.h"
#include "tools/shell_quote.h"

namespace fs = std::filesystem;

namespace krv::tools {
namespace {

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// A folder below the library, its components found without regard to
// letter case (the core's path lookup), or nothing when it does not exist.
std::optional<fs::path> findPath(const fs::path& root, const wchar_t* relative) {
  const fs::path p = krv::core::osPath(krv::core::fromOsPath(root) + L"\\" + relative);
  std::error_code ec;
  if (!fs::is_directory(p, ec)) return std::nullopt;
  return p;
}

std::string libraryName(const fs::path& file, const fs::path& base) {
  std::string rel = file.lexically_relative(base).generic_string();
  std::replace(rel.begin(), rel.end(), '/', '\\');
  return rel;
}

// Files below `dir` whose extension (lower case, with dot) is `ext`, or all
// files when `ext` is empty.
std::vector<std::string> collect(const std::optional<fs::path>& dir, const std::string& ext,
                                 bool recursive, std::vector<fs::path>* paths = nullptr) {
  std::vector<std::pair<std::string, fs::path>> found;
  if (!dir) return {};
  std::error_code ec;
  auto visit = [&](const fs::directory_entry& e) {
    std::error_code ec2;
    if (!e.is_regular_file(ec2)) return;
    if (e.path().filename().string().starts_with(".")) return;  // .keep and the like
    if (!ext.empty() && lower(e.path().extension().string()) != ext) return;
    found.emplace_back(libraryName(e.path(), *dir), e.path());
  };
  if (recursive) {
    for (fs::recursive_directory_iterator
             it(*dir, fs::directory_options::skip_permission_denied, ec),
         end;
         !ec && it != end; it.increment(ec))
      visit(*it);
  } else {
    for (fs::directory_iterator it(*dir, ec), end; !ec && it != end; it.increment(ec)) visit(*it);
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> names;
  for (auto& [n, p] : found) {
    names.push_back(n);
    if (paths) paths->push_back(p);
  }
  return names;
}

// The keys of a mapping file: the text before the first "=" of every line
// after the optional "Mapping version" header, read as the engine reads it.
MappingFileInfo readMappingKeys(const std::string& name, const fs::path& path) {
  MappingFileInfo info{name, {}, {}, {}};
  Krv_StringArray lines;
  krv::core::TextDecoding how;
  if (!krv::core::readTextLines(path, lines, &how)) {
    info.error = "cannot be read";
    return info;
  }
  info.note = how.note();
  for (int i = 0; i < lines.length(); ++i) {
    const Krv_String& line = lines[i];
    if (i == 0 && hasSubString(line, L"Mapping", false) && hasSubString(line, L"version", false))
      continue;
    if (line.isEmpty()) continue;
    Krv_String key, rest;
    if (!splitString(line, L"=", key, rest, false)) key = Krv_String();
    info.keys.push_back(key.utf8());
  }
  return info;
}

}  // namespace

krv::base::Result<LibraryContents> scanLibrary(const std::string& folder) {
  using krv::base::Status;
  std::error_code ec;
  fs::path root(folder);
  if (!fs::exists(root, ec))
    return Status::error("the library folder " + shellQuoted(folder) + " does not exist");
  if (!fs::is_directory(root, ec)) return Status::error(shellQuoted(folder) + " is not a folder");
  fs::directory_iterator probe(root, ec);
  if (ec) {
    return Status::error("the library folder " + shellQuoted(folder) +
                         " cannot be read: " + ec.message());
  }
  LibraryContents out;
  out.root = fs::absolute(root, ec).lexically_normal().string();
  auto standardsDir = findPath(root, L"Connection Standards");
  auto dataDir = findPath(root, L"Connection Standards\\Data");
  out.standards = collect(standardsDir, ".vts", true);
  std::vector<fs::path> mapPaths;
  auto mapNames = collect(standardsDir, ".map", true, &mapPaths);
  for (size_t i = 0; i < mapNames.size(); ++i)
    out.mappings.push_back(readMappingKeys(mapNames[i], mapPaths[i]));
  out.dataFiles = collect(dataDir, "", true);
  out.sectionTables = collect(findPath(root, L"prof"), ".pr", false);
  out.designs = collect(findPath(root, L"Dialog Templates\\Dialog Design"), ".txt", true);
  return out;
}

}  // namespace krv::tools
