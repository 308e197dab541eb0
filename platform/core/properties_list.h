#pragma once
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/base/status.h"
#include "platform/core/krv_string.h"

// Krv_PropertiesList: named values of type int, double or string, kept in
// the order they were first set. Names are compared exactly.
//
// File form (UTF-8, one property a line, written atomically):
//   Krv properties version 1
//   i<TAB>name<TAB>42
//   d<TAB>name<TAB>0.1            (shortest text that reads back exactly)
//   s<TAB>name<TAB>text
// Names and string values escape backslash, tab, LF and CR as \\ \t \n \r,
// so every value, including empty ones and ones with blanks at the ends,
// reads back exactly.
//
// A list read from a file writes back in that file's form: a property
// whose value was not changed keeps its line as written (1e3 stays 1e3),
// blank lines stay where they were, new properties go at the end.
class Krv_PropertiesList {
 public:
  enum class Type { Int, Double, String };

  Krv_PropertiesList() = default;
  virtual ~Krv_PropertiesList() = default;
  Krv_PropertiesList(const Krv_PropertiesList&) = default;
  Krv_PropertiesList& operator=(const Krv_PropertiesList&) = default;

  // Sets a property, replacing its value and type when it exists (it keeps
  // its place).
  void setProperty(const Krv_String& name, int value);
  void setProperty(const Krv_String& name, double value);
  void setProperty(const Krv_String& name, const Krv_String& value);
  void setProperty(const Krv_String& name, const wchar_t* value) {
    setProperty(name, Krv_String(value));
  }

  // Reads a property; false (value unchanged) when there is none or it is
  // text asked as a number or a number asked as text. An int property reads
  // as double; a double property reads as int truncated towards zero.
  bool getProperty(const Krv_String& name, int& value) const;
  bool getProperty(const Krv_String& name, double& value) const;
  bool getProperty(const Krv_String& name, Krv_String& value) const;

  bool hasProperty(const Krv_String& name) const { return indexOf(name) >= 0; }
  bool removeProperty(const Krv_String& name);
  int length() const { return static_cast<int>(mProps.size()); }
  Krv_String nameAt(int index) const;
  void clear() {
    mProps.clear();
    mIndex.clear();
    mTrailingBlankLines = 0;
  }

  // A line of a file that holds no property: its number (from 1) and text.
  struct SkippedLine {
    int line = 0;
    Krv_String text;
  };
  // Replaces the list by the file's properties. An error (list unchanged)
  // when the file is missing or unreadable, of another version, or has a
  // malformed line; its place is then "line N". With `skipped`, malformed
  // lines are left out and listed there instead, so that a tool can show
  // what the rest of a damaged file holds.
  krv::base::Status readFromFile(const Krv_String& path,
                                 std::vector<SkippedLine>* skipped = nullptr);
  // Writes atomically; an error when the file cannot be written.
  krv::base::Status writeToFile(const Krv_String& path) const;

  bool operator==(const Krv_PropertiesList& o) const;

 private:
  struct Property {
    Krv_String name;
    Type type = Type::Int;
    int intValue = 0;
    double doubleValue = 0.0;
    Krv_String text;
    Krv_String line;           // the line read from a file, while the value is unchanged
    int blankLinesBefore = 0;  // blank lines before it in that file
  };
  int indexOf(const Krv_String& name) const;
  Property& slot(const Krv_String& name);

  // Rebuilds mIndex from mProps.
  void reindex();

  std::vector<Property> mProps;
  // The position of each name in mProps, so that a look-up does not walk
  // the list (a design file holds seven properties per control).
  std::unordered_map<std::wstring, int> mIndex;
  int mTrailingBlankLines = 0;
};
