#pragma once
#include "platform/acad/ac_array.h"
#include "platform/core/krv_string.h"

// Krv_Array<T>: the product's record array, the host's array with the same
// grow steps, indices and range checks.
template <typename T>
class Krv_Array : public AcArray<T> {
 public:
  using AcArray<T>::AcArray;
  Krv_Array() = default;
  Krv_Array(const AcArray<T>& other) : AcArray<T>(other) {}
};

// Krv_StringArray: a list of texts. The searching members take the
// case-sensitive flag of the text functions.
class Krv_StringArray : public Krv_Array<Krv_String> {
 public:
  using Krv_Array<Krv_String>::Krv_Array;
  using Krv_Array<Krv_String>::append;
  using Krv_Array<Krv_String>::find;
  using Krv_Array<Krv_String>::contains;
  Krv_StringArray() = default;
  Krv_StringArray(std::initializer_list<Krv_String> init) {
    for (const auto& s : init) append(s);
  }

  int append(const wchar_t* text) { return append(Krv_String(text)); }
  // Index of the first entry equal to text at or after start, -1 when none.
  int find(const Krv_String& text, bool caseSensitive, int start = 0) const;
  bool find(const Krv_String& text, int& index, bool caseSensitive) const {
    index = find(text, caseSensitive);
    return index >= 0;
  }
  bool contains(const Krv_String& text, bool caseSensitive) const {
    return find(text, caseSensitive) >= 0;
  }
};

// A table of text rows (section tables, data files).
using Krv_StringTable = Krv_Array<Krv_StringArray>;
