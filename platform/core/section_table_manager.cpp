#include "platform/core/section_table_manager.h"

#include "platform/base/case_folding.h"
#include "platform/base/utf.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/core/text_file.h"

namespace {

// Family name of a file name: without folder and without ".pr".
Krv_String familyOf(const Krv_String& fileName) {
  Krv_String name = getFileName(fileName);
  if (name.endsWith(L".pr", false)) name = name.left(name.length() - 3);
  return name;
}

int languageCount(const Krv_StringArray& headers) {
  return headers.length() > 5 && headers[5] == L"Korean" ? 5 : 4;
}

std::wstring folded(const Krv_String& text) { return krv::base::foldCase(text.str()); }

}  // namespace

Krv_SectionTableManager& Krv_SectionTableManager::global() {
  static Krv_SectionTableManager tables;
  const Krv_String lib = Krv_Settings::libDir();
  if (!tables.mLoaded || !(lib == tables.mLoadedLibDir)) {
    tables.removeAll();
    tables.mLoaded = true;
    tables.mLoadedLibDir = lib;
    if (!lib.isEmpty()) tables.loadFolder(lib + L"prof\\");
  }
  return tables;
}

Acad::ErrorStatus Krv_SectionTableManager::addSectionTable(const Krv_String& fileName,
                                                           const Krv_String& shape,
                                                           const Krv_StringArray& headers,
                                                           const Krv_StringTable& rows) {
  const Krv_String family = familyOf(fileName);
  if (family.isEmpty() || findTable(family) >= 0) return Acad::eInvalidInput;
  const int languages = languageCount(headers);
  if (headers.length() < 1 + languages) return Acad::eInvalidInput;
  for (const Krv_StringArray& row : rows)
    if (row.isEmpty()) return Acad::eInvalidInput;
  mTables.push_back(Table{family, shape, headers, rows, languages});
  rebuildIndex();
  return Acad::eOk;
}

int Krv_SectionTableManager::findTable(const Krv_String& family) const {
  const Krv_String name = familyOf(family);
  for (std::size_t i = 0; i < mTables.size(); ++i)
    if (mTables[i].family.equal(name, false)) return static_cast<int>(i);
  return -1;
}

bool Krv_SectionTableManager::hasTable(const Krv_String& family) const {
  return findTable(family) >= 0;
}

bool Krv_SectionTableManager::removeTable(const Krv_String& family) {
  const int i = findTable(family);
  if (i < 0) return false;
  mTables.erase(mTables.begin() + i);
  rebuildIndex();
  return true;
}

void Krv_SectionTableManager::removeAll() {
  mTables.clear();
  rebuildIndex();
}

Krv_StringArray Krv_SectionTableManager::familyNames() const {
  Krv_StringArray names;
  for (const Table& t : mTables) names.append(t.family);
  return names;
}

void Krv_SectionTableManager::rebuildIndex() {
  mFullNames.clear();
  mUserNames.clear();
  for (std::size_t t = 0; t < mTables.size(); ++t) {
    const Table& table = mTables[t];
    for (int r = 0; r < table.rows.length(); ++r) {
      const Krv_StringArray& row = table.rows[r];
      mFullNames.try_emplace(folded(table.family + L"-" + row[0]), Position{t, r});
      for (int c = 1; c <= table.languages && c < row.length(); ++c)
        if (!row[c].isEmpty()) mUserNames.try_emplace(folded(row[c]), Position{t, r});
    }
  }
}

const Krv_SectionTableManager::Position* Krv_SectionTableManager::locate(
    const Krv_String& section) const {
  if (section.isEmpty()) return nullptr;
  const std::wstring key = folded(section);
  if (auto it = mFullNames.find(key); it != mFullNames.end()) return &it->second;
  if (auto it = mUserNames.find(key); it != mUserNames.end()) return &it->second;
  return nullptr;
}

bool Krv_SectionTableManager::getSystemName(const Krv_String& section, Krv_String& sysName) const {
  const Position* p = locate(section);
  if (!p) return false;
  const Table& table = mTables[p->table];
  sysName = table.family + L"-" + table.rows[p->row][0];
  return true;
}

bool Krv_SectionTableManager::getValue(const Krv_String& section, int index,
                                       Krv_String& value) const {
  const Position* p = locate(section);
  if (!p || index < 0) return false;
  const Table& table = mTables[p->table];
  const Krv_StringArray& row = table.rows[p->row];
  const int column = 1 + table.languages + index;
  if (column >= row.length()) return false;
  value = row[column];
  return true;
}

bool Krv_SectionTableManager::getValueColumnNames(const Krv_String& section,
                                                  Krv_StringArray& names) const {
  const Position* p = locate(section);
  if (!p) return false;
  const Table& table = mTables[p->table];
  names.removeAll();
  for (int c = 1 + table.languages; c < table.headers.length(); ++c) names.append(table.headers[c]);
  return true;
}

bool Krv_SectionTableManager::getUserName(const Krv_String& section, const Krv_String& language,
                                          Krv_String& name) const {
  const Position* p = locate(section);
  if (!p) return false;
  const Table& table = mTables[p->table];
  for (int c = 1; c <= table.languages && c < table.headers.length(); ++c) {
    if (!table.headers[c].equal(language, false)) continue;
    const Krv_StringArray& row = table.rows[p->row];
    if (c >= row.length()) return false;
    name = row[c];
    return true;
  }
  return false;
}

bool Krv_SectionTableManager::getShape(const Krv_String& section, Krv_String& shape) const {
  const Position* p = locate(section);
  if (!p) return false;
  shape = mTables[p->table].shape;
  return true;
}

bool Krv_SectionTableManager::loadTableFile(const Krv_String& path) {
  Krv_String family;
  Krv_StringTable fileRows;
  if (!readFile(path, family, fileRows) || fileRows.length() < 2) return false;
  Krv_String shape = fileRows[0].isEmpty() ? Krv_String() : fileRows[0][0];
  if (shape.contains(L".")) shape = Krv_String(L"Prof\\") + shape;
  // Column 1 is the active flag; a row of a single cell keeps that cell.
  auto withoutFlag = [](Krv_StringArray row) {
    if (row.length() > 1) row.removeAt(1);
    return row;
  };
  const Krv_StringArray headers = withoutFlag(fileRows[1]);
  Krv_StringTable rows;
  for (int i = 2; i < fileRows.length(); ++i) {
    if (fileRows[i].isEmpty()) continue;  // blank line
    rows.append(withoutFlag(fileRows[i]));
  }
  const Krv_String fileName = family + L".pr";
  Krv_SectionTableManager candidate;
  if (candidate.addSectionTable(fileName, shape, headers, rows) != Acad::eOk) return false;
  removeTable(family);
  return addSectionTable(fileName, shape, headers, rows) == Acad::eOk;
}

int Krv_SectionTableManager::loadFolder(const Krv_String& folder) {
  Krv_StringArray files;
  if (!ObjectExportFindFilesRecursive(folder, L"*.pr", files)) return 0;
  int loaded = 0;
  for (const Krv_String& file : files) {
    // Only the folder itself, not its subfolders.
    if (!krv::core::samePath(getPath(file), folder)) continue;
    if (loadTableFile(file)) ++loaded;
  }
  return loaded;
}

Acad::ErrorStatus getSectionValue(const Krv_String& section, int index, Krv_String& value) {
  return Krv_SectionTableManager::global().getValue(section, index, value) ? Acad::eOk
                                                                           : Acad::eInvalidInput;
}

Acad::ErrorStatus getSectionColumnNames(const Krv_String& section, Krv_StringArray& names) {
  return Krv_SectionTableManager::global().getValueColumnNames(section, names)
             ? Acad::eOk
             : Acad::eInvalidInput;
}

Acad::ErrorStatus getSectionSystemName(const Krv_String& section, Krv_String& sysName) {
  return Krv_SectionTableManager::global().getSystemName(section, sysName) ? Acad::eOk
                                                                           : Acad::eInvalidInput;
}
