#pragma once
#include "platform/core/krv_string.h"

// The value type of a variable of a standards sheet; the enumerator names
// are the declaration words of the sheet ("Int", "Double", "String").
enum VtValueType : int { Int = 0, Double = 1, String = 2 };

// The kind of a variable cell: the sheet section in which it is declared.
enum VtCellType : int { Input = 0, Output = 1, Local = 2 };

// The declaration word of a value type; empty for a value outside 0..2.
namespace krv::standards {

Krv_String valueTypeWord(VtValueType type);

// Int and Double are numeric. Two value types are of the same numeric class
// when both are numeric or both are String.
inline bool isNumericType(VtValueType type) { return type == Int || type == Double; }
inline bool sameNumericClass(VtValueType a, VtValueType b) {
  return isNumericType(a) == isNumericType(b);
}

}  // namespace krv::standards
