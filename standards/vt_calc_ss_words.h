#pragma once
// Whole-word replacement of names by values in equation texts, as the
// calculation engine replaces variable names by cell references and general
// variables by their values.
//
// A word character is an ASCII letter, digit or "_". An occurrence of a
// name counts only when the characters on both sides of it (where there
// are any) are no word characters. Names are searched in order, ignoring
// case; each whole-word occurrence is replaced by the name's value and the
// search goes on behind the inserted text.
//
// prepare() does the per-list work once, so that one list can be applied
// to many texts at a cost that grows with the length of each text only: a
// whole-word occurrence of a name made of word characters is exactly one
// maximal run of word characters, so such names are looked up per run in a
// hash table. Lists with other names, values that themselves contain a
// name, and texts with non-ASCII characters take the literal search.
#include <string>
#include <unordered_map>

#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"

namespace krv::standards {

// ASCII letters lowered; other characters unchanged.
std::wstring asciiLower(const std::wstring& text);
inline bool isWordChar(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
         c == L'_';
}

class WholeWordReplacer {
 public:
  // Pairs up to the shorter list; with `quote`, values that are not numbers
  // are put between double quotes. Empty names are ignored.
  void prepare(const Krv_StringArray& names, const Krv_StringArray& values, bool quote);
  // True when anything was replaced.
  bool apply(Krv_String& text) const;

 private:
  bool applyLiteral(Krv_String& text) const;

  Krv_StringArray mNames, mValues;
  bool mFast = true;
  std::unordered_map<std::wstring, int> mFirst;  // lowered name -> first pair
};

}  // namespace krv::standards
