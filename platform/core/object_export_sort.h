#pragma once
#include <algorithm>

#include "platform/core/krv_array.h"
#include "platform/core/text_functions.h"

// Sorting of record arrays. Both sorts are stable: entries that compare
// equal keep their order.

// Ascending by operator< of the elements.
template <typename T>
void ObjectExportSort(Krv_Array<T>& list) {
  std::stable_sort(list.begin(), list.end());
}

// Ascending by a key of each element (sorting controls by their left edge:
// ObjectExportSort(controls, [](const Ctrl& c) { return c.mTopLeftX; })).
template <typename T, typename KeyOf>
void ObjectExportSort(Krv_Array<T>& list, KeyOf keyOf) {
  std::stable_sort(list.begin(), list.end(),
                   [&](const T& a, const T& b) { return keyOf(a) < keyOf(b); });
}

// Texts sort in natural order (compareNatural).
inline void ObjectExportSort(Krv_StringArray& list) { sortArray(list); }

// Inserts item into a list sorted ascending, after any equal entries, and
// returns its index.
template <typename T>
int ObjectExportAddToSorted(Krv_Array<T>& list, const T& item) {
  auto it = std::upper_bound(list.begin(), list.end(), item);
  const int index = static_cast<int>(it - list.begin());
  list.insertAt(index, item);
  return index;
}

// The same for texts in natural order.
inline int ObjectExportAddToSorted(Krv_StringArray& list, const Krv_String& item) {
  auto it = std::upper_bound(
      list.begin(), list.end(), item,
      [](const Krv_String& a, const Krv_String& b) { return compareNatural(a, b) < 0; });
  const int index = static_cast<int>(it - list.begin());
  list.insertAt(index, item);
  return index;
}
