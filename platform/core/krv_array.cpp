// Krv_StringArray::find; the rest of the arrays is in the header.
#include "platform/core/krv_array.h"

int Krv_StringArray::find(const Krv_String& text, bool caseSensitive, int start) const {
  for (int i = start < 0 ? 0 : start; i < length(); ++i)
    if (at(i).equal(text, caseSensitive)) return i;
  return -1;
}
