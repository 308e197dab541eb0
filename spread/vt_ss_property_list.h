#pragma once
// VtSSPropertyList: an ordered list of named, typed properties and its text
// form, the carrier of a sheet document's settings (VtSSSettings).
//
// A property has a name and a value of one type (code in brackets): none
// (0), double (1), int (2), long (3) or string (4). Writing a property whose
// name is in the list already replaces its value and type in place; a new
// name is appended; an empty name is not written. Names are found without
// regard to letter case (equal length, character by character).
//
// Text form: for each property in list order the record
//   name ¤ type code ¤ value ¤
// where ¤ is the byte 0xA4 and the value is written as "%.2f" (double),
// decimal (int, long), the text itself (string) or nothing (none). There
// are no line breaks. Names and string values are converted to the ANSI
// code page (VtW2A) on writing and back (VtA2W) on reading.
//
// Reading goes byte by byte: every separator ends a field wherever it
// stands, and every third one completes a record. The type code is read
// with _wtoi and the value with _wtof (1), _wtoi (2), _wtol (3) or as the
// text (4); any other code gives a property of type none. Text after the
// last complete record is ignored, so a damaged text yields the records
// that parse.
//
// A name or string value that holds the separator (U+00A4) cannot be
// written without shifting every following field when read back: such a
// list is refused by `checkWritable` and by `writeFile`, and `toText`
// writes it as it is (for callers that want the old form).
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/base/status.h"
#include "platform/core/krv_string.h"

class VtSSPropertyList {
 public:
  enum Type : int { kNone = 0, kDouble = 1, kInt = 2, kLong = 3, kString = 4 };
  struct Property {
    Krv_String name;
    int type = kNone;
    double doubleValue = 0;
    int intValue = 0;
    long longValue = 0;
    Krv_String stringValue;
  };
  static constexpr char kSeparator = '\xA4';

  VtSSPropertyList() = default;
  virtual ~VtSSPropertyList() = default;
  VtSSPropertyList(const VtSSPropertyList&) = default;
  VtSSPropertyList& operator=(const VtSSPropertyList&) = default;

  void setDouble(const Krv_String& name, double value);
  void setInt(const Krv_String& name, int value);
  void setLong(const Krv_String& name, long value);
  void setString(const Krv_String& name, const Krv_String& value);
  // Writes `property` as a whole (replacing one of the same name).
  void set(const Property& property);

  // The property named `name` (any case), or null.
  const Property* find(const Krv_String& name) const;
  // The value when the property exists with that type.
  bool getDouble(const Krv_String& name, double& value) const;
  bool getInt(const Krv_String& name, int& value) const;
  bool getLong(const Krv_String& name, long& value) const;
  bool getString(const Krv_String& name, Krv_String& value) const;

  const std::vector<Property>& properties() const { return mProperties; }
  int size() const { return static_cast<int>(mProperties.size()); }
  void clear() { mProperties.clear(), mIndex.clear(); }

  // The text form, as bytes of the ANSI code page.
  std::string toText() const;
  // Adds (or replaces) the properties of a text form.
  void addFromText(std::string_view bytes);
  // The same for a wide text (the tag of a sheet cell): each character is
  // taken as its code page byte first.
  void addFromWideText(const Krv_String& text);
  // The text form as a wide text (VtA2W of toText).
  Krv_String toWideText() const;

  // An error naming the first property whose name or string value holds
  // the separator.
  krv::base::Status checkWritable() const;
  // Writes the text form (created or replaced atomically); refuses a list
  // that checkWritable refuses, and reports a failed write.
  krv::base::Status writeFile(const std::filesystem::path& file) const;
  // Reads the text form of a file and adds its properties; an error when
  // the file cannot be read.
  krv::base::Status readFile(const std::filesystem::path& file);

 private:
  Property* findMutable(const Krv_String& name);
  std::vector<Property> mProperties;
  // Position of each property by its name in upper case, so that writing
  // and finding stay constant-time in long lists (many variables).
  std::unordered_map<std::wstring, size_t> mIndex;
};
