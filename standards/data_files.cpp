#include "standards/data_files.h"

#include <sys/stat.h>

#include <atomic>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <mutex>

#include "platform/base/case_folding.h"
#include "platform/base/utf.h"
#include "platform/core/c_number_text.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/core/text_file.h"
#include "platform/core/text_functions.h"

namespace krv::standards {
namespace {

bool isRegularFile(const Krv_String& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(krv::core::osPath(path), ec);
}

// ---- the cache of parsed files ----------------------------------------

struct FileStamp {
  std::uint64_t device = 0, inode = 0;
  std::int64_t size = 0, modified = 0, changed = 0;  // times in ns
  bool operator==(const FileStamp&) const = default;
};

constexpr std::int64_t kSettledNs = 2'000'000'000;

std::int64_t nanoseconds(const timespec& t) {
  return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

std::int64_t systemNow() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return nanoseconds(now);
}

std::atomic<krv::standards::DataFileClock> gClock{&systemNow};

// The stamp of a file, and whether it is settled: last modified or changed
// long enough ago that a later change must give another stamp.
bool stampOf(const std::string& path, FileStamp& stamp, bool& settled) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.size = st.st_size;
  stamp.modified = nanoseconds(st.st_mtim);
  stamp.changed = nanoseconds(st.st_ctim);
  const std::int64_t n = gClock.load()();
  settled = n - stamp.modified > kSettledNs && n - stamp.changed > kSettledNs;
  return true;
}

std::atomic<bool> gCacheOn{true};

template <typename T>
class ParsedFiles {
 public:
  static constexpr std::size_t kMaxFiles = 16;

  std::shared_ptr<const T> find(const std::string& path, const FileStamp& stamp) {
    std::lock_guard lock(mMutex);
    auto it = mFiles.find(path);
    if (it == mFiles.end()) return nullptr;
    if (!(it->second.stamp == stamp)) {
      mFiles.erase(it);
      return nullptr;
    }
    it->second.lastUse = ++mClock;
    return it->second.data;
  }

  void keep(const std::string& path, const FileStamp& stamp, std::shared_ptr<const T> data) {
    std::lock_guard lock(mMutex);
    if (mFiles.size() >= kMaxFiles && !mFiles.count(path)) {
      auto oldest = mFiles.begin();
      for (auto it = mFiles.begin(); it != mFiles.end(); ++it)
        if (it->second.lastUse < oldest->second.lastUse) oldest = it;
      mFiles.erase(oldest);
    }
    mFiles[path] = Entry{stamp, std::move(data), ++mClock};
  }

  void clear() {
    std::lock_guard lock(mMutex);
    mFiles.clear();
  }

 private:
  struct Entry {
    FileStamp stamp;
    std::shared_ptr<const T> data;
    std::uint64_t lastUse = 0;
  };
  std::mutex mMutex;
  std::unordered_map<std::string, Entry> mFiles;
  std::uint64_t mClock = 0;
};

ParsedFiles<LookupTable>& lookupFiles() {
  static ParsedFiles<LookupTable> files;
  return files;
}

ParsedFiles<StdSizes>& sizeFiles() {
  static ParsedFiles<StdSizes> files;
  return files;
}

// Reads the file at a resolved path through the cache: parse(lines, data)
// builds the data of a file just read.
template <typename T, typename Parse>
std::shared_ptr<const T> readParsed(ParsedFiles<T>& files, const Krv_String& path, Parse parse) {
  const bool useCache = gCacheOn.load();
  std::string osPath;
  FileStamp stamp;
  bool settled = false;
  if (useCache) {
    osPath = krv::core::osPath(path).string();
    if (!stampOf(osPath, stamp, settled)) return nullptr;
    if (auto kept = files.find(osPath, stamp)) return kept;
  }
  Krv_StringArray lines;
  if (!ObjectExportReadFile(path, lines)) return nullptr;
  auto data = std::make_shared<T>();
  parse(lines, *data);
  if (useCache && settled) files.keep(osPath, stamp, data);
  return data;
}

}  // namespace

bool findDataFile(const Krv_String& name, Krv_String& path) {
  if (name.isEmpty()) return false;
  if (isRegularFile(name)) {
    path = name;
    return true;
  }
  const Krv_String lib = Krv_Settings::libDir();
  if (lib.isEmpty()) return false;
  for (const wchar_t* sub : {L"Connection Standards\\Data\\", L"Connection Standards\\", L""}) {
    const Krv_String candidate = lib + sub + name;
    if (isRegularFile(candidate)) {
      path = candidate;
      return true;
    }
  }
  return false;
}

int LookupTable::findKey(const Krv_String& key) const {
  auto it = firstRowOfKey.find(krv::base::foldCase(key.str()));
  return it == firstRowOfKey.end() ? -1 : it->second;
}

std::shared_ptr<const LookupTable> readLookupTable(const Krv_String& path) {
  return readParsed(lookupFiles(), path, krv::standards::parseLookupLines);
}

bool readStdSizes(const Krv_String& fileName, Krv_Array<double>& widths,
                  Krv_Array<double>& thicknesses) {
  widths.removeAll();
  thicknesses.removeAll();
  Krv_String path;
  if (!findDataFile(fileName, path)) return false;
  auto sizes = readParsed(sizeFiles(), path, krv::standards::parseStdSizeLines);
  if (!sizes) return false;
  widths = sizes->widths;
  thicknesses = sizes->thicknesses;
  return true;
}

void setDataFileCacheEnabled(bool on) {
  gCacheOn = on;
  if (!on) clearDataFileCache();
}

bool dataFileCacheEnabled() { return gCacheOn.load(); }

void clearDataFileCache() {
  lookupFiles().clear();
  sizeFiles().clear();
}

void setDataFileClock(DataFileClock clock) { gClock = clock ? clock : &systemNow; }

void parseLookupLines(const Krv_StringArray& lines, LookupTable& table) {
  // The arrays grow by a fixed step; reserving keeps large files linear.
  table.rows.removeAll();
  table.rows.setPhysicalLength(lines.length());
  for (Krv_String line : lines) {
    removeLineComment(line);
    if (line.isEmpty()) continue;
    Krv_StringArray row;
    splitStringAtSymbol(line, L'\t', row, false);
    table.rows.append(row);
  }
  table.firstRowOfKey.clear();
  table.firstRowOfKey.reserve(static_cast<size_t>(table.rows.length()));
  for (int i = 0; i < table.rows.length(); ++i) {
    const Krv_StringArray& row = table.rows[i];
    table.firstRowOfKey.try_emplace(base::foldCase(row.isEmpty() ? std::wstring() : row[0].str()),
                                    i);
  }
}

void parseStdSizeLines(const Krv_StringArray& lines, StdSizes& sizes) {
  sizes.widths.removeAll();
  sizes.thicknesses.removeAll();
  sizes.widths.setPhysicalLength(lines.length());
  sizes.thicknesses.setPhysicalLength(lines.length());
  for (Krv_String line : lines) {
    removeComments(line);
    removeLineComment(line);
    line.trim();
    if (line.isEmpty()) continue;
    Krv_String w, t;
    if (splitStringAtSymbol(line, L'x', w, t, true)) {
      sizes.widths.append(_wtof(w));
      sizes.thicknesses.append(_wtof(t));
    } else {
      sizes.widths.append(_wtof(line));
      sizes.thicknesses.append(0.0);
    }
  }
}

}  // namespace krv::standards
