#include "platform/core/dial_string.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <unordered_map>

#include "platform/core/c_number_text.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/core/text_file.h"
#include "platform/core/text_functions.h"

#ifndef KRV_RESOURCES_DIR
#define KRV_RESOURCES_DIR "resources"
#endif

namespace {

using Table = std::unordered_map<int, Krv_String>;

struct Cache {
  std::mutex mutex;
  std::map<std::wstring, Table> byFile;
};

Cache& cache() {
  static Cache c;
  return c;
}

Krv_String stringsFile(const Krv_String& language) {
  return krv::core::resourcesDir() + L"/strings/" + language + L".txt";
}

// The table of one language, loaded on first use. A missing file is an
// empty table.
const Table& table(const Krv_String& language) {
  const Krv_String file = stringsFile(language);
  Cache& c = cache();
  auto it = c.byFile.find(file.str());
  if (it != c.byFile.end()) return it->second;
  Table t;
  Krv_StringArray lines;
  ObjectExportReadFile(file, lines);
  for (const Krv_String& line : lines) {
    if (line.isEmpty() || line[0] == L'#') continue;
    Krv_String id, text;
    if (!splitStringAtSymbol(line, L'\t', id, text, false) || !isNumber(id)) continue;
    t[_wtoi(id)] = Krv_String(krv::core::unescapeField(text.str()));
  }
  return c.byFile.emplace(file.str(), std::move(t)).first->second;
}

bool lookUp(const Krv_String& language, int id, Krv_String& text) {
  const Table& t = table(language);
  auto it = t.find(id);
  if (it == t.end()) return false;
  text = it->second;
  return true;
}

}  // namespace

namespace krv::core {

Krv_String resourcesDir() {
  const char* env = std::getenv("KRV_RESOURCES_DIR");
  Krv_String dir = (env && *env) ? Krv_String(env) : Krv_String(KRV_RESOURCES_DIR);
  while (dir.length() > 1 && (dir.endsWith(L"/") || dir.endsWith(L"\\")))
    dir = dir.left(dir.length() - 1);
  return dir;
}

Krv_StringArray dialStringLanguages() {
  Krv_StringArray codes;
  std::error_code ec;
  std::filesystem::directory_iterator it(osPath(resourcesDir() + L"/strings"), ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    if (it->path().extension() != ".txt") continue;
    codes.append(Krv_String(it->path().stem().string()));
  }
  sortArray(codes);
  const int en = codes.find(Krv_String(L"en"), true);
  if (en > 0) {
    codes.removeAt(en);
    codes.insertAt(0, L"en");
  }
  return codes;
}

void clearDialStringCache() {
  std::lock_guard<std::mutex> lock(cache().mutex);
  cache().byFile.clear();
}

}  // namespace krv::core

Krv_String dialString(int id) {
  const Krv_String language = Krv_Settings::workLanguage();
  std::lock_guard<std::mutex> lock(cache().mutex);
  Krv_String text;
  if (lookUp(language, id, text) || lookUp(L"en", id, text)) return text;
  return L"[#" + Krv_String(std::to_wstring(id)) + L"]";
}

Krv_StringArray dialStringAllLangs(int id) {
  const Krv_StringArray languages = krv::core::dialStringLanguages();
  std::lock_guard<std::mutex> lock(cache().mutex);
  Krv_StringArray texts;
  for (const Krv_String& language : languages) {
    Krv_String text;
    if (!lookUp(language, id, text) && !lookUp(L"en", id, text))
      text = L"[#" + Krv_String(std::to_wstring(id)) + L"]";
    texts.append(text);
  }
  return texts;
}
