// The value types and kinds of the variables of a standards sheet.
#include "standards/vt_value_type.h"

namespace krv::standards {

Krv_String valueTypeWord(VtValueType type) {
  switch (type) {
    case Int:
      return L"Int";
    case Double:
      return L"Double";
    case String:
      return L"String";
  }
  return Krv_String();
}

}  // namespace krv::standards
