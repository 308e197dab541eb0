#pragma once
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/acad/acad_status.h"
#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"

// Krv_SectionTableManager: the section tables of the product, one per
// section family, as the rest of the product looks sections up in them.
//
// A table is handed over as a file name ("IPE.pr"; the family name is the
// name without folder and without ".pr"), a shape (a section type number
// as text, or "Prof\<drawing>.dwg"), the column headers and the rows. Its
// columns, by position:
//   0          the system name of the section within its family ("200")
//   1 .. n     the section's user name in each of the n languages
//   n + 1 ...  the dimension values, headed by their names
// The number of languages n is 4, or 5 when the table has more than five
// columns and column 5 is headed "Korean". (A family's file has an active
// flag in column 1 as well; the manager's tables never hold it.)
//
// A section is named either by its full system name, the family, "-" and
// the system name ("IPE-200"), or by one of its user names in any language
// column ("IPE 200"). Names are compared ignoring letter case. A full name
// wins over a user name; of several tables giving the same user name the
// one added first wins, and within a table the first row.
class Krv_SectionTableManager {
 public:
  Krv_SectionTableManager() = default;
  virtual ~Krv_SectionTableManager() = default;
  Krv_SectionTableManager(const Krv_SectionTableManager&) = default;
  Krv_SectionTableManager& operator=(const Krv_SectionTableManager&) = default;

  // The core module's global section tables. The first call, and every
  // call after the library folder (Krv_Settings::libDir()) has changed,
  // loads them from the library's "prof\" folder (loadFolder); tables
  // added since are then replaced by those of the new library.
  static Krv_SectionTableManager& global();

  // Adds a table (see the class comment). eInvalidInput when the family
  // name is empty, a table of that family already exists (remove it
  // first), there are fewer headers than the system name and language
  // columns need, or a row has no cells.
  Acad::ErrorStatus addSectionTable(const Krv_String& fileName, const Krv_String& shape,
                                    const Krv_StringArray& headers, const Krv_StringTable& rows);
  // Family names; a trailing ".pr" is ignored ("IPE" and "ipe.pr" name the
  // same table).
  bool hasTable(const Krv_String& family) const;
  bool removeTable(const Krv_String& family);
  void removeAll();
  int tableCount() const { return static_cast<int>(mTables.size()); }
  Krv_StringArray familyNames() const;

  // The full system name ("IPE-200") of a section given by full or user
  // name; false (sysName unchanged) when no table knows the name.
  bool getSystemName(const Krv_String& section, Krv_String& sysName) const;
  // The value of a section at a value column: index 0 is the first value
  // column (the first after the language columns), index 1 the next. False
  // for an unknown section, a negative index, or an index at or beyond the
  // end of the section's row.
  bool getValue(const Krv_String& section, int index, Krv_String& value) const;
  // The headers of the value columns of the section's table (so the name
  // of value index i is names[i]).
  bool getValueColumnNames(const Krv_String& section, Krv_StringArray& names) const;
  // The section's user name in the language column headed `language`
  // (ignoring case). False for an unknown section or language.
  bool getUserName(const Krv_String& section, const Krv_String& language, Krv_String& name) const;
  // The shape of the section's table.
  bool getShape(const Krv_String& section, Krv_String& shape) const;

  // Reads one family file (the table form of readFile: row 0 the shape,
  // row 1 the headers, then the rows; column 1 the active flag, which is
  // dropped) and adds it, replacing a table of the same family. A shape
  // holding a "." (a drawing file) is prefixed with "Prof\". False when the
  // file cannot be read, has fewer than two rows or is refused by
  // addSectionTable; the manager is then unchanged.
  bool loadTableFile(const Krv_String& path);
  // Loads every "*.pr" file of the folder (in sorted order) and returns how
  // many were loaded; files that fail are skipped.
  int loadFolder(const Krv_String& folder);

 private:
  struct Table {
    Krv_String family;
    Krv_String shape;
    Krv_StringArray headers;
    Krv_StringTable rows;
    int languages = 4;
  };
  struct Position {
    std::size_t table;
    int row;
  };
  const Position* locate(const Krv_String& section) const;
  void rebuildIndex();
  int findTable(const Krv_String& family) const;

  std::vector<Table> mTables;
  // Folded full names and folded user names to their rows.
  std::unordered_map<std::wstring, Position> mFullNames;
  std::unordered_map<std::wstring, Position> mUserNames;
  Krv_String mLoadedLibDir;
  bool mLoaded = false;
};

// The look-ups of the global section tables as the rest of the product
// calls them; eOk or eInvalidInput.
Acad::ErrorStatus getSectionValue(const Krv_String& section, int index, Krv_String& value);
Acad::ErrorStatus getSectionColumnNames(const Krv_String& section, Krv_StringArray& names);
// The full system name of a section given by any of its names.
Acad::ErrorStatus getSectionSystemName(const Krv_String& section, Krv_String& sysName);
